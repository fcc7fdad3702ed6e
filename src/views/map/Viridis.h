#pragma once
// The perceptually uniform colour map the map's coloured line and its legend use: dark
// blue-violet for the lowest values through green to yellow for the highest.
#include <QRgb>

#include <array>

const std::array<std::array<double, 3>, 256>& ViridisTable();

// The table's entry nearest to t (0 the first entry, 1 the last; t is clamped, NaN counts
// as 0), each component rounded to 8 bits.
QRgb ViridisColour(double t);
