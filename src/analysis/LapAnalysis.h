#pragma once
// What lap analysis compares laps by: the reference lap and the time delta of one lap
// against another at a distance along the track. Qt-free; the graph's delta strip, the
// sectors window and korvale-cli share it.
#include <cstdint>
#include <optional>
#include <vector>

#include "document/TReplay.h"

// Lap time in seconds: (endFrame - startFrame) / 15.
double LapTime(const TReplay& lap);

// A full lap runs from the line (startPosition at or before 0) to the line again (endPosition
// at or past its lapLength), with samples and a positive lap time.
bool IsFullLap(const TReplay& lap);

// Whether the lap covers the distance (feet): its start to its end position, bounds included,
// as the data window's position mode tests it.
bool CoversPosition(const TReplay& lap, double feet);

// The fastest full lap (ties to the earlier one); without a full lap, the fastest lap that
// has samples and a positive lap time; -1 for none.
int32_t FastestLap(const std::vector<const TReplay*>& laps);

// The reference lap: the lap whose serial the user picked, or the fastest lap when that
// serial is -1 or no longer in the list. -1 when there is no lap to compare with.
int32_t ReferenceLap(const std::vector<const TReplay*>& laps, int32_t pickedSerial);

// TimeAtPosition(lap, feet) - TimeAtPosition(reference, feet), where both laps cover feet.
std::optional<double> TimeDelta(const TReplay& lap, const TReplay& reference, double feet);
