// The reference lap and where a delta is defined.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "analysis/LapAnalysis.h"

namespace {

// A lap of `frames` frames at an even pace from `from` to `to` (units of one foot) on a
// 3000-foot lap.
std::unique_ptr<TReplay> Lap(int frames, int from = 0, int to = 3000) {
    auto lap = std::make_unique<TReplay>("Lap", 1);
    lap->ResizeSamples(frames + 1);
    for (int k = 0; k <= frames; ++k)
        lap->positions[size_t(k)] = from + static_cast<int>(double(to - from) * k / frames);
    lap->startFrame = 0;
    lap->endFrame = frames;
    lap->startPosition = from;
    lap->endPosition = to;
    lap->inchesPerUnit = 12;
    lap->lapLength = 3000;
    return lap;
}

std::vector<const TReplay*> Pointers(const std::vector<std::unique_ptr<TReplay>>& laps) {
    std::vector<const TReplay*> out;
    for (const auto& l : laps) out.push_back(l.get());
    return out;
}

}  // namespace

TEST(ReferenceLap, FastestFullLapTiesToTheEarlierAndAPickHoldsWhileItsLapExists) {
    std::vector<std::unique_ptr<TReplay>> laps;
    laps.push_back(Lap(900));
    laps.push_back(Lap(300, 1000, 3000));  // partial: quicker, but not a lap of the track
    laps.push_back(Lap(880));
    laps.push_back(Lap(880));
    laps.push_back(Lap(870, 0, 2990));  // stops short of the line
    const auto all = Pointers(laps);
    EXPECT_EQ(FastestLap(all), 2);
    EXPECT_EQ(ReferenceLap(all, -1), 2);
    EXPECT_EQ(ReferenceLap(all, laps[0]->serial), 0);
    // A picked lap that is gone (deleted) gives the fastest lap again.
    EXPECT_EQ(ReferenceLap(all, laps[4]->serial + 1000), 2);

    // Without a full lap, the fastest of the others; without laps, none.
    const std::vector<const TReplay*> partials{laps[1].get(), laps[4].get()};
    EXPECT_EQ(FastestLap(partials), 0);
    EXPECT_EQ(ReferenceLap({}, -1), -1);
    auto empty = std::make_unique<TReplay>("Empty", 1);
    EXPECT_EQ(FastestLap({empty.get()}), -1);
}

TEST(TimeDelta, DefinedOnlyWhereBothLapsCoverThePosition) {
    const auto full = Lap(30);              // 100 ft per frame
    const auto late = Lap(10, 1000, 2000);  // 100 ft per frame, from 1000 to 2000 ft
    EXPECT_FALSE(TimeDelta(*late, *full, 999.9).has_value());
    EXPECT_FALSE(TimeDelta(*full, *late, 2000.1).has_value());
    ASSERT_TRUE(TimeDelta(*late, *full, 1000).has_value());
    // At 1500 ft the late lap is 5 frames in, the full lap 15.
    EXPECT_NEAR(*TimeDelta(*late, *full, 1500), -10.0 / 15, 1e-12);
    EXPECT_NEAR(*TimeDelta(*full, *late, 2000), 10.0 / 15, 1e-12);
    auto empty = std::make_unique<TReplay>("Empty", 1);
    EXPECT_FALSE(TimeDelta(*empty, *full, 0).has_value());
}
