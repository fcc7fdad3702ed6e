// Averaging on laps the simulator drove: laps of other drivers and other paces, which brake
// at other places, so that "at the same distance" and "at the same time" part ways.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "../sim/SimTracks.h"
#include "channels/Channels.h"
#include "replay/Averaging.h"
#include "replay/OpenReplay.h"
#include "replay/ReplayBuilder.h"
#include "sim/Simulator.h"

namespace {

struct TRaceLaps {
    TTrackData track;
    // Per driver, its full laps in order; laps that roll back somewhere are left out (their
    // positions do not grow with the distance driven, which averaging assumes).
    std::vector<std::vector<std::unique_ptr<TReplay>>> drivers;
};

TRaceLaps SimulatedLaps(uint32_t seed, bool untidy) {
    TRaceLaps race;
    race.track = simtest::RoadCourse();
    sim::SimOptions options;
    options.track = &race.track;
    options.cars = 5;
    options.laps = 3;
    options.seed = seed;
    options.untidy = untidy;
    replay_test::TempDir dir;
    const std::string path = dir.Write("race.rpl", sim::SimulateReplayBytes(options));
    TOpenReplay replay;
    if (OpenReplay(path, race.track.trackLength, race.track.inchesPerUnit, replay) !=
        TReplayReadStatus::Ok)
        return race;
    for (size_t d = 0; d < replay.laps.size(); ++d) {
        auto& laps = race.drivers.emplace_back();
        for (size_t k = 1; k + 1 < replay.laps[d].size(); ++k) {
            std::unique_ptr<TReplay> lap;
            if (ReadReplayLap(replay, int32_t(d), int32_t(k), lap) != TReplayReadStatus::Ok)
                continue;
            bool forwards = true;
            for (size_t s = 1; s < lap->positions.size(); ++s)
                forwards = forwards && lap->positions[s] >= lap->positions[s - 1];
            if (forwards) laps.push_back(std::move(lap));
        }
    }
    return race;
}

std::unique_ptr<TReplay> Average(const std::vector<const TReplay*>& laps, const TTrackData& t) {
    auto result = std::make_unique<TReplay>("Average", 1);
    if (AverageLaps(laps, t.trackLength, t.inchesPerUnit, *result) != AverageResult::Complete)
        return nullptr;
    return result;
}

// A lap's speed where it reaches a distance (feet).
double SpeedAtDistance(const TReplay& lap, double feet) {
    return SpeedAt(lap, TimeAtPosition(lap, feet));
}

// Stored positions are whole track units: each one up to a unit short of the exact value.
// The speed at a sample is the central difference of two of them over two frames, so it
// may read up to half a unit per frame off the mean it was stepped with; a further 0.02 mph
// covers reading the laps at the stored rather than the exact distance (under a unit).
double SpeedTolerance(const TTrackData& t) {
    return 0.5 * t.inchesPerUnit / 12.0 * FrameRate * 3600.0 / 5280.0 + 0.02;
}

// The samples of an average where its speed is the central difference of the positions
// either side, as the steps made it (the Speed channel takes a one-sided difference within
// a frame of the lap's start and end).
template <typename F>
void ForEachInteriorSample(const TReplay& avg, F check) {
    for (int32_t k = 2; k + 2 < avg.sampleCount; ++k)
        check(k, avg.positions[size_t(k)] * avg.inchesPerUnit / 12.0);
}

class AveragingProperties : public testing::TestWithParam<std::pair<uint32_t, bool>> {};

TEST_P(AveragingProperties, HoldOnUnlikeLapsOfTheSimulator) {
    const auto [seed, untidy] = GetParam();
    const TRaceLaps race = SimulatedLaps(seed, untidy);
    const TTrackData& t = race.track;
    const double speedTolerance = SpeedTolerance(t);
    const double unitsPerFoot = 12.0 / t.inchesPerUnit;
    ASSERT_GE(race.drivers.size(), 4u);

    int checkedLaps = 0;
    for (size_t d = 0; d < race.drivers.size(); ++d) {
        const auto& laps = race.drivers[d];
        for (const auto& lap : laps) {
            // Averaging a lap with itself gives it back: its time within a millisecond, and
            // at every distance its speed and its lateral offset (to the unit the stored
            // offset is truncated to, plus what a unit of position moves it).
            const TReplay& a = *lap;
            auto self = Average({&a, &a}, t);
            ASSERT_TRUE(self);
            EXPECT_NEAR(LapDuration(*self), LapDuration(a), 0.001) << seed << "/" << d;
            double worstSpeed = 0, worstLine = 0;
            ForEachInteriorSample(*self, [&](int32_t k, double feet) {
                const double time = TimeAtPosition(a, feet);
                worstSpeed = std::max(worstSpeed,
                                      std::abs(SpeedAt(*self, k / FrameRate) - SpeedAt(a, time)));
                worstLine = std::max(worstLine, std::abs(self->lines[size_t(k)] -
                                                         RawLineAt(a, time) * unitsPerFoot));
            });
            EXPECT_LE(worstSpeed, speedTolerance) << seed << "/" << d;
            EXPECT_LE(worstLine, 1.5) << seed << "/" << d;
            ++checkedLaps;
        }

        // All of a driver's laps at once: the average's time lies within theirs.
        if (laps.size() >= 2) {
            std::vector<const TReplay*> all;
            double fastest = 1e9, slowest = 0;
            for (const auto& lap : laps) {
                all.push_back(lap.get());
                fastest = std::min(fastest, LapDuration(*lap));
                slowest = std::max(slowest, LapDuration(*lap));
            }
            auto mean = Average(all, t);
            ASSERT_TRUE(mean);
            EXPECT_GE(LapDuration(*mean), fastest - 0.001) << seed << "/" << d;
            EXPECT_LE(LapDuration(*mean), slowest + 0.001) << seed << "/" << d;
        }
    }
    EXPECT_GE(checkedLaps, 8);

    // Two drivers' laps: the order of the laps does not matter, and at each distance the
    // averaged speed is the mean of the two laps' speeds there (and so lies between them).
    int checkedPairs = 0;
    for (size_t d = 0; d + 1 < race.drivers.size(); ++d) {
        const auto& first = race.drivers[d];
        const auto& second = race.drivers[d + 1];
        if (first.empty() || second.empty()) continue;
        const TReplay& a = *first.front();
        const TReplay& b = *second.back();
        auto ab = Average({&a, &b}, t);
        auto ba = Average({&b, &a}, t);
        ASSERT_TRUE(ab && ba);
        EXPECT_EQ(ab->positions, ba->positions) << seed << "/" << d;
        EXPECT_EQ(ab->lines, ba->lines) << seed << "/" << d;
        EXPECT_EQ(ab->headings, ba->headings) << seed << "/" << d;
        EXPECT_EQ(ab->endFrame, ba->endFrame) << seed << "/" << d;

        double worst = 0;
        ForEachInteriorSample(*ab, [&](int32_t k, double feet) {
            const double mean = (SpeedAtDistance(a, feet) + SpeedAtDistance(b, feet)) / 2;
            worst = std::max(worst, std::abs(SpeedAt(*ab, k / FrameRate) - mean));
        });
        EXPECT_LE(worst, speedTolerance) << seed << "/" << d;
        ++checkedPairs;
    }
    EXPECT_GE(checkedPairs, 3);
}

INSTANTIATE_TEST_SUITE_P(Seeds, AveragingProperties,
                         testing::Values(std::pair{3u, true}, std::pair{8u, true},
                                         std::pair{5u, false}));

}  // namespace
