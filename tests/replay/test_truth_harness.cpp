// The importer judged against what the simulator drove: over several untidy races (cars
// missing from frames, a car rolling back over the line) and a tidy one on a track with
// geometry, every lap between two line crossings is listed and imported line to line at
// its true time, with one time everywhere and channels a car can really have.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "channels/Channels.h"
#include "support/SimulatedRace.h"

namespace {

using simtest::SimulatedRace;
using simtest::TruthLap;

class TruthHarness : public testing::TestWithParam<simtest::RaceSetup> {
  protected:
    void SetUp() override {
        race = SimulatedRace::Run(GetParam());
        ASSERT_RACE_OPENED(race);
    }
    std::unique_ptr<SimulatedRace> race;
};

TEST_P(TruthHarness, EveryLapDrivenIsListedAtItsTrueTime) {
    const auto& chains = race->replay.laps;
    for (size_t i = 0; i < race->truth.drivers.size(); ++i)
        ASSERT_EQ(chains[i].size(), race->truth.drivers[i].lapCrossings.size() + 1)
            << race->Name() << ", driver " << i << ": one lap per crossing and one more";
    for (const TruthLap& t : race->FullLaps()) {
        const auto& chain = chains[size_t(t.driver)];
        const std::string listed =
            LapDescription(chain, size_t(t.chainIndex), true, race->replay.header);
        ASSERT_NE(listed, "(partial)") << race->Name() << ", driver " << t.driver;
        const double error = std::fabs(std::atof(listed.c_str()) - t.Seconds());
        // Half a millisecond more for the rounding of the time shown.
        EXPECT_LE(error, race->TimeTolerance(t) + 0.0005)
            << race->Name() << ", driver " << t.driver << " lap " << t.chainIndex << ": listed"
            << listed << ", driven " << t.Seconds() << " s";
    }
}

TEST_P(TruthHarness, ImportedLapsRunLineToLineAtTheListedTime) {
    const double feetPerUnit = race->track.inchesPerUnit / 12;
    const double lapFeet = race->track.trackLength * feetPerUnit;
    for (const TruthLap& t : race->FullLaps()) {
        const auto& chain = race->replay.laps[size_t(t.driver)];
        const std::string where = race->Name() + ", driver " + std::to_string(t.driver) + " lap " +
                                  std::to_string(t.chainIndex);
        const std::unique_ptr<TReplay> lap = race->Import(t.driver, t.chainIndex);
        ASSERT_TRUE(lap) << where;
        // The time the dialog listed is the lap's time, to the millisecond shown.
        char shown[32];
        std::snprintf(shown, sizeof shown, "%8.3f s", LapDuration(*lap));
        EXPECT_EQ(shown, LapDescription(chain, size_t(t.chainIndex), true, race->replay.header))
            << where;
        EXPECT_NEAR(LapDuration(*lap), t.Seconds(), race->TimeTolerance(t)) << where;
        // From the line to the line, wherever the car was last seen before them.
        EXPECT_NEAR(PositionAt(*lap, 0), 0, 0.5) << where;
        EXPECT_NEAR(PositionAt(*lap, LapDuration(*lap)), lapFeet, 0.5) << where;
        EXPECT_NEAR(lap->startPosition, 0, 1e-6) << where;
        EXPECT_EQ(lap->endPosition, race->track.trackLength) << where;
    }
}

TEST_P(TruthHarness, ChannelsStayPhysicalOnEveryLap) {
    // Every lap of every driver, the partial first and last ones and the one in which a car
    // rolls back over the line included.
    for (size_t i = 0; i < race->replay.laps.size(); ++i) {
        for (size_t k = 0; k < race->replay.laps[i].size(); ++k) {
            const std::unique_ptr<TReplay> lap = race->Import(int32_t(i), int32_t(k));
            if (!lap) continue;  // a stretch of three frames or fewer cannot be imported
            const ChannelRange r = ChannelExtents({lap.get()}, &race->track);
            const size_t speed = ChannelNumber(TelemetryChannel::Speed);
            const size_t inline_ = ChannelNumber(TelemetryChannel::InlineForce);
            EXPECT_LT(r.maximum[speed], 400) << race->Name() << ", driver " << i << " lap " << k;
            EXPECT_GT(r.minimum[speed], -400) << race->Name() << ", driver " << i << " lap " << k;
            // Between two crossings, no force a car cannot pull either (a recording's own
            // ends stop a lap dead, and so do its channels there).
            if (!IsPartialLap(race->replay.laps[i], k)) {
                EXPECT_LT(std::max(r.maximum[inline_], -r.minimum[inline_]), 10)
                    << race->Name() << ", driver " << i << " lap " << k;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Races, TruthHarness, testing::ValuesIn(simtest::HarnessSetups()),
                         [](const testing::TestParamInfo<simtest::RaceSetup>& info) {
                             return "seed" + std::to_string(info.param.seed) +
                                    (info.param.untidy ? "untidy" : "tidy");
                         });

}  // namespace
