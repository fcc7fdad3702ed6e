#pragma once
// The corner table: per corner sector of the track and per lap, the speed at the sector's
// entry, the lowest speed inside it and where it falls, the speed at its exit, and the time
// through it with its difference to the reference lap. Qt-free; the Sectors window's second
// page and korvale-cli corners share it.
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "analysis/Sectors.h"

struct TCornerCell {
    bool covered = false;  // the lap covers the whole sector; nothing else is set without
    double entry = 0;      // mph at the sector's start
    double minimum = 0;    // mph, the lowest at the entry, the exit or a sample between
    double minimumAt = 0;  // feet along the track where it falls
    double exit = 0;       // mph at the sector's end
    double time = 0;       // seconds through the sector
    std::optional<double> difference;  // time minus the reference lap's; none for the reference
};

// Which column of a corner is best: the highest entry, minimum and exit speeds, the least time.
enum class TCornerColumn { Entry, Minimum, Exit, Time };
inline constexpr int kCornerColumnCount = 4;

struct TCornerTable {
    std::vector<TSector> corners;                // the track's sectors
    std::vector<std::vector<TCornerCell>> laps;  // per lap (document order), per corner
    // Per corner and column: the lap with the best value (ties to the earlier lap), or -1.
    std::vector<std::array<int32_t, kCornerColumnCount>> best;
    int32_t reference = -1;
};

// One lap through one sector; reference is that lap's sector time for the difference.
TCornerCell CornerCell(const TReplay& lap, const TSector& sector,
                       std::optional<double> referenceTime);

// reference: the index of the lap the differences are taken to, -1 for none.
TCornerTable ComputeCornerTable(const std::vector<const TReplay*>& laps, const TTrackData& track,
                                int32_t reference);
