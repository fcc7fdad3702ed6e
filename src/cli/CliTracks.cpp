#include "cli/CliTracks.h"

#include <cctype>
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

namespace {
bool StartsWithIgnoringCase(const std::string& text, const std::string& prefix) {
    if (prefix.size() > text.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        const auto a = static_cast<unsigned char>(text[i]);
        const auto b = static_cast<unsigned char>(prefix[i]);
        if (std::tolower(a) != std::tolower(b)) return false;
    }
    return true;
}
bool EqualIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && StartsWithIgnoringCase(a, b);
}
}  // namespace

int FindTrackNamed(const TTrackList& tracks, const std::string& name) {
    if (name.empty()) return -1;
    if (int i = tracks.FindByName(name); i >= 0) return i;
    int found = -1, prefixes = 0;
    for (int i = 0; i < tracks.Count(); ++i) {
        if (!StartsWithIgnoringCase(tracks.At(i).name, name)) continue;
        ++prefixes;
        found = i;
    }
    if (prefixes == 1) return found;  // a prefix of several names names none of them
    found = -1;
    for (int i = 0; i < tracks.Count(); ++i) {
        const TTrackData& t = tracks.At(i);
        if (EqualIgnoringCase(t.pathPattern, name) || EqualIgnoringCase(t.altPathPattern, name)) {
            if (found >= 0) return -1;
            found = i;
        }
    }
    return found;
}

int ResolveReplayTrack(const Options& options, const TTrackList& tracks,
                       const std::string& tracksPath, const std::string& replayPath,
                       const char* command, const std::string& shown) {
    if (auto name = options.Value("--track")) {
        const int track = FindTrackNamed(tracks, *name);
        if (track < 0)
            std::fprintf(stderr, "korvale-cli %s: no one track named \"%s\" in %s\n", command,
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
