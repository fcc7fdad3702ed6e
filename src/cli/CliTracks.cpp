#include "cli/CliTracks.h"

#include <cstdio>

#include "cli/SystemReason.h"
#include "replay/ReplayFile.h"
#include "replay/ReplayTrack.h"
#include "track/TrackDataFile.h"

namespace cli {

bool LoadTracks(const Options& options, const char* command, TTrackList& tracks,
                std::string& tracksPath) {
    tracksPath = TracksPath(options);
    TTrackDataFile data;
    if (TrackReadStatus status = ReadTrackDataFile(tracksPath, data);
        status != TrackReadStatus::Ok) {
        const std::string reason =
            status == TrackReadStatus::CannotOpen ? ReadFailureReason(tracksPath) : "";
        std::fprintf(stderr, "korvale-cli %s: %s: %s\n", command, tracksPath.c_str(),
                     WithReason(TrackReadMessage(status), reason).c_str());
        return false;
    }
    tracks.Assign(std::move(data.records));
    return true;
}

int ResolveReplayTrack(const Options& options, const TTrackList& tracks,
                       const std::string& tracksPath, const std::string& replayPath,
                       const char* command, const std::string& shown) {
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
            command, track == kAmbiguousTrackMatch ? "more than one" : "no", shown.c_str());
        return -1;
    }
    return track;
}

bool ReplayReadable(const std::string& replayPath, const char* command, const std::string& shown) {
    const std::string reason = ReadFailureReason(replayPath);
    if (reason.empty()) return true;
    std::fprintf(stderr, "korvale-cli %s: %s: %s\n", command, shown.c_str(),
                 WithReason(kMsgErrorOpeningReplay, reason).c_str());
    return false;
}

std::string ReplayMessage(TReplayReadStatus status, const std::string& replayPath) {
    const char* message = ReplayReadMessage(status);
    if (status != TReplayReadStatus::ErrorOpeningReplay) return message;
    return WithReason(message, ReadFailureReason(replayPath));
}

bool LoadDocument(const std::string& path, const TTrackList& tracks, const char* command,
                  KvlReadResult& result) {
    result = ReadKvlDocument(path, tracks);
    if (!result.ok) {
        const std::string reason =
            result.stage == KvlReadStage::NotOpened ? ReadFailureReason(path) : "";
        std::fprintf(stderr, "korvale-cli %s: %s: %s: %s\n", command, path.c_str(),
                     kKvlOpenErrorTitle, WithReason(result.message(), reason).c_str());
        return false;
    }
    return true;
}

}  // namespace cli
