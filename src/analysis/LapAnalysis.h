#pragma once
// What lap analysis compares laps by: the reference lap and the time delta of one lap
// against another at a distance along the track. Qt-free; the graph's delta strip, the
// sectors window and korvale-cli share it.
#include <cstdint>
#include <optional>
#include <string>
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

// The delta rate: the time the lap loses (positive) or gains (negative) to the reference per
// 100 feet, the change of TimeDelta over the 100 feet centred on feet. Near the ends of what
// both laps cover the stretch moves (or shrinks) to stay inside it. None where they do not
// both cover feet or share no stretch of track.
inline constexpr double kDeltaRateFeet = 100;
struct TDeltaRateStretch {
    double from = 0, to = 0;  // feet, from < to
};
std::optional<TDeltaRateStretch> DeltaRateStretch(const TReplay& lap, const TReplay& reference,
                                                  double feet);
std::optional<double> DeltaRate(const TReplay& lap, const TReplay& reference, double feet);

// The names that tell the laps apart wherever they are listed: the driver's name, followed by
// the lap time ("Vera Stroud 75.997") when another lap of the list has the same name (without
// regard to case). The stored name stays as it is.
std::vector<std::string> LapDisplayNames(const std::vector<const TReplay*>& laps);

// A difference in seconds as the tables print it: "+0.204", "-0.034"; one that rounds to
// nothing is "+0.000", never "-0.000".
std::string DifferenceText(double seconds);
// Which way a difference goes at the printed precision: 1 a loss, -1 a gain, 0 neither.
int DifferenceSign(double seconds);
