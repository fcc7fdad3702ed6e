// The map on simulated races, against what was driven: every lap's line follows the track
// (the lap in which a car rolls back over the line included), and the speed comparison of
// two laps agrees with their lap times.

#include <gtest/gtest.h>

#include <cmath>

#include "channels/Channels.h"
#include "support/SimulatedRace.h"
#include "views/map/LapLine.h"
#include "views/map/MapMarkers.h"

namespace {

using simtest::SimulatedRace;

TEST(TruthMap, LapLinesFollowTheTrackAndTheComparisonAgreesWithTheLapTimes) {
    for (const simtest::RaceSetup& setup : simtest::HarnessSetups()) {
        if (!setup.untidy || setup.seed > 2) continue;  // two races with a car rolling back
        const auto race = SimulatedRace::Run(setup);
        ASSERT_RACE_OPENED(race);
        const TTrackData& track = race->track;
        // One frame at 400 mph, in the track's coordinates (inches), and the track's width.
        const double reach = (400 * 5280.0 / 3600 / 15 + 60) * 12;
        const auto laps = race->FullLaps();
        for (const simtest::TruthLap& t : laps) {
            const auto lap = race->Import(t.driver, t.chainIndex);
            ASSERT_TRUE(lap);
            const std::vector<TrackPoint> points = LapLinePoints(track, *lap);
            double longest = 0;
            for (size_t i = 1; i < points.size(); ++i)
                longest = std::max(longest, std::hypot(double(points[i].x) - points[i - 1].x,
                                                       double(points[i].y) - points[i - 1].y));
            EXPECT_LT(longest, reach) << race->Name() << ", driver " << t.driver << " lap "
                                      << t.chainIndex << ": a chord across the infield";
        }
        // Every two full laps of the car that rolls back: no segment is judged on a time a
        // car cannot drive it in, and the faster lap wins somewhere.
        const int32_t driver = race->truth.backwardsDriver;
        ASSERT_GE(driver, 0) << race->Name();
        std::vector<std::unique_ptr<TReplay>> own;
        for (const simtest::TruthLap& t : laps)
            if (t.driver == driver) own.push_back(race->Import(t.driver, t.chainIndex));
        ASSERT_GE(own.size(), 3u);
        const double k = track.inchesPerUnit / 12;
        const double fastest = 400 * 5280.0 / 3600;  // feet per second
        const auto& P = track.pointPositions;
        for (size_t a = 0; a < own.size(); ++a) {
            for (size_t b = a + 1; b < own.size(); ++b) {
                const TReplay& A = *own[a];
                const TReplay& B = *own[b];
                const std::vector<uint8_t> winners = SegmentWinners(track, A, B);
                int32_t winsA = 0, winsB = 0, judged = 0, impossible = 0;
                for (size_t s = 0; s < winners.size(); ++s) {
                    if (winners[s] == kNoWinner) continue;
                    const double feet = (P[s + 1] - P[s]) * k;
                    for (const TReplay* lap : {&A, &B}) {
                        const double time =
                            TimeAtPosition(*lap, P[s + 1] * k) - TimeAtPosition(*lap, P[s] * k);
                        impossible += time < feet / fastest;
                    }
                    ++judged;
                    (winners[s] == kFirstLapWins ? winsA : winsB) += 1;
                }
                EXPECT_GT(judged, int32_t(winners.size()) / 2) << race->Name();
                EXPECT_EQ(impossible, 0) << race->Name() << ", laps " << a << ", " << b;
                const double difference = LapDuration(A) - LapDuration(B);
                if (difference < -1) {
                    EXPECT_GT(winsA, 0) << race->Name();
                }
                if (difference > 1) {
                    EXPECT_GT(winsB, 0) << race->Name();
                }
            }
        }
    }
}

}  // namespace
