#pragma once
// The track list: every track of the track data file, sorted by name without regard to
// case. A track's index in this list is the track's index everywhere in memory; files
// and settings refer to tracks by their one-byte id instead.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "track/TTrackData.h"

class ProfileFile;

class TTrackList {
  public:
    int Count() const { return static_cast<int>(tracks_.size()); }
    TTrackData& At(int index) { return *tracks_.at(static_cast<size_t>(index)); }
    const TTrackData& At(int index) const { return *tracks_.at(static_cast<size_t>(index)); }

    // First index whose trackId equals id, or -1.
    int FindById(uint8_t id) const;
    // First index whose name equals name without regard to case, or -1.
    int FindByName(const std::string& name) const;

    // Inserts after every track whose name compares equal (case-insensitive), so that
    // equal names keep their insertion order. Returns the new track's index.
    int Insert(std::unique_ptr<TTrackData> track);
    // Replaces the list with tracks (in file order), sorted as Insert one at a time would
    // sort them, in O(n log n): a stable sort by name.
    void Assign(std::vector<std::unique_ptr<TTrackData>> tracks);
    void Clear() { tracks_.clear(); }

    const std::vector<std::unique_ptr<TTrackData>>& tracks() const { return tracks_; }

  private:
    std::vector<std::unique_ptr<TTrackData>> tracks_;
};

// Case-insensitive (ASCII) ordering of track names: <0, 0 or >0.
int CompareTrackNames(const std::string& a, const std::string& b);

inline constexpr const char* kTrackDataFatalTitle = "Fatal Error";
inline constexpr const char* kTrackDataUpdateTitle = "Track Data Update";

struct TrackLoadResult {
    bool ok = false;
    // On failure: "Unable to open track data" or "Unable to read track data", to be shown
    // with kTrackDataFatalTitle, after which the program ends.
    std::string message;
    // On success, when the file's data version differs from the one recorded in the
    // settings: "Installed track data version %d.%02d", to be shown with
    // kTrackDataUpdateTitle. Empty when there is nothing to announce.
    std::string versionMessage;
    int32_t version = 0;  // the file's data version
};

// Loads the track data file at path into list (cleared first; left empty on failure).
// Reads "admin"/"trackver" from settings and, when the file's version differs, writes the
// new version there and fills versionMessage for the caller to show.
TrackLoadResult LoadTrackData(const std::string& path, ProfileFile& settings, TTrackList& list);
