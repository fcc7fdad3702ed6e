#include "cli/CliTracks.h"

#include <cstdio>

#include "replay/ReplayTrack.h"
#include "track/TrackDataFile.h"

namespace cli {

bool LoadTracks(const Options& options, const char* command, TTrackList& tracks,
                std::string& tracksPath) {
    tracksPath = TracksPath(options);
    TTrackDataFile data;
    if (TrackReadStatus status = ReadTrackDataFile(tracksPath, data);
        status != TrackReadStatus::Ok) {
        std::fprintf(stderr, "korvale-cli %s: %s: %s\n", command, tracksPath.c_str(),
                     TrackReadMessage(status));
        return false;
    }
    tracks.Assign(std::move(data.records));
    return true;
}

int ResolveReplayTrack(const Options& options, const TTrackList& tracks,
                       const std::string& tracksPath, const std::string& replayPath,
                       const char* command) {
    if (auto name = options.Value("--track")) {
        const int track = tracks.FindByName(*name);
        if (track < 0)
            std::fprintf(stderr, "korvale-cli %s: no track named \"%s\" in %s\n", command,
                         name->c_str(), tracksPath.c_str());
        return track;
    }
    const int track = TrackForReplayPath(tracks, replayPath);
    if (track < 0) {
        std::fprintf(
            stderr, "korvale-cli %s: %s track matches the path of %s; name it with --track NAME\n",
            command, track == kAmbiguousTrackMatch ? "more than one" : "no", replayPath.c_str());
        return -1;
    }
    return track;
}

bool LoadDocument(const std::string& path, const TTrackList& tracks, const char* command,
                  KvlReadResult& result) {
    result = ReadKvlDocument(path, tracks);
    if (!result.ok) {
        std::fprintf(stderr, "korvale-cli %s: %s: %s: %s\n", command, path.c_str(),
                     kKvlOpenErrorTitle, result.message.c_str());
        return false;
    }
    return true;
}

}  // namespace cli
