#include <gtest/gtest.h>

#include "track/KeyStream.h"

namespace {

TEST(KeyStream, NegativeRunningWordsShiftInSignBits) {
    // X = 0x80000000: left shift by 13 drops every bit, the arithmetic right shift by 19
    // fills bits 12..31 with ones. A rotation would give 0x00001000 instead.
    TKeyStream x(0, 0, 0x80000000u, 0);
    EXPECT_EQ(x.next(), 0xFFFFF000u);
    EXPECT_EQ(x.x(), 0xFFFFF000u);

    // Y = 0x80000000: left shift by 7 drops it, the right shift by 25 gives 0xFFFFFFC0.
    TKeyStream y(0, 0, 0, 0x80000000u);
    EXPECT_EQ(y.next(), 0xFFFFFFC0u);
    EXPECT_EQ(y.y(), 0xFFFFFFC0u);
}

TEST(KeyStream, PositiveWordsRotateAndSumsWrap) {
    // Bit 19 of a positive X moves to bit 0; bit 0 moves to bit 13.
    TKeyStream s(0, 0, 0x00080001u, 0x01000001u);
    // X: (0x00080001 << 13) = 0x00002000 (bit 32 gone) | (0x00080001 >> 19) = 1 -> 0x2001.
    // Y: (0x01000001 << 7) = 0x80000080 | (0x01000001 >> 25) = 0 -> 0x80000080.
    EXPECT_EQ(s.next(), 0x2001u + 0x80000080u);

    // A = 0xFFFFFFFF makes X = 1 + A wrap to 0; B likewise for Y; the sum wraps too.
    TKeyStream w(0xFFFFFFFFu, 0xFFFFFFFFu, 1, 1);
    EXPECT_EQ(w.next(), 0u);
    EXPECT_EQ(w.x(), 0u);
    EXPECT_EQ(w.y(), 0u);
}

TEST(KeyStream, StateCarriesFromCallToCall) {
    // Stepping the recurrence by hand for three calls.
    uint32_t a = 0x9E3779B9u, b = 0x7F4A7C15u, x = 0xDEADBEEFu, y = 0x12345678u;
    TKeyStream s(a, b, x, y);
    for (int i = 0; i < 3; ++i) {
        x += a;
        int32_t sx = static_cast<int32_t>(x);
        x = (x << 13) | static_cast<uint32_t>(sx < 0 ? ~(~sx >> 19) : sx >> 19);
        y += b;
        int32_t sy = static_cast<int32_t>(y);
        y = (y << 7) | static_cast<uint32_t>(sy < 0 ? ~(~sy >> 25) : sy >> 25);
        EXPECT_EQ(s.next(), x + y) << "call " << i;
    }
}

}  // namespace
