// Reading one lap's samples: the chosen slot, the trim, the gap filling and the boundaries.
#include <gtest/gtest.h>

#include <optional>

#include "replay/LapSamples.h"
#include "replay/OpenReplay.h"
#include "replay/ReplayBuilder.h"

using namespace replay_test;

namespace {

constexpr int32_t kLength = 10000;

// One driver (slot 1) plus a second car in slot 2 that must never leak into the lap.
// Absent entries (nullopt) leave the driver out of that frame.
std::vector<uint8_t> LapReplay(const std::vector<std::optional<Car>>& frames) {
    ReplayBuilder b(2);
    b.Driver("Pace Car", 0).Driver("Driver", 12).Driver("Other", 13);
    for (const auto& c : frames) {
        std::vector<Car> cars{{2, 4321, -7, 99, 1}};
        if (c) cars.insert(cars.begin(), *c);
        b.Frame(cars, {1, 0, 2});
    }
    return b.Bytes();
}

struct Read {
    bool ok = false;
    TReplay lap{"Driver", 12};
};

void ReadWhole(const TempDir& dir, const std::vector<uint8_t>& bytes, int32_t frameCount, Read& r) {
    TReplayFile file;
    ASSERT_TRUE(file.Open(dir.Write("lap.rpl", bytes)));
    TReplayHeader h;
    h.TrackLength = kLength;
    h.TrackScale = 6.0;
    std::vector<TReplayDriver> drivers;
    ASSERT_GT(ReadReplayHeader(file, h, drivers), 0);
    ASSERT_TRUE(file.Seek(48 + 33 * 3));
    h.Slot = 1;
    h.FrameCount = frameCount;
    r.ok = ReadLapSamples(file, r.lap, h);
}

}  // namespace

TEST(LapSamples, GapsAreInterpolatedTruncatingTowardZeroAndTheEndIsTrimmed) {
    TempDir dir;
    const std::optional<Car> gap;
    Read r;
    ReadWhole(dir,
              LapReplay({gap, gap, Car{1, 50, 3, -5, 40}, Car{1, 100, 0, 32000, 10}, gap, gap,
                         Car{1, 400, -5, -32000, 250}, Car{1, 500, 1, 0, 0}, gap, gap}),
              10, r);
    ASSERT_TRUE(r.ok);
    const TReplay& lap = r.lap;
    ASSERT_EQ(lap.sampleCount, 8);
    ASSERT_EQ(lap.positions.size(), 8u);
    // The leading gap takes the first present sample's values.
    EXPECT_EQ(lap.positions, (std::vector<int32_t>{50, 50, 50, 100, 200, 300, 400, 500}));
    EXPECT_EQ(lap.lines, (std::vector<int32_t>{3, 3, 3, 0, -1, -3, -5, 1}));
    EXPECT_EQ(lap.headings, (std::vector<int16_t>{-5, -5, -5, 32000, 10667, -10666, -32000, 0}));
    EXPECT_EQ(lap.auxBytes, (std::vector<uint8_t>{40, 40, 40, 10, 90, 170, 250, 0}));
    EXPECT_EQ(lap.inchesPerUnit, 6.0);
    EXPECT_EQ(lap.lapLength, kLength);
}

TEST(LapSamples, ShortOrAbsentLapsAndTruncatedFramesFail) {
    TempDir dir;
    const std::optional<Car> gap;
    std::vector<std::optional<Car>> frames;
    for (int f = 0; f < 6; ++f) frames.push_back(Car{1, 100 * f});
    {
        Read r;
        ReadWhole(dir, LapReplay(frames), 3, r);  // 3 frames or fewer
        EXPECT_FALSE(r.ok);
    }
    {
        Read r;
        ReadWhole(dir, LapReplay({gap, gap, gap, gap, gap}), 5, r);  // never present
        EXPECT_FALSE(r.ok);
    }
    {
        Read r;
        ReadWhole(dir, LapReplay({Car{1, 1}, Car{1, 2}, Car{1, 3}, gap, gap, gap}), 6, r);
        EXPECT_FALSE(r.ok);  // 3 samples left after the trim
    }
    {
        Read r;
        ReadWhole(dir, LapReplay(frames), 7, r);  // one frame more than the file holds
        EXPECT_FALSE(r.ok);
    }
    {
        Read r;
        ReadWhole(dir, LapReplay(frames), 2000000000, r);  // absurd count: refused, not allocated
        EXPECT_FALSE(r.ok);
    }
    {
        Read r;
        ReadWhole(dir, LapReplay(frames), 6, r);
        ASSERT_TRUE(r.ok);
        EXPECT_EQ(r.lap.sampleCount, 6);
    }
}

TEST(LapBoundaries, StartAndEndSitOnTheLineCrossings) {
    auto lapOf = [](std::vector<int32_t> pos) {
        auto lap = std::make_unique<TReplay>("X", 1);
        lap->positions = pos;
        lap->sampleCount = int32_t(pos.size());
        ComputeLapBoundaries(*lap, kLength, 6.0);
        return lap;
    };
    {
        auto lap =
            lapOf({100, 600, 9000, 9800});  // crossing extrapolated back; 200 short at the end
        EXPECT_EQ(lap->startFrame, -100.0 / 500.0);
        EXPECT_EQ(lap->startPosition, 100 + 500 * (-100.0 / 500.0));
        EXPECT_EQ(lap->endFrame, 200.0 / 800.0 + 3);
        EXPECT_EQ(lap->endPosition, double(kLength));
    }
    {
        auto lap = lapOf({2000, 2500, 9000, 9296});  // began part way round; exactly 704 short
        EXPECT_EQ(lap->startFrame, 0.0);
        EXPECT_EQ(lap->startPosition, 2000.0);
        EXPECT_EQ(lap->endFrame, 704.0 / 296.0 + 3);
        EXPECT_EQ(lap->endPosition, double(kLength));
    }
    {
        auto lap = lapOf({500, 500, 9000, 9295});  // standing start; 705 short: recording ended
        EXPECT_EQ(lap->startFrame, 0.0);
        EXPECT_EQ(lap->startPosition, 500.0);
        EXPECT_EQ(lap->endFrame, 4.0);
        EXPECT_EQ(lap->endPosition, 9295.0);
    }
    {
        auto lap = lapOf({0, 400, 9900, 9900});  // standing at the end
        EXPECT_EQ(lap->startFrame, 0.0);
        EXPECT_EQ(lap->startPosition, 0.0);
        EXPECT_EQ(lap->endFrame, 4.0);
        EXPECT_EQ(lap->endPosition, 9900.0);
        EXPECT_EQ(lap->lapLength, kLength);
    }
}

TEST(OpenReplay, OpensScansAndReadsALapByDriverAndLapNumber) {
    TempDir dir;
    ReplayBuilder b(2);
    b.Driver("Pace Car", 0).Driver("Ann", 7).Driver("Bob", 108);
    const int32_t pos[9] = {8000, 9000, 500, 3000, 5500, 8000, 9800, 800, 2000};
    for (int f = 0; f < 9; ++f)
        b.Frame({{2, 50}, {1, pos[f], int16_t(f), int16_t(-f), uint8_t(f)}});
    const std::string path = dir.Write("Mixed.Case.RPL", b.Bytes());

    TOpenReplay replay;
    EXPECT_EQ(OpenReplay(dir.File("missing.rpl"), kLength, 6.0, replay),
              TReplayReadStatus::ErrorOpeningReplay);
    // Regression: a directory was opened as a replay.
    EXPECT_EQ(OpenReplay(dir.File(""), kLength, 6.0, replay),
              TReplayReadStatus::ErrorOpeningReplay);  // a directory
    ASSERT_EQ(OpenReplay(path, kLength, 6.0, replay), TReplayReadStatus::Ok);
    EXPECT_EQ(replay.replayName, "Mixed.Case.RPL");
    ASSERT_EQ(replay.laps.size(), 2u);
    ASSERT_EQ(replay.laps[0].size(), 3u);

    std::unique_ptr<TReplay> lap;
    EXPECT_EQ(ReadReplayLap(replay, 0, 3, lap), TReplayReadStatus::ErrorFindingLapData);
    EXPECT_EQ(ReadReplayLap(replay, 2, 0, lap), TReplayReadStatus::ErrorFindingLapData);
    EXPECT_EQ(ReadReplayLap(replay, 0, 0, lap),
              TReplayReadStatus::ErrorReadingLapData);  // 2 frames
    EXPECT_EQ(lap, nullptr);
    ASSERT_EQ(ReadReplayLap(replay, 0, 1, lap), TReplayReadStatus::Ok);
    EXPECT_STREQ(lap->driverName, "Ann");
    EXPECT_EQ(lap->carNumber, 7);
    EXPECT_EQ(replay.header.Slot, 1);
    EXPECT_EQ(replay.header.FrameCount, 5);
    EXPECT_EQ(lap->positions, (std::vector<int32_t>{500, 3000, 5500, 8000, 9800}));
    EXPECT_EQ(lap->lines, (std::vector<int32_t>{2, 3, 4, 5, 6}));
    EXPECT_EQ(lap->startFrame, -500.0 / 2500.0);
    EXPECT_EQ(lap->endFrame, 200.0 / 1800.0 + 4);
    ASSERT_EQ(ReadReplayLap(replay, 1, 0, lap), TReplayReadStatus::Ok);
    EXPECT_EQ(lap->carNumber, 108);
    EXPECT_EQ(lap->sampleCount, 9);
}

TEST(OpenReplay, SeveralLapsForAnAverageMustAllBeFull) {
    TempDir dir;
    ReplayBuilder b(1);
    b.Driver("Pace Car", 0).Driver("Ann", 7);
    for (int f = 0; f < 45; ++f) b.Frame({{1, (f * 1000 + 500) % kLength}});
    TOpenReplay replay;
    ASSERT_EQ(OpenReplay(dir.Write("avg.rpl", b.Bytes()), kLength, 6.0, replay),
              TReplayReadStatus::Ok);
    ASSERT_EQ(replay.laps[0].size(), 5u);  // partial, three full laps of 10 frames, partial

    std::vector<std::unique_ptr<TReplay>> laps;
    EXPECT_EQ(ReadReplayLaps(replay, 0, {1, 4}, laps), TReplayReadStatus::PartialLapsInAverage);
    EXPECT_EQ(ReadReplayLaps(replay, 0, {0, 2}, laps), TReplayReadStatus::PartialLapsInAverage);
    EXPECT_TRUE(laps.empty());
    EXPECT_EQ(ReadReplayLaps(replay, 0, {1, 7}, laps), TReplayReadStatus::ErrorFindingLapData);
    EXPECT_TRUE(laps.empty());
    ASSERT_EQ(ReadReplayLaps(replay, 0, {3, 1}, laps), TReplayReadStatus::Ok);
    ASSERT_EQ(laps.size(), 2u);
    EXPECT_EQ(laps[0]->positions[0], 500);
    EXPECT_EQ(laps[0]->sampleCount, 10);
    // A single lap may be a partial one: it is imported as it is.
    ASSERT_EQ(ReadReplayLaps(replay, 0, {4}, laps), TReplayReadStatus::Ok);
    EXPECT_EQ(laps[0]->sampleCount, 5);
}

namespace {
// The import shows these texts; the command decides on the status, never on the text.
TEST(ReplayReadStatus, EachStatusHasItsMessage) {
    EXPECT_STREQ(ReplayReadMessage(TReplayReadStatus::Ok), "");
    EXPECT_STREQ(ReplayReadMessage(TReplayReadStatus::ErrorOpeningReplay), "Error opening replay");
    EXPECT_STREQ(ReplayReadMessage(TReplayReadStatus::ErrorReadingReplayHeader),
                 "Error reading replay header");
    EXPECT_STREQ(ReplayReadMessage(TReplayReadStatus::ErrorReadingReplayData),
                 "Error reading replay data");
    EXPECT_STREQ(ReplayReadMessage(TReplayReadStatus::ErrorFindingLapData),
                 "Error finding lap data");
    EXPECT_STREQ(ReplayReadMessage(TReplayReadStatus::ErrorReadingLapData),
                 "Error reading lap data");
    EXPECT_STREQ(ReplayReadMessage(TReplayReadStatus::PartialLapsInAverage),
                 "Partial laps may not be used in averaging");
}
}  // namespace
