// One lap time everywhere, on simulated races: every lap driven between two crossings is a
// full lap whose sectors add up to its time, and the fastest lap (the reference) is the one
// the simulator drove fastest.
#include <gtest/gtest.h>

#include <cmath>

#include "analysis/LapAnalysis.h"
#include "analysis/Sectors.h"
#include "support/SimulatedRace.h"

TEST(TruthLapTimes, FullLapsHaveEverySectorAndTheFastestIsTheReference) {
    for (const simtest::RaceSetup& setup : simtest::HarnessSetups()) {
        const auto race = simtest::SimulatedRace::Run(setup);
        ASSERT_RACE_OPENED(race);
        const std::vector<TSector> sectors = TrackSectors(race->track);
        std::vector<std::unique_ptr<TReplay>> laps;
        std::vector<double> truth;
        for (const simtest::TruthLap& t : race->FullLaps()) {
            auto lap = race->Import(t.driver, t.chainIndex);
            ASSERT_TRUE(lap);
            const std::string where = race->Name() + ", driver " + std::to_string(t.driver) +
                                      " lap " + std::to_string(t.chainIndex);
            EXPECT_TRUE(IsFullLap(*lap)) << where;
            double sum = 0;
            for (const TSector& s : sectors) {
                const std::optional<double> time = SectorTime(*lap, s);
                ASSERT_TRUE(time.has_value()) << where << ", sector " << s.name;
                sum += *time;
            }
            EXPECT_NEAR(sum, LapTime(*lap), 1e-6) << where;
            truth.push_back(t.Seconds());
            laps.push_back(std::move(lap));
        }
        std::vector<const TReplay*> all;
        for (const auto& lap : laps) all.push_back(lap.get());
        const size_t fastest = size_t(FastestLap(all));
        ASSERT_LT(fastest, truth.size());
        for (size_t i = 0; i < truth.size(); ++i)
            EXPECT_GE(truth[i], truth[fastest] - 0.004)
                << race->Name() << ": lap " << i << " was driven faster than the reference";
    }
}
