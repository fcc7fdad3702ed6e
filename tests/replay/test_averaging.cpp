#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "channels/Channels.h"
#include "replay/Averaging.h"
#include "support/LapBuilder.h"

namespace {

constexpr int32_t kTrackLength = 36000;  // track units of one inch: 3000 feet
constexpr double kScale = 1.0;

// A full lap at a constant step of `step` units per frame, its offset `line` units from the
// reference edge and its heading `heading`, crossing the line at frame 0 and again after
// kTrackLength units.
std::unique_ptr<TReplay> SteadyLap(int32_t step, int32_t line, int16_t heading,
                                   int32_t extra = 10) {
    const int32_t frames = kTrackLength / step;
    return TLapBuilder("Steady", 12)
        .Steady(frames + extra, 0, step, line, heading)
        .Scale(kScale)
        .Length(kTrackLength)
        .Frames(0, static_cast<double>(kTrackLength) / step)
        .Span(0, kTrackLength)
        .Build();
}

}  // namespace

TEST(Averaging, TwoIdenticalLapsGiveThatLapBack) {
    auto a = SteadyLap(360, 240, 1000);
    auto b = SteadyLap(360, 240, 1000);
    TReplay result("Averaged", 12);
    ASSERT_EQ(AverageLaps({a.get(), b.get()}, kTrackLength, kScale, result),
              AverageResult::Complete);

    // Positions advance at the lap's speed (truncation loses at most a unit per step) and the
    // lap ends with the last sample before the one that passed the line.
    ASSERT_GT(result.sampleCount, 95);
    ASSERT_LE(result.sampleCount, 101);
    EXPECT_EQ(result.positions[0], 0);
    for (int32_t k = 0; k < result.sampleCount; ++k) {
        const auto i = static_cast<size_t>(k);
        EXPECT_NEAR(result.positions[i], 360.0 * k, k / 2.0 + 1) << k;
        EXPECT_NEAR(result.lines[i], 240, 1) << k;
        EXPECT_EQ(result.auxBytes[i], 0);
    }
    EXPECT_LE(result.positions.back(), kTrackLength);
    EXPECT_EQ(result.startFrame, 0.0);
    EXPECT_EQ(result.lapLength, kTrackLength);
    EXPECT_DOUBLE_EQ(result.inchesPerUnit, kScale);

    // The slip angle at each sample is the lap's slip angle at that distance, to within the
    // resolution of a stored heading.
    const double headingStep = 360.0 / 65536.0;
    for (int32_t k = 1; k + 1 < result.sampleCount; ++k) {
        const double feet = result.positions[static_cast<size_t>(k)] / 12.0;
        const double expected = SlipAngleAt(*a, TimeAtPosition(*a, feet));
        EXPECT_NEAR(SlipAngleAt(result, k / 15.0), expected, 2 * headingStep) << k;
    }
    EXPECT_EQ(std::string(result.driverName), "Averaged");
    EXPECT_EQ(result.carNumber, 12);
}

TEST(Averaging, SpeedsAndLinesAreTheMeansAtEachDistance) {
    auto slow = SteadyLap(360, 120, 0);
    auto fast = SteadyLap(720, 360, 0);
    TReplay result("Mean", 3);
    ASSERT_EQ(AverageLaps({slow.get(), fast.get()}, kTrackLength, kScale, result),
              AverageResult::Complete);
    // The mean of 30 and 60 feet per frame is 45: 540 units.
    ASSERT_GT(result.sampleCount, 60);
    for (int32_t k = 0; k < result.sampleCount; ++k) {
        const auto i = static_cast<size_t>(k);
        EXPECT_NEAR(result.positions[i], 540.0 * k, k / 2.0 + 1) << k;
        EXPECT_NEAR(result.lines[i], 240, 1) << k;
    }
    // The lap's end lies within a frame of its last sample.
    EXPECT_NEAR(AverageLapSpeed(result), 45 * 15 * 3600.0 / 5280, 460.0 * 0.02);
}

TEST(Averaging, AMeanTooSlowToReachTheLineEndsWithinTheBuffers) {
    // Laps that crawl one unit per frame never reach the line within their samples.
    auto a = SteadyLap(1, 0, 0, 0);
    a->ResizeSamples(40);
    for (int32_t k = 0; k < 40; ++k) a->positions[static_cast<size_t>(k)] = k;
    a->endFrame = 39;
    a->endPosition = 39;
    auto b = SteadyLap(1, 0, 0, 0);
    b->ResizeSamples(30);
    for (int32_t k = 0; k < 30; ++k) b->positions[static_cast<size_t>(k)] = k;
    b->endFrame = 29;
    b->endPosition = 29;

    TReplay result("Crawl", 1);
    EXPECT_EQ(AverageLaps({a.get(), b.get()}, kTrackLength, kScale, result),
              AverageResult::Truncated);
    EXPECT_GE(result.sampleCount, 2);
    EXPECT_LE(result.sampleCount, 42);  // largest sampleCount + 2
    EXPECT_EQ(result.positions.size(), static_cast<size_t>(result.sampleCount));
}

TEST(Averaging, RefusesWhatCannotBeAveraged) {
    auto a = SteadyLap(360, 0, 0);
    auto empty = std::make_unique<TReplay>("Empty", 1);
    TReplay result("R", 1);
    EXPECT_EQ(AverageLaps({a.get()}, kTrackLength, kScale, result), AverageResult::Failed);
    EXPECT_EQ(AverageLaps({a.get(), empty.get()}, kTrackLength, kScale, result),
              AverageResult::Failed);
    EXPECT_EQ(AverageLaps({a.get(), a.get()}, kTrackLength, 0.0, result), AverageResult::Failed);
    EXPECT_EQ(result.sampleCount, 0);
}
