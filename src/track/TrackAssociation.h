#pragma once
// Remembered replay-to-track choices: a fragment of a replay's lower-case path (normally a
// directory name) tied to a track id. Kept in the settings file, section "assoc".
#include <cstdint>
#include <string>
#include <vector>

#include "track/TTrackData.h"

class ProfileFile;
class TTrackList;

class TAssocTrack {
  public:
    std::string fragment;
    int32_t trackId = 0;
};

using TAssocList = std::vector<TAssocTrack>;

// True if the track's pathPattern occurs in lowerCasePath, or its non-empty altPathPattern
// does (plain, case-sensitive substring search; an empty pathPattern occurs in every path).
bool TrackMatchesPath(const TTrackData& track, const std::string& lowerCasePath);

// Reads "nassoc" and the "assocn%d"/"associ%d" pairs, skipping missing pairs and track
// names the track list no longer has (several tracks of the name: the last gives the id).
// Replaces list.
void LoadAssociations(const ProfileFile& settings, const TTrackList& tracks, TAssocList& list);

// Writes "nassoc" and pairs 1..n. A pair whose track id no track has gets no "associ%d"
// (several tracks with the id: the last in list order names it). Higher pairs of earlier,
// longer lists are left in the file.
void SaveAssociations(ProfileFile& settings, const TTrackList& tracks, const TAssocList& list);

// The decision before the dialog: a track index, kNoTrackYet or kAmbiguousTrack, from the
// associations (in list order) and then the tracks' own patterns.
inline constexpr int kNoTrackYet = -1;
inline constexpr int kAmbiguousTrack = -2;
int MatchTrackForPath(const TTrackList& tracks, const TAssocList& list,
                      const std::string& lowerCasePath);

// The scope text of the Choose Track dialog for a replay path: "" when ambiguous,
// "for this directory" for a last directory component longer than 39 characters, else
// "for %s". directoryComponent receives that last component.
std::string TrackChoiceScope(const std::string& path, bool ambiguous,
                             std::string* directoryComponent = nullptr);
