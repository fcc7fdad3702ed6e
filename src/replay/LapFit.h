#pragma once
// Whether a lap read from a replay can have been driven on the track it was read with. A
// replay does not name its track. Read with a longer track's length, a shorter track's
// replay never reaches the line: its cars wrap round at their own track's end, which here
// reads as a leap backwards of thousands of feet within a frame. Read with a shorter
// track's length, a longer track's replay has positions past the end of the track.

#include <cstdint>
#include <string>

#include "document/TReplay.h"

enum class TLapFit {
    Fits,
    BeyondTrackLength,          // a position past the track's length
    BackwardsFasterThanAnyCar,  // a mean speed backwards over a second that no car reaches
};

// Mean speed over a second, in miles per hour, beyond any racing car's top speed.
inline constexpr double kFastestMeanMph = 500.0;

// Judges lap.positions[0..sampleCount-1] against a track of trackLength units of trackScale
// inches. The mean speed is taken over every second of the lap (the whole lap when it is
// shorter), with a change of more than half the track length read as a crossing of the
// line, as the lap cutting reads it: a car rolling back over the line fits, and so does a
// frame gap filled across such a crossing. Only running backwards is judged: forwards, a
// wrong track's replay shows no speed that gives it away, and made-up recordings in tests
// run far faster than any car.
TLapFit CheckLapFitsTrack(const TReplay& lap, int32_t trackLength, double trackScale);

// The Import Error text for a lap that does not fit the track named trackName.
std::string LapFitMessage(TLapFit fit, const std::string& trackName);
