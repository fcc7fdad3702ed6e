#pragma once
// One synthetic lap from several full laps of one driver: at every distance along the track
// its speed, lateral offset and slip angle are the means of the laps' values there.

#include <cstdint>
#include <vector>

#include "document/TReplay.h"

enum class AverageResult {
    Complete,   // the averaged lap reached the line
    Truncated,  // the mean speed was too low to reach the line within the buffers; the lap
                // ends at the last sample computed
    Failed,     // fewer than 2 laps, a lap without samples, or a non-positive track scale
};

// Fills result's samples and boundaries from laps (two or more, all with samples) on a
// track of trackLength track units and trackScale inches per unit. The buffers hold the
// largest sampleCount + 2 entries, as the laps themselves would; the step loop never runs
// past them. result keeps its driverName, carNumber, colour and serial.
AverageResult AverageLaps(const std::vector<const TReplay*>& laps, int32_t trackLength,
                          double trackScale, TReplay& result);
