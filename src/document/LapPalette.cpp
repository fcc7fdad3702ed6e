#include "document/LapPalette.h"

#include "document/LapList.h"

Rgb ChooseLapColour(const TLapList& laps) {
    std::array<int32_t, LapPalette.size()> used{};
    for (int32_t i = 0; i < laps.Count(); ++i) {
        for (size_t c = 0; c < LapPalette.size(); ++c) {
            if (laps.At(i).colour == LapPalette[c]) ++used[c];
        }
    }
    // Looking for an exact count n, rising, is what gives ties to the earlier colour and
    // what makes 100 uses of everything fall back to the first colour.
    for (int32_t n = 0; n < 100; ++n) {
        for (size_t c = 0; c < LapPalette.size(); ++c) {
            if (used[c] == n) return LapPalette[c];
        }
    }
    return LapPalette[0];
}
