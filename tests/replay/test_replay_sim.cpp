// The reader against the simulator's recordings: the laps it cuts and the samples it reads
// agree with what the simulator drove.
#include <gtest/gtest.h>

#include <cmath>

#include "replay/OpenReplay.h"
#include "replay/ReplayBuilder.h"
#include "sim/Simulator.h"

using namespace replay_test;

namespace {

TTrackData TestTrack() {
    TTrackData t;
    t.name = "Test Oval";
    t.trackLength = 60000;
    t.inchesPerUnit = 1.0;
    return t;
}

}  // namespace

class SimulatedReplay : public testing::TestWithParam<bool> {};

TEST_P(SimulatedReplay, LapsAndSamplesMatchWhatWasDriven) {
    const TTrackData track = TestTrack();
    sim::SimOptions options;
    options.track = &track;
    options.cars = 6;
    options.laps = 3;
    options.seed = 11;
    options.paceCar = GetParam();
    const sim::RaceTruth truth = sim::SimulateRace(options);
    TempDir dir;
    const std::string path = dir.Write("race.rpl", sim::SimulateReplayBytes(options));

    TOpenReplay replay;
    ASSERT_EQ(OpenReplay(path, track.trackLength, track.inchesPerUnit, replay),
              TReplayReadStatus::Ok);
    EXPECT_EQ(replay.header.PaceOffset, truth.paceCar ? 1 : 0);
    ASSERT_EQ(replay.drivers.size(), truth.drivers.size());
    for (size_t i = 0; i < truth.drivers.size(); ++i) {
        const sim::DriverTruth& d = truth.drivers[i];
        const std::string expectedName = d.name.empty() ? "Unknown" : d.name.substr(0, 31);
        EXPECT_EQ(replay.drivers[i].name, expectedName);
        EXPECT_EQ(replay.drivers[i].carNumber, d.carNumber);

        const auto& chain = replay.laps[i];
        ASSERT_EQ(chain.size(), d.lapCrossings.size() + 1) << "driver " << i;
        int32_t frames = 0;
        for (const auto& lap : chain) frames += lap.FrameCount;
        EXPECT_EQ(frames, truth.frameCount);
        // Where the car was recorded on both sides of a crossing, the scan places it within
        // the frame; a car missing there is cut where it reappears.
        auto seenAround = [&](double crossing) {
            const size_t before = size_t(std::floor(crossing));
            return d.samples[before].present && d.samples[before + 1].present;
        };
        int32_t firstFrame = chain[0].FrameCount;
        for (size_t k = 1; k + 1 < chain.size(); firstFrame += chain[k].FrameCount, ++k) {
            const bool clean = seenAround(d.lapCrossings[k - 1]) && seenAround(d.lapCrossings[k]);
            if (clean) {
                EXPECT_NEAR(chain[k].ExactFrames, d.lapCrossings[k] - d.lapCrossings[k - 1], 0.05)
                    << i << "/" << k;
            }

            std::unique_ptr<TReplay> lap;
            ASSERT_EQ(ReadReplayLap(replay, int32_t(i), int32_t(k), lap), TReplayReadStatus::Ok);
            ASSERT_LE(lap->sampleCount, chain[k].FrameCount);
            for (int32_t s = 0; s < lap->sampleCount; ++s) {
                const sim::CarSample& c = d.samples[size_t(firstFrame + s)];
                if (!c.present) continue;
                EXPECT_EQ(lap->positions[size_t(s)], c.position);
                EXPECT_EQ(lap->lines[size_t(s)], c.lateral);
                EXPECT_EQ(lap->headings[size_t(s)], c.heading);
                EXPECT_EQ(lap->auxBytes[size_t(s)], c.aux);
            }
            if (clean) {
                EXPECT_NEAR(lap->endFrame - lap->startFrame, chain[k].ExactFrames, 0.05);
            }
            EXPECT_EQ(lap->endPosition, double(track.trackLength));
        }
    }
    if (truth.backwardsDriver >= 0) {
        // Rolling back over the line and forwards again started no lap of its own.
        const auto& d = truth.drivers[size_t(truth.backwardsDriver)];
        EXPECT_EQ(replay.laps[size_t(truth.backwardsDriver)].size(), d.lapCrossings.size() + 1);
    }
}

INSTANTIATE_TEST_SUITE_P(PaceCar, SimulatedReplay, testing::Bool());
