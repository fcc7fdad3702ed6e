#include "replay/ReplayTrack.h"

bool ReplayPathMatchesTrack(const TTrackData& track, const std::string& lowerCasePath) {
    if (lowerCasePath.find(track.pathPattern) != std::string::npos) return true;
    return !track.altPathPattern.empty() &&
           lowerCasePath.find(track.altPathPattern) != std::string::npos;
}

int TrackForReplayPath(const TTrackList& tracks, const std::string& path) {
    const std::string lower = LowerCaseCopy(path);
    int result = kNoTrackMatch;
    for (int i = 0; i < tracks.Count(); ++i) {
        if (!ReplayPathMatchesTrack(tracks.At(i), lower)) continue;
        if (result != kNoTrackMatch) return kAmbiguousTrackMatch;
        result = i;
    }
    return result;
}
