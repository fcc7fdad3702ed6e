#pragma once
// The six colours handed to new laps, and the choice of the least used one.

#include <array>

#include "document/Rgb.h"

class TLapList;

inline constexpr std::array<Rgb, 6> LapPalette{{
    {255, 0, 0},    // light red
    {0, 0, 255},    // light blue
    {0, 192, 0},    // green
    {255, 0, 255},  // light magenta
    {192, 192, 0},  // olive
    {0, 192, 192},  // teal
}};

// The colour for a lap about to be added to laps: the first palette colour (in palette
// order) that the fewest laps use; colour 0 when every colour is used 100 times or more.
Rgb ChooseLapColour(const TLapList& laps);
