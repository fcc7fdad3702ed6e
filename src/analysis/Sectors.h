#pragma once
// Corner sectors and the ideal lap. The track is split at the midpoints between consecutive
// corners (by position), so that each sector holds one corner and takes its name; a track
// without corners gets three equal sectors "S1", "S2", "S3". Qt-free.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "document/TReplay.h"
#include "track/TTrackData.h"

struct TSector {
    std::string name;
    double from = 0, to = 0;  // feet along the track
};

// The track's sectors, in position order: the first starts at 0, the last ends at the
// track's length in feet. Corners with a position that is not a number are left out.
std::vector<TSector> TrackSectors(const TTrackData& track);

// TimeAtPosition at the sector's end minus at its start, for a lap that covers the whole
// sector; none otherwise.
std::optional<double> SectorTime(const TReplay& lap, const TSector& sector);

struct TSectorRow {
    std::vector<std::optional<double>> times;  // per sector
    double lapTime = 0;
    bool fullLap = false;
    // Per sector, and for the lap time: this lap's time minus the reference lap's, where both
    // have one; none for the reference lap itself and without a reference.
    std::vector<std::optional<double>> differences;
    std::optional<double> lapDifference;
};

struct TSectorTable {
    std::vector<TSector> sectors;
    std::vector<TSectorRow> rows;                  // per lap, in document order
    std::vector<int32_t> bestLap;                  // per sector: the lap with the best time, -1
    std::vector<std::optional<double>> bestTimes;  // per sector
    int32_t fastestLap = -1;                       // the fastest full lap (FastestLap)
    // The sum of the sectors' best times; none unless every sector has one.
    std::optional<double> ideal;
    int32_t reference = -1;  // the lap the differences are taken to, -1 for none
};

// Ties go to the earlier lap. reference: the index of the lap the differences are taken to
// (ReferenceLap), -1 for none.
TSectorTable ComputeSectorTable(const std::vector<const TReplay*>& laps, const TTrackData& track,
                                int32_t reference = -1);
