#pragma once
// Round tick values for an axis (View > Grid): 1, 2 or 5 times a power of ten in the axis
// unit, spaced so that neighbouring labels stay apart, and labels with only the decimals
// that step needs.
#include <string>

struct TRoundTicks {
    long long firstIndex = 0;  // the first tick is firstIndex * step
    int count = 0;             // ticks inside [lo, hi]; 0 for an empty or broken range
    int mantissa = 1;          // step = mantissa * 10^exponent, mantissa 1, 2 or 5
    int exponent = 0;
    int decimals = 0;  // what a label needs to tell the ticks apart

    double Step() const;
    double At(int i) const;  // the i-th tick's value
};

// Ticks on an axis from lo to hi drawn over `pixels` pixels, no closer than minPixels.
TRoundTicks RoundTicks(double lo, double hi, int pixels, int minPixels);

// The tick's label: no needless decimals, and never "-0".
std::string TickLabel(double value, int decimals);
