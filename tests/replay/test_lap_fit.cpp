// Whether a lap read from a replay can have been driven on the track it was read with.
#include <gtest/gtest.h>

#include "replay/LapFit.h"
#include "support/LapBuilder.h"

namespace {

// At half an inch a unit, 500 mph is 8800 inches a second: 17600 units in 15 frames.
constexpr int32_t kLength = 300000;
constexpr double kScale = 0.5;
constexpr int32_t kUnitsAtTheLimit = 17600;

TLapFit Fit(std::vector<int32_t> positions, int32_t length = kLength) {
    return CheckLapFitsTrack(*TLapBuilder().Positions(std::move(positions)).Build(), length,
                             kScale);
}

// n samples from `from` at `step` units a frame, wrapping at the line of a track of length.
std::vector<int32_t> Stream(int32_t n, int32_t from, int32_t step, int32_t length = kLength) {
    std::vector<int32_t> p;
    for (int32_t k = 0; k < n; ++k) p.push_back((from + k * step) % length);
    return p;
}

}  // namespace

TEST(LapFit, MeanSpeedBackwardsOverASecondAtTheLimitFitsAndAboveItDoesNot) {
    // Evenly spread over a second, or all in one frame of it: only the mean counts.
    EXPECT_EQ(Fit(Stream(40, 30000, -kUnitsAtTheLimit / 15)), TLapFit::Fits);
    auto leap = Stream(40, 30000, 0);
    for (size_t k = 20; k < leap.size(); ++k) leap[k] -= kUnitsAtTheLimit;
    EXPECT_EQ(Fit(leap), TLapFit::Fits);
    for (size_t k = 20; k < leap.size(); ++k) leap[k] -= 1;
    EXPECT_EQ(Fit(leap), TLapFit::BackwardsFasterThanAnyCar);
    // Forwards nothing is judged.
    EXPECT_EQ(Fit(Stream(40, 0, 3 * kUnitsAtTheLimit / 15)), TLapFit::Fits);
    // A lap shorter than a second is judged over its own length: 5 frames at the limit.
    EXPECT_EQ(Fit({9000, 9000, 9000, 9000, 9000, 9000 - kUnitsAtTheLimit / 3}), TLapFit::Fits);
    EXPECT_EQ(Fit({9000, 9000, 9000, 9000, 9000, 9000 - kUnitsAtTheLimit / 3 - 1}),
              TLapFit::BackwardsFasterThanAnyCar);
}

TEST(LapFit, CrossingsOfTheLineFitAndPositionsPastTheEndDoNot) {
    // A car that crosses the line forwards within a lap's samples (the last frames of a
    // partial lap), rolls back over it, or has a frame gap filled across it.
    EXPECT_EQ(Fit(Stream(60, kLength - 3000, 300)), TLapFit::Fits);
    EXPECT_EQ(Fit({200, 120, 40, kLength - 40, kLength - 120, kLength - 60, 20, 100}),
              TLapFit::Fits);
    EXPECT_EQ(Fit({kLength - 200, kLength / 3 * 2, kLength / 3, 200, 400}), TLapFit::Fits);
    EXPECT_EQ(Fit({0, 10, kLength}), TLapFit::Fits);
    EXPECT_EQ(Fit({0, 10, kLength + 1}), TLapFit::BeyondTrackLength);

    // A replay of a track of 95042 units read as this one: its cars wrap at 95042, which is
    // no crossing here but a leap backwards of 47521 inches.
    EXPECT_EQ(Fit(Stream(400, 90000, 250, 95042)), TLapFit::BackwardsFasterThanAnyCar);
    EXPECT_EQ(Fit(Stream(20, 90000, 250, 95042)), TLapFit::Fits) << "short of its line";
    // This track's replay read as one of 95042 units.
    EXPECT_EQ(Fit(Stream(400, 90000, 250), 95042), TLapFit::BeyondTrackLength);
}

TEST(LapFit, TheMessagesNameTheTrack) {
    EXPECT_EQ(LapFitMessage(TLapFit::BeyondTrackLength, "Kestrel Ridge Circuit"),
              "This lap does not fit Kestrel Ridge Circuit: its positions run past the end of "
              "the track.\nThe replay was recorded on another track.");
    EXPECT_EQ(LapFitMessage(TLapFit::BackwardsFasterThanAnyCar, "Marlow Flats Speedway"),
              "This lap does not fit Marlow Flats Speedway: its car would run backwards faster "
              "than any car goes.\nThe replay was recorded on another track.");
}
