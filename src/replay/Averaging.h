#pragma once
// One synthetic lap from several full laps of one driver: at every distance along the track
// its speed, lateral offset and slip angle are the means of the laps' values there.

#include <cstdint>
#include <memory>
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

struct TOpenReplay;

// The Import Average Lap read: laps lapIndexes of driver driverIndex (partial laps refused
// when there are two or more), then one lap averaged from them under a new lap made from
// the driver's entry; a single lap is taken unchanged. Ok, PartialLapsInAverage,
// ErrorFindingLapData or ErrorReadingLapData; out then holds nothing.
enum class TReplayReadStatus;
TReplayReadStatus ReadAverageLap(TOpenReplay& replay, int32_t driverIndex,
                                 const std::vector<int32_t>& lapIndexes,
                                 std::unique_ptr<TReplay>& out);
