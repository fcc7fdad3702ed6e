// The race simulator: the bytes it writes follow the replay layout, they are what it
// drove, the driving is plausible, and the untidiness of real recordings is there.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <set>

#include "replay/OpenReplay.h"
#include "sim/ReplayDecode.h"  // tests/sim
#include "sim/SimTracks.h"
#include "sim/Simulator.h"

namespace {

using namespace simtest;

sim::SimOptions Options(const TTrackData& track, int32_t cars, int32_t laps, uint32_t seed = 3) {
    sim::SimOptions o;
    o.track = &track;
    o.cars = cars;
    o.laps = laps;
    o.seed = seed;
    return o;
}

std::vector<double> FullLapTimes(const sim::DriverTruth& d) {
    std::vector<double> times;
    for (size_t k = 1; k < d.lapCrossings.size(); ++k)
        times.push_back((d.lapCrossings[k] - d.lapCrossings[k - 1]) / 15.0);
    return times;
}

TEST(SimulatorLayout, HeaderTableAndFramesFollowTheReplayLayout) {
    const TTrackData track = RoadCourse();
    for (bool pace : {true, false}) {
        sim::SimOptions o = Options(track, 6, 2);
        o.paceCar = pace;
        sim::SimResult result;
        const std::vector<uint8_t> bytes = sim::SimulateReplayBytes(o, &result);
        ASSERT_TRUE(result.ok) << result.message;
        EXPECT_EQ(result.bytes, static_cast<int64_t>(bytes.size()));
        const DecodedReplay r = Decode(bytes);
        ASSERT_TRUE(r.ok) << r.error;
        EXPECT_EQ(r.slotCount, 6);
        EXPECT_EQ(r.dataSize, static_cast<int64_t>(bytes.size()) - r.dataStart);
        EXPECT_EQ(r.headerLength, r.dataStart - 16);
        EXPECT_EQ(r.dataStart, 2970);  // room for a full field, zeros after the table
        EXPECT_EQ(static_cast<int64_t>(r.frames.size()), result.frames);
        if (pace) {
            EXPECT_NE(r.mode, 5);
            ASSERT_EQ(r.table.size(), 7u);
            EXPECT_EQ(r.table[0].rawName, "Pace Car");
            EXPECT_EQ(r.table[0].carNumber, 0);
        } else {
            EXPECT_EQ(r.mode, 5);
            ASSERT_EQ(r.table.size(), 6u);
        }
        const size_t first = pace ? 1 : 0;
        int longNames = 0, emptyNames = 0, leadingZero = 0;
        std::set<int> numbers;
        for (size_t i = first; i < r.table.size(); ++i) {
            longNames += r.table[i].rawName.size() == 32;
            emptyNames += r.table[i].rawName.empty();
            leadingZero += r.table[i].carNumber >= 100;
            numbers.insert(r.table[i].carNumber);
            EXPECT_NE(r.table[i].rawName, "Pace Car");
        }
        EXPECT_EQ(longNames, 1);
        EXPECT_EQ(emptyNames, 1);
        EXPECT_GE(leadingZero, 1);
        EXPECT_EQ(numbers.size(), 6u) << "car numbers are distinct";
        for (const DecodedFrame& f : r.frames) ASSERT_EQ(f.records.size(), 6u);
    }
}

TEST(SimulatorTruth, RecordsHoldWhatWasDriven) {
    const TTrackData track = RoadCourse();
    const sim::SimOptions o = Options(track, 5, 2);
    const DecodedReplay r = Decode(sim::SimulateReplayBytes(o));
    const sim::RaceTruth truth = sim::SimulateRace(o);
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_EQ(truth.frameCount, static_cast<int32_t>(r.frames.size()));
    ASSERT_EQ(truth.drivers.size(), 5u);
    const int32_t paceOffset = 1;
    int absent = 0;
    for (size_t f = 0; f < r.frames.size(); ++f) {
        std::map<int, const DecodedRecord*> bySlot;
        for (const DecodedRecord& rec : r.frames[f].records) {
            const int slot = rec.slotByte >> 1;
            if (slot >= paceOffset && slot < 5 + paceOffset) {
                EXPECT_EQ(bySlot.count(slot), 0u) << "a driver's slot appears once per frame";
                bySlot[slot] = &rec;
            }
        }
        for (const sim::DriverTruth& d : truth.drivers) {
            const sim::CarSample& s = d.samples[f];
            auto it = bySlot.find(d.slot);
            ASSERT_EQ(it != bySlot.end(), s.present) << "frame " << f << " slot " << d.slot;
            if (!s.present) {
                ++absent;
                continue;
            }
            EXPECT_EQ(static_cast<int32_t>(it->second->position), s.position);
            EXPECT_EQ(it->second->lateral, s.lateral);
            EXPECT_EQ(it->second->heading, s.heading);
            EXPECT_EQ(it->second->aux, s.aux);
            EXPECT_EQ(s.position,
                      static_cast<int32_t>(std::trunc(s.positionFeet * 12 / track.inchesPerUnit)) %
                          track.trackLength);
            EXPECT_LT(s.position, track.trackLength);
        }
    }
    EXPECT_GT(absent, 0);
    for (size_t i = 0; i < truth.drivers.size(); ++i) {
        EXPECT_EQ(truth.drivers[i].name, r.table[i + 1].rawName);
        EXPECT_EQ(truth.drivers[i].carNumber, r.table[i + 1].carNumber);
    }
}

TEST(SimulatorDeterminism, SameSeedSameBytesOtherSeedOtherRace) {
    const TTrackData track = RoadCourse();
    const std::vector<uint8_t> a = sim::SimulateReplayBytes(Options(track, 4, 1, 9));
    const std::vector<uint8_t> b = sim::SimulateReplayBytes(Options(track, 4, 1, 9));
    const std::vector<uint8_t> c = sim::SimulateReplayBytes(Options(track, 4, 1, 10));
    ASSERT_FALSE(a.empty());
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);

    TempDir dir;
    const auto path = dir.path / "race.rpl";
    const sim::SimResult written =
        sim::WriteSimulatedReplay(Options(track, 4, 1, 9), path.string());
    ASSERT_TRUE(written.ok) << written.message;
    EXPECT_EQ(ReadFileBytes(path), a);
    EXPECT_EQ(written.bytes, static_cast<int64_t>(a.size()));
}

TEST(SimulatorPlausibility, SpeedsLapTimesLinesAndForcesLookReal) {
    struct Case {
        TTrackData track;
        double minLateral, maxLateral;  // feet, the track's lateral frame
    };
    std::vector<Case> cases;
    cases.push_back({RoadCourse(), -30, 30});
    cases.push_back({ShortOval(), 0, 50});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.track.name);
        sim::SimOptions o = Options(c.track, 6, 3);
        const sim::RaceTruth truth = sim::SimulateRace(o);
        ASSERT_EQ(truth.drivers.size(), 6u);
        const double lapFeet = c.track.trackLength * c.track.inchesPerUnit / 12;
        std::vector<double> bestLaps;
        for (size_t i = 0; i < truth.drivers.size(); ++i) {
            const sim::DriverTruth& d = truth.drivers[i];
            const bool incident = static_cast<int32_t>(i) == truth.backwardsDriver;
            std::vector<double> times = FullLapTimes(d);
            ASSERT_GE(times.size(), 3u);
            if (incident) times.erase(times.begin(), times.begin() + 2);  // the laps of the spin
            const auto [lo, hi] = std::minmax_element(times.begin(), times.end());
            EXPECT_LT(*hi - *lo, 0.02 * *lo) << "laps of one driver within 2%";
            if (times.size() > 1) {
                EXPECT_GT(*hi - *lo, 0.0) << "no two laps alike";
            }
            bestLaps.push_back(*lo);
            const double mph = lapFeet / *lo * 3600 / 5280;
            EXPECT_GT(mph, 60);
            EXPECT_LT(mph, 200);
            std::vector<double> inlineG;
            for (const sim::CarSample& s : d.samples) {
                EXPECT_LE(s.pathSpeedMph, 200.0);
                if (!incident) {
                    EXPECT_GT(s.pathSpeedMph, 30.0);
                    EXPECT_LT(std::abs(s.slipDegrees), 6.0);
                } else {
                    EXPECT_GE(s.pathSpeedMph, -7.0);
                }
                EXPECT_GE(s.lateralFeet, c.minLateral);
                EXPECT_LE(s.lateralFeet, c.maxLateral);
                inlineG.push_back(s.inlineG);
            }
            std::sort(inlineG.begin(), inlineG.end());
            // Braking and accelerating show, within what a car can do (the few extremes
            // aside, where the line sweeps across the track).
            EXPECT_LT(inlineG[inlineG.size() / 100], -1.0);
            EXPECT_GT(inlineG[inlineG.size() / 100], -4.5);
            EXPECT_GT(inlineG[inlineG.size() * 99 / 100], 0.3);
            EXPECT_LT(inlineG[inlineG.size() * 99 / 100], 2.5);
        }
        const auto [lo, hi] = std::minmax_element(bestLaps.begin(), bestLaps.end());
        EXPECT_GT(*hi - *lo, 0.0) << "drivers differ";
        EXPECT_LT(*hi - *lo, 0.05 * *lo) << "but not by much";
    }
}

TEST(SimulatorLaps, EveryCarDrivesItsLapsAndTheRecordingStartsAndEndsMidLap) {
    const TTrackData track = RoadCourse();
    const sim::RaceTruth truth = sim::SimulateRace(Options(track, 4, 2));
    ASSERT_EQ(truth.drivers.size(), 4u);
    for (const sim::DriverTruth& d : truth.drivers) {
        EXPECT_GE(d.lapCrossings.size(), 3u);
        ASSERT_FALSE(d.lapCrossings.empty());
        EXPECT_GT(d.lapCrossings.front(), 15.0);
        EXPECT_LT(d.lapCrossings.back(), truth.frameCount - 15.0);
    }

    sim::SimOptions timed = Options(track, 3, 1);
    timed.durationSeconds = 20.0;
    const sim::RaceTruth t = sim::SimulateRace(timed);
    EXPECT_EQ(t.frameCount, 300);
    ASSERT_EQ(t.drivers.size(), 3u);
    EXPECT_EQ(t.drivers[0].samples.size(), 300u);
}

TEST(SimulatorUntidiness, PresentWhenUntidyAndLeftOutWhenTidy) {
    const TTrackData track = ShortOval();
    for (bool untidy : {true, false}) {
        SCOPED_TRACE(untidy ? "untidy" : "tidy");
        sim::SimOptions o = Options(track, 6, 3);
        o.untidy = untidy;
        const DecodedReplay r = Decode(sim::SimulateReplayBytes(o));
        const sim::RaceTruth truth = sim::SimulateRace(o);
        ASSERT_TRUE(r.ok) << r.error;
        int skip[3] = {}, bitZero = 0, fillers = 0;
        for (const DecodedFrame& f : r.frames) {
            for (int k = 0; k < 3; ++k) skip[k] += f.skipCounts[k] != 0;
            for (const DecodedRecord& rec : f.records) {
                bitZero += rec.slotByte & 1;
                fillers += (rec.slotByte >> 1) == 0 || (rec.slotByte >> 1) > 6;
            }
        }
        int absent = 0;
        for (const sim::DriverTruth& d : truth.drivers)
            for (const sim::CarSample& s : d.samples) absent += !s.present;
        EXPECT_EQ(fillers, absent) << "a missing car's record is replaced, never dropped";
        // A car seen going back over the line (a jump of more than half a lap upwards).
        int backwards = 0;
        for (const sim::DriverTruth& d : truth.drivers) {
            int32_t prev = -1;
            for (const sim::CarSample& s : d.samples) {
                if (!s.present) continue;
                if (prev >= 0 && s.position - prev > track.trackLength / 2) ++backwards;
                prev = s.position;
            }
        }
        if (untidy) {
            EXPECT_GT(skip[0], 0);
            EXPECT_GT(skip[1], 0);
            EXPECT_GT(skip[2], 0);
            EXPECT_GT(bitZero, 0);
            EXPECT_GT(absent, 0);
            EXPECT_EQ(truth.backwardsDriver, 5);
            EXPECT_EQ(backwards, 1);
            EXPECT_FALSE(truth.drivers[5].samples[0].present)
                << "a driver missing from the first frames";
        } else {
            EXPECT_EQ(skip[0] + skip[1] + skip[2], 0);
            EXPECT_EQ(bitZero, 0);
            EXPECT_EQ(absent, 0);
            EXPECT_EQ(truth.backwardsDriver, -1);
            EXPECT_EQ(backwards, 0);
        }
    }
}

// Regression: skip counts of 128 and more were read as negative signed bytes.
TEST(SimulatorUntidiness, LongSkipListsNowAndThenWithCountsOf128AndMore) {
    const TTrackData track = ShortOval();
    sim::SimOptions o = Options(track, 1, 1);
    o.durationSeconds = 600;
    const DecodedReplay r = Decode(sim::SimulateReplayBytes(o));
    ASSERT_TRUE(r.ok) << r.error;
    int high = 0;
    for (const DecodedFrame& f : r.frames) high += f.skipCounts[1] >= 128;
    EXPECT_GT(high, 0);
    EXPECT_LT(high, 50);
}

TEST(SimulatorReplayReader, LapsCutFromTheFileAreTheLapsDriven) {
    const TTrackData track = RoadCourse();
    for (bool pace : {true, false}) {
        SCOPED_TRACE(pace ? "pace car" : "no pace car");
        sim::SimOptions o = Options(track, 5, 3);
        o.paceCar = pace;
        TempDir dir;
        const std::string path = (dir.path / "race.rpl").string();
        ASSERT_TRUE(sim::WriteSimulatedReplay(o, path).ok);
        const sim::RaceTruth truth = sim::SimulateRace(o);
        TOpenReplay replay;
        const TReplayReadStatus status =
            OpenReplay(path, track.trackLength, track.inchesPerUnit, replay);
        ASSERT_EQ(status, TReplayReadStatus::Ok) << ReplayReadMessage(status);
        ASSERT_EQ(replay.laps.size(), truth.drivers.size());
        for (size_t i = 0; i < truth.drivers.size(); ++i) {
            const sim::DriverTruth& d = truth.drivers[i];
            EXPECT_EQ(std::string(replay.drivers[i].name),
                      d.name.empty() ? "Unknown" : d.name.substr(0, 31));
            const auto& chain = replay.laps[i];
            // Rolling back over the line and crossing again starts no lap.
            ASSERT_EQ(chain.size(), d.lapCrossings.size() + 1) << "driver " << i;
            const std::vector<double> times = FullLapTimes(d);
            for (size_t k = 1; k + 1 < chain.size(); ++k)
                EXPECT_NEAR(chain[k].ExactFrames / 15.0, times[k - 1], 0.02)
                    << "driver " << i << " lap " << k;
        }
    }
}

TEST(SimulatorOptions, RefusesWhatCannotBeSimulated) {
    const TTrackData track = RoadCourse();
    EXPECT_EQ(sim::ValidateOptions(Options(track, 6, 3)), "");
    sim::SimOptions o = Options(track, 6, 3);
    o.track = nullptr;
    EXPECT_NE(sim::ValidateOptions(o), "");
    EXPECT_TRUE(sim::SimulateRace(o).drivers.empty());
    EXPECT_FALSE(sim::WriteSimulatedReplay(o, "/nonexistent/x.rpl").ok);
    for (int32_t cars : {0, -1, sim::MaxCars + 1})
        EXPECT_NE(sim::ValidateOptions(Options(track, cars, 3)), "");
    EXPECT_EQ(sim::ValidateOptions(Options(track, sim::MaxCars, 3)), "");
    EXPECT_NE(sim::ValidateOptions(Options(track, 6, 0)), "");
    o = Options(track, 6, 0);
    o.durationSeconds = 10;
    EXPECT_EQ(sim::ValidateOptions(o), "") << "a duration replaces the lap count";
    o.durationSeconds = -1;
    EXPECT_NE(sim::ValidateOptions(o), "");
    o.durationSeconds = std::nan("");
    EXPECT_NE(sim::ValidateOptions(o), "");
    TTrackData bad = ShortOval();
    bad.trackLength = 1 << 24;  // positions are 24 bits
    EXPECT_NE(sim::ValidateOptions(Options(bad, 2, 1)), "");
    bad.trackLength = 42240;
    bad.inchesPerUnit = 0;
    EXPECT_NE(sim::ValidateOptions(Options(bad, 2, 1)), "");

    const sim::SimResult r =
        sim::WriteSimulatedReplay(Options(track, 2, 1), "/nonexistent-dir/race.rpl");
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find("/nonexistent-dir/race.rpl"), std::string::npos);
}

TEST(SimulatorCourse, UnusableGeometryFallsBackToAnOval) {
    TTrackData broken = RoadCourse();
    broken.edgeX[0].resize(10);  // fewer points than the segment count says
    const sim::RaceTruth truth = sim::SimulateRace(Options(broken, 2, 1));
    ASSERT_EQ(truth.drivers.size(), 2u);
    for (const sim::DriverTruth& d : truth.drivers) {
        EXPECT_GE(d.lapCrossings.size(), 2u);
        for (const sim::CarSample& s : d.samples) {
            EXPECT_LT(s.position, broken.trackLength);
            EXPECT_GE(s.lateralFeet, 0.0);
        }
    }
}

}  // namespace
