// What the tables and the delta strip compare laps by: names that tell laps of one driver
// apart, differences as they are printed, and the delta rate, on laps worked by hand.
#include <gtest/gtest.h>

#include <memory>

#include "analysis/LapAnalysis.h"

namespace {

// A lap of the 10000-foot loop (a unit is a foot) at step feet a frame from 0 to last feet.
std::unique_ptr<TReplay> Lap(const char* name, int32_t step, int32_t last = 10000) {
    auto lap = std::make_unique<TReplay>(name, 1);
    const int32_t samples = last / step + 1;
    lap->ResizeSamples(samples);
    for (int32_t k = 0; k < samples; ++k) lap->positions[size_t(k)] = k * step;
    lap->startFrame = 0;
    lap->endFrame = samples - 1;
    lap->startPosition = 0;
    lap->endPosition = (samples - 1) * step;
    lap->inchesPerUnit = 12;
    lap->lapLength = 10000;
    return lap;
}

TEST(LapDisplayNames, OnlyNamesSharedWithoutRegardToCaseGainTheLapTime) {
    const auto a = Lap("Vera Stroud", 100);  // 100 frames: 6.667 s
    const auto b = Lap("Ann", 80);
    const auto c = Lap("VERA STROUD", 125);  // 80 frames: 5.333 s
    EXPECT_EQ(LapDisplayNames({a.get(), b.get(), c.get()}),
              (std::vector<std::string>{"Vera Stroud 6.667", "Ann", "VERA STROUD 5.333"}));
    EXPECT_EQ(LapDisplayNames({a.get(), b.get()}),
              (std::vector<std::string>{"Vera Stroud", "Ann"}));
    EXPECT_STREQ(a->driverName, "Vera Stroud");  // the stored name stays
}

TEST(DifferenceText, SignedThreeDecimalsAndNoNegativeZero) {
    EXPECT_EQ(DifferenceText(0.2044), "+0.204");
    EXPECT_EQ(DifferenceText(-0.0336), "-0.034");
    EXPECT_EQ(DifferenceText(-0.0004), "+0.000");
    EXPECT_EQ(DifferenceSign(-0.0004), 0);
    EXPECT_EQ(DifferenceSign(0.0006), 1);
    EXPECT_EQ(DifferenceSign(-0.0006), -1);
}

// 80 ft a frame against 100 ft a frame: 100 feet take 1/12 s against 1/15 s, a loss of
// 1/60 s per 100 feet wherever both cover the stretch, at the ends as in the middle.
TEST(DeltaRate, TheLossPerHundredFeetAndTheStretchStaysWhereBothLapsAre) {
    const auto ref = Lap("Ref", 100, 6100);
    const auto slow = Lap("Slow", 80);
    for (double feet : {0.0, 10.0, 3000.0, 6090.0, 6100.0}) {
        const auto rate = DeltaRate(*slow, *ref, feet);
        ASSERT_TRUE(rate.has_value()) << feet;
        EXPECT_NEAR(*rate, 1.0 / 60, 1e-9) << feet;
        EXPECT_NEAR(*DeltaRate(*ref, *slow, feet), -1.0 / 60, 1e-9) << feet;
    }
    const auto start = DeltaRateStretch(*slow, *ref, 10);
    EXPECT_DOUBLE_EQ(start->from, 0);
    EXPECT_DOUBLE_EQ(start->to, 100);
    const auto end = DeltaRateStretch(*slow, *ref, 6090);
    EXPECT_DOUBLE_EQ(end->from, 6000);
    EXPECT_DOUBLE_EQ(end->to, 6100);
    EXPECT_FALSE(DeltaRate(*slow, *ref, 6200).has_value());  // the reference ends at 6100
    EXPECT_EQ(*DeltaRate(*slow, *slow, 5000), 0.0);
}

}  // namespace
