#pragma once
// What the map draws over and under the plain track: the speed comparison of the
// document's first two laps and the colour of the cursor line across the track.
#include <cstdint>
#include <vector>

#include "document/Rgb.h"
#include "document/TReplay.h"
#include "track/TTrackData.h"

// Per segment of the track: 0 not compared, 1 the first lap was faster, 2 the second lap
// was faster or as fast.
inline constexpr uint8_t kNoWinner = 0, kFirstLapWins = 1, kSecondLapWins = 2;

// A colour lightened (or darkened) toward a component sum of about 660; white stays white.
Rgb PaleColour(Rgb c);

// The first segment compared: the one in which the later of the two laps starts (segment
// 0 for laps that start at the start/finish line), so that no segment lying wholly before
// a lap's start is judged on times extrapolated back from it.
int32_t FirstComparedSegment(const TTrackData& track, const TReplay& a, const TReplay& b);

// The winner of every segment of the track (pointCount entries) for laps a and b, or an
// empty list when the track has no prepared geometry.
std::vector<uint8_t> SegmentWinners(const TTrackData& track, const TReplay& a, const TReplay& b);

// The cursor line's pen: green without the comparison; with it, the pale colour of the
// segment's winner (white for none) with its green component XOR 192, so that the
// inverting drawing shows (255, 63, 255) over the segment's own colour.
// firstLap and secondLap are the colours of the document's first two laps.
Rgb MapCursorColour(const TTrackData& track, int32_t position, bool comparisonShown,
                    const std::vector<uint8_t>& winners, Rgb firstLap, Rgb secondLap);

inline constexpr Rgb kCursorGreen{0, 192, 0};
