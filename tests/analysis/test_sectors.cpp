// Corner sectors, sector times and the ideal lap, against hand-made tracks and against what
// the simulator drove.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>

#include "analysis/Corners.h"
#include "analysis/LapAnalysis.h"
#include "analysis/Sectors.h"
#include "replay/OpenReplay.h"
#include "replay/Scan.h"
#include "sim/SimTracks.h"
#include "sim/Simulator.h"

namespace {

// 3000 feet at 12 inches per unit, so that units and feet are the same.
TTrackData Track(std::vector<std::pair<std::string, double>> corners) {
    TTrackData t;
    t.trackLength = 3000;
    t.inchesPerUnit = 12;
    for (auto& [name, feet] : corners) {
        t.cornerNames.push_back(name);
        t.cornerPositions.push_back(feet);
    }
    t.cornerCount = static_cast<int16_t>(corners.size());
    return t;
}

void ExpectSector(const TSector& s, const char* name, double from, double to) {
    EXPECT_EQ(s.name, name);
    EXPECT_DOUBLE_EQ(s.from, from) << name;
    EXPECT_DOUBLE_EQ(s.to, to) << name;
}

}  // namespace

TEST(TrackSectors, SplitAtMidpointsBetweenCornersByPosition) {
    // Listed out of order: the split follows the positions, the names go with their corners.
    const auto sectors = TrackSectors(Track({{"Hairpin", 2000}, {"Kink", 400}, {"Esses", 1000}}));
    ASSERT_EQ(sectors.size(), 3u);
    ExpectSector(sectors[0], "Kink", 0, 700);
    ExpectSector(sectors[1], "Esses", 700, 1500);
    ExpectSector(sectors[2], "Hairpin", 1500, 3000);

    const auto one = TrackSectors(Track({{"Only", 1234}}));
    ASSERT_EQ(one.size(), 1u);
    ExpectSector(one[0], "Only", 0, 3000);
}

TEST(TrackSectors, WithoutUsableCornersThreeEqualSectors) {
    for (const TTrackData& t :
         {Track({}), Track({{"Lost", std::numeric_limits<double>::quiet_NaN()}})}) {
        const auto sectors = TrackSectors(t);
        ASSERT_EQ(sectors.size(), 3u);
        ExpectSector(sectors[0], "S1", 0, 1000);
        ExpectSector(sectors[1], "S2", 1000, 2000);
        ExpectSector(sectors[2], "S3", 2000, 3000);
    }
    // A corner listed beyond the end never makes a sector run backwards.
    const auto past = TrackSectors(Track({{"A", 2800}, {"B", 5000}}));
    ASSERT_EQ(past.size(), 2u);
    ExpectSector(past[0], "A", 0, 3000);
    ExpectSector(past[1], "B", 3000, 3000);
}

// Laps of a simulated race on a road course with three corners: the sector times of the
// imported laps against the instants the simulator drove through the sector boundaries.
class SimulatedSectors : public testing::Test {
  protected:
    void SetUp() override {
        track = simtest::RoadCourse();
        const double feet = track.trackLength * track.inchesPerUnit / 12;
        track.cornerNames = {"One", "Two", "Three"};
        track.cornerPositions = {feet * 0.2, feet * 0.45, feet * 0.8};
        track.cornerCount = 3;
        options.track = &track;
        options.cars = 3;
        options.laps = 3;
        options.seed = 5;
        options.untidy = false;
        truth = sim::SimulateRace(options);
        const std::string path = (dir.path / "race.rpl").string();
        ASSERT_TRUE(sim::WriteSimulatedReplay(options, path).ok);
        ASSERT_EQ(OpenReplay(path, track.trackLength, track.inchesPerUnit, replay),
                  TReplayReadStatus::Ok);
        for (int32_t d = 0; d < int32_t(replay.laps.size()); ++d) {
            const auto& chain = replay.laps[size_t(d)];
            for (size_t k = 0; k < chain.size(); ++k) {
                if (IsPartialLap(chain, k)) continue;
                std::unique_ptr<TReplay> lap;
                ASSERT_EQ(ReadReplayLap(replay, d, int32_t(k), lap), TReplayReadStatus::Ok);
                laps.push_back({d, k, std::move(lap)});
            }
        }
        ASSERT_GE(laps.size(), 4u);
    }

    // The fractional frame at which driver d passed feet during lap k (between crossings
    // k - 1 and k), from the exact distances the simulator drove.
    double FrameAt(int32_t d, size_t k, double feet) const {
        const sim::DriverTruth& driver = truth.drivers[size_t(d)];
        const double begin = driver.lapCrossings[k - 1], end = driver.lapCrossings[k];
        const double length = track.trackLength * track.inchesPerUnit / 12;
        if (feet <= 0) return begin;
        if (feet >= length) return end;
        for (size_t i = size_t(std::floor(begin)); i + 1 < driver.samples.size() && i < end; ++i) {
            const double a = driver.samples[i].positionFeet, b = driver.samples[i + 1].positionFeet;
            if (b - a > 0 && b - a < length / 2 && a <= feet && feet < b)
                return double(i) + (feet - a) / (b - a);
        }
        ADD_FAILURE() << "driver " << d << " never passed " << feet << " ft in lap " << k;
        return 0;
    }

    struct Lap {
        int32_t driver;
        size_t index;
        std::unique_ptr<TReplay> lap;
    };
    TTrackData track;
    sim::SimOptions options;
    sim::RaceTruth truth;
    simtest::TempDir dir;
    TOpenReplay replay;
    std::vector<Lap> laps;
};

TEST_F(SimulatedSectors, SectorTimesAgreeWithTheDrivenLapsAndAddUpToTheLapTime) {
    std::vector<const TReplay*> pointers;
    for (const Lap& l : laps) pointers.push_back(l.lap.get());
    const TSectorTable table = ComputeSectorTable(pointers, track);
    ASSERT_EQ(table.sectors.size(), 3u);
    EXPECT_EQ(table.sectors[1].name, "Two");
    ASSERT_EQ(table.rows.size(), laps.size());
    for (size_t n = 0; n < laps.size(); ++n) {
        const Lap& l = laps[n];
        const TSectorRow& row = table.rows[n];
        ASSERT_TRUE(row.fullLap);
        double sum = 0;
        for (size_t s = 0; s < table.sectors.size(); ++s) {
            ASSERT_TRUE(row.times[s].has_value()) << n << "/" << s;
            const double driven = (FrameAt(l.driver, l.index, table.sectors[s].to) -
                                   FrameAt(l.driver, l.index, table.sectors[s].from)) /
                                  15;
            EXPECT_NEAR(*row.times[s], driven, 0.02) << "lap " << n << " sector " << s;
            sum += *row.times[s];
        }
        EXPECT_NEAR(sum, row.lapTime, 1e-6) << "lap " << n;
        EXPECT_DOUBLE_EQ(row.lapTime, (l.lap->endFrame - l.lap->startFrame) / 15);
    }
    ASSERT_TRUE(table.ideal.has_value());
    ASSERT_GE(table.fastestLap, 0);
    EXPECT_LE(*table.ideal, table.rows[size_t(table.fastestLap)].lapTime);
    for (size_t s = 0; s < table.sectors.size(); ++s) {
        ASSERT_GE(table.bestLap[s], 0);
        for (const TSectorRow& row : table.rows) EXPECT_LE(*table.bestTimes[s], *row.times[s]);
    }
}

TEST_F(SimulatedSectors, ALapAgainstItselfHasNoDeltaAndAgainstAnotherTheDrivenGap) {
    const TReplay& a = *laps[0].lap;
    const TReplay& b = *laps[1].lap;
    const double length = track.trackLength * track.inchesPerUnit / 12;
    for (double feet = 0; feet <= length; feet += length / 97) {
        const auto self = TimeDelta(a, a, feet);
        ASSERT_TRUE(self.has_value()) << feet;
        EXPECT_EQ(*self, 0.0) << feet;
    }
    const double mid = length * 0.6;
    const auto delta = TimeDelta(b, a, mid);
    ASSERT_TRUE(delta.has_value());
    const double driven = (FrameAt(laps[1].driver, laps[1].index, mid) -
                           truth.drivers[size_t(laps[1].driver)].lapCrossings[laps[1].index - 1]) /
                              15 -
                          (FrameAt(laps[0].driver, laps[0].index, mid) -
                           truth.drivers[size_t(laps[0].driver)].lapCrossings[laps[0].index - 1]) /
                              15;
    EXPECT_NEAR(*delta, driven, 0.03);
}

// Every lap through every corner: the lowest speed the table gives against the lowest speed
// the simulator drove there, frame by frame, and the differences against the reference.
// The Speed channel is a difference of inch-resolution positions over two frames, which
// scatters by about half a mile an hour around the driven speed; the lowest of such values
// can fall a little further below. Nearly all agree within 1 mph, none by more than 1.5.
TEST_F(SimulatedSectors, CornerMinimumSpeedsAgreeWithTheDrivenSpeedsWithinOneMph) {
    std::vector<const TReplay*> pointers;
    for (const Lap& l : laps) pointers.push_back(l.lap.get());
    const TCornerTable table = ComputeCornerTable(pointers, track, 1);
    ASSERT_EQ(table.corners.size(), 3u);
    double worst = 0;
    int cells = 0, withinOne = 0;
    for (size_t n = 0; n < laps.size(); ++n) {
        const sim::DriverTruth& driver = truth.drivers[size_t(laps[n].driver)];
        for (size_t c = 0; c < table.corners.size(); ++c) {
            const TSector& corner = table.corners[c];
            const TCornerCell& cell = table.laps[n][c];
            ASSERT_TRUE(cell.covered) << n << "/" << c;
            // The driven speed at the instants the car passed the sector's ends, and at every
            // frame between them.
            auto speedAt = [&](double frame) {
                const size_t i = size_t(std::floor(frame));
                const double r = frame - std::floor(frame);
                return (1 - r) * driver.samples[i].speedMph + r * driver.samples[i + 1].speedMph;
            };
            const double entry = FrameAt(laps[n].driver, laps[n].index, corner.from);
            const double exit = FrameAt(laps[n].driver, laps[n].index, corner.to);
            double driven = std::min(speedAt(entry), speedAt(exit));
            for (size_t i = size_t(std::ceil(entry)); i <= size_t(std::floor(exit)); ++i)
                driven = std::min(driven, driver.samples[i].speedMph);
            ASSERT_TRUE(std::isfinite(driven)) << n << "/" << c;
            worst = std::max(worst, std::fabs(cell.minimum - driven));
            ++cells;
            if (std::fabs(cell.minimum - driven) <= 1.0) ++withinOne;
            EXPECT_NEAR(cell.minimum, driven, 1.5) << "lap " << n << " corner " << c;
            EXPECT_GE(cell.minimumAt, corner.from);
            EXPECT_LE(cell.minimumAt, corner.to);
            EXPECT_LE(cell.minimum, std::min(cell.entry, cell.exit));
            // The difference is the sector time's against the reference lap's.
            const TSectorTable sectors = ComputeSectorTable(pointers, track, 1);
            EXPECT_DOUBLE_EQ(cell.time, *sectors.rows[n].times[c]);
            if (n == 1) {
                EXPECT_FALSE(cell.difference.has_value());
            } else {
                ASSERT_TRUE(cell.difference.has_value());
                EXPECT_DOUBLE_EQ(*cell.difference, *sectors.rows[n].differences[c]);
            }
        }
    }
    std::printf("corner minimum speeds: %d of %d within 1 mph of the driven speed, largest %.3f\n",
                withinOne, cells, worst);
    EXPECT_GE(withinOne * 20, cells * 19);
    // The best marks: no lap has a higher minimum speed than the one marked.
    for (size_t c = 0; c < table.corners.size(); ++c) {
        const int32_t best = table.best[c][size_t(TCornerColumn::Minimum)];
        ASSERT_GE(best, 0);
        for (size_t n = 0; n < laps.size(); ++n)
            EXPECT_LE(table.laps[n][c].minimum, table.laps[size_t(best)][c].minimum);
    }
}

TEST(SectorTable, PartialLapsLeaveSectorsEmptyAndTheIdealNeedsEverySector) {
    TTrackData track = Track({{"A", 500}, {"B", 1500}, {"C", 2500}});
    // Sector bounds: A 0..1000, B 1000..2000, C 2000..3000. One full lap at 100 ft per
    // frame, one partial lap from 1200 ft to the end at 150 ft per frame.
    auto make = [](int from, int step, int samples) {
        auto lap = std::make_unique<TReplay>("Lap", 1);
        lap->ResizeSamples(samples);
        for (int k = 0; k < samples; ++k) lap->positions[size_t(k)] = from + k * step;
        lap->startFrame = 0;
        lap->endFrame = samples - 1;
        lap->startPosition = from;
        lap->endPosition = from + (samples - 1) * step;
        lap->inchesPerUnit = 12;
        lap->lapLength = 3000;
        return lap;
    };
    const auto full = make(0, 100, 31);
    const auto partial = make(1200, 150, 13);
    TSectorTable table = ComputeSectorTable({full.get(), partial.get()}, track);
    ASSERT_EQ(table.rows.size(), 2u);
    EXPECT_FALSE(table.rows[1].fullLap);
    EXPECT_FALSE(table.rows[1].times[0].has_value());
    EXPECT_FALSE(table.rows[1].times[1].has_value());  // starts inside B
    ASSERT_TRUE(table.rows[1].times[2].has_value());
    EXPECT_NEAR(*table.rows[1].times[2], 1000.0 / 150 / 15, 1e-9);
    EXPECT_EQ(table.bestLap, (std::vector<int32_t>{0, 0, 1}));
    EXPECT_EQ(table.fastestLap, 0);  // the partial lap is shorter, not faster
    ASSERT_TRUE(table.ideal.has_value());
    EXPECT_NEAR(*table.ideal, 2 * 10.0 / 15 + 1000.0 / 150 / 15, 1e-9);

    // Against the full lap: only the sector both cover has a difference, 1000 / 150 / 15 less
    // 10 / 15 s; a partial lap has no lap time to compare, the reference no differences.
    table = ComputeSectorTable({full.get(), partial.get()}, track, 0);
    EXPECT_EQ(table.reference, 0);
    EXPECT_EQ(table.rows[0].differences, (std::vector<std::optional<double>>(3)));
    EXPECT_FALSE(table.rows[0].lapDifference.has_value());
    EXPECT_FALSE(table.rows[1].differences[1].has_value());
    ASSERT_TRUE(table.rows[1].differences[2].has_value());
    EXPECT_NEAR(*table.rows[1].differences[2], 1000.0 / 150 / 15 - 10.0 / 15, 1e-9);
    EXPECT_FALSE(table.rows[1].lapDifference.has_value());

    // Only the partial lap: its first two sectors have no time, so there is no ideal lap.
    table = ComputeSectorTable({partial.get()}, track);
    EXPECT_FALSE(table.ideal.has_value());
    EXPECT_EQ(table.bestLap[0], -1);
}
