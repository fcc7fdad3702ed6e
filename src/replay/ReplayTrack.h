#pragma once
// Finding a replay's track from the tracks' own path patterns, for the command-line tool,
// which has no remembered associations and cannot ask. The path itself is never changed:
// the patterns are matched against a lower-cased copy.

#include <string>

#include "platform/TextCase.h"

#include "track/TrackList.h"

inline constexpr int kNoTrackMatch = -1;
inline constexpr int kAmbiguousTrackMatch = -2;

// True when the track's pathPattern, or its non-empty altPathPattern, occurs in
// lowerCasePath (an empty pathPattern occurs in every path).
bool ReplayPathMatchesTrack(const TTrackData& track, const std::string& lowerCasePath);

// The index of the one track whose patterns match path, kNoTrackMatch when none does,
// kAmbiguousTrackMatch when several do.
int TrackForReplayPath(const TTrackList& tracks, const std::string& path);
