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
    // A = 0x40000000, B = 0 and Y = 0 keep Y at zero, so each output is the running X,
    // worked by hand for three calls.
    TKeyStream s(0x40000000u, 0, 0x40000000u, 0);
    // 1: X + A = 0x80000000, negative: << 13 leaves 0, >> 19 fills in 0xFFFFF000.
    EXPECT_EQ(s.next(), 0xFFFFF000u);
    // 2: X + A wraps to 0x3FFFF000 (bits 12..29): << 13 keeps bits 25..31 = 0xFE000000,
    // >> 19 brings bits 19..29 down to 0..10 = 0x7FF.
    EXPECT_EQ(s.next(), 0xFE0007FFu);
    // 3: X + A wraps to 0x3E0007FF (bits 25..29 and 0..10): << 13 keeps bits 13..23 =
    // 0x00FFE000, >> 19 brings bits 25..29 down to 6..10 = 0x7C0.
    EXPECT_EQ(s.next(), 0x00FFE7C0u);
    EXPECT_EQ(s.y(), 0u);

    // A = B = 1 from zero: both words carry. 1: X = 1 << 13, Y = 1 << 7. 2: X = 0x2001 << 13
    // = 0x04002000, Y = 0x81 << 7 = 0x4080. 3: X + 1 = 0x04002001 puts bit 26 on bit 39
    // (gone) and bit 7 (>> 19): 0x04002080; Y = 0x4081 << 7 = 0x00204080.
    TKeyStream t(1, 1, 0, 0);
    EXPECT_EQ(t.next(), 0x2080u);
    EXPECT_EQ(t.next(), 0x04006080u);
    EXPECT_EQ(t.next(), 0x04206100u);
}

}  // namespace
