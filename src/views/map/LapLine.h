#pragma once
// The line a lap drove, in track coordinates: one world point per replay frame, placed
// across the track by the track's geometry. The points depend only on the lap's samples
// and the track, so they are worked out once per lap and track and kept; every view
// transforms the same points with its own scale.
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "document/TReplay.h"
#include "track/Geometry.h"
#include "track/TTrackData.h"

// The start point (on the line at the lap's start position), then the points at lap times
// 0, 1/15, 2/15, ... below the lap's duration, then the point at its duration.
std::vector<TrackPoint> LapLinePoints(const TTrackData& track, const TReplay& lap);

class TLapLineCache {
  public:
    // The points of this lap on this track, computed on first use.
    const std::vector<TrackPoint>& Points(const TTrackData& track, const TReplay& lap);
    // Forget every lap that is not among these (removed, or the document was cleared).
    void Prune(const std::vector<const TReplay*>& laps);
    void Clear() { entries_.clear(); }
    size_t Size() const { return entries_.size(); }

  private:
    // What the points were computed from; a lap or track that differs in any of these
    // (a new lap at a freed address, another track) is computed again.
    struct TKey {
        const TTrackData* track = nullptr;
        int32_t serial = 0;
        int32_t sampleCount = 0;
        double startFrame = 0, endFrame = 0, startPosition = 0, inchesPerUnit = 0;
        const int32_t* positions = nullptr;
        bool operator==(const TKey&) const = default;
    };
    struct TEntry {
        TKey key;
        std::vector<TrackPoint> points;
    };
    static TKey KeyOf(const TTrackData& track, const TReplay& lap);
    std::unordered_map<const TReplay*, TEntry> entries_;
};
