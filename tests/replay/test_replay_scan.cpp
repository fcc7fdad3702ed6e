// Header, driver table and lap scan against replays built byte by byte.
#include <gtest/gtest.h>

#include "replay/ReplayBuilder.h"
#include "replay/ReplayFile.h"
#include "replay/Scan.h"

using namespace replay_test;

namespace {

struct Opened {
    TReplayFile file;
    TReplayHeader header;
    std::vector<TReplayDriver> drivers;
    int32_t dataSize = 0;
};

void OpenBytes(const TempDir& dir, const std::vector<uint8_t>& bytes, Opened& o,
               int32_t trackLength = 10000) {
    ASSERT_TRUE(o.file.Open(dir.Write("r.rpl", bytes)));
    o.header.TrackLength = trackLength;
    o.header.TrackScale = 6.0;
    o.dataSize = ReadReplayHeader(o.file, o.header, o.drivers);
}

}  // namespace

TEST(ReplayHeader, PaceCarEntryIsSkippedAndNamesAreFixedUp) {
    TempDir dir;
    const std::string longName(32, 'L');
    ReplayBuilder b(3);
    b.Driver("Pace Car", 0).Driver("Ann", 7).Driver("", 24).Driver(longName, 105);
    b.Frame({{1, 10}, {2, 20}, {3, 30}});
    Opened o;
    OpenBytes(dir, b.Bytes(), o);
    ASSERT_GT(o.dataSize, 0);
    EXPECT_EQ(o.header.PaceOffset, 1);
    EXPECT_EQ(o.header.DriverCount, 3);
    ASSERT_EQ(o.drivers.size(), 3u);
    EXPECT_STREQ(o.drivers[0].name, "Ann");
    EXPECT_STREQ(o.drivers[1].name, "Unknown");
    EXPECT_EQ(std::string(o.drivers[2].name), std::string(31, 'L'));
    EXPECT_EQ(DriverListText(o.drivers[0]), " #7 - Ann");
    EXPECT_EQ(DriverListText(o.drivers[1]), "#24 - Unknown");
    EXPECT_EQ(DriverListText(o.drivers[2]), "#05 - " + std::string(31, 'L'));
}

TEST(ReplayHeader, ModeFiveHasNoPaceCarAndSlotZeroIsTheFirstDriver) {
    TempDir dir;
    ReplayBuilder b(2, 5);
    b.Driver("First", 3).Driver("Second", 103);
    b.Frame({{0, 100}, {1, 200}}).Frame({{0, 5000}, {1, 300}}).Frame({{0, 9900}, {1, 300}});
    b.Frame({{0, 400}, {1, 400}});
    Opened o;
    OpenBytes(dir, b.Bytes(), o);
    EXPECT_EQ(o.header.PaceOffset, 0);
    EXPECT_STREQ(o.drivers[0].name, "First");
    EXPECT_EQ(DriverListText(o.drivers[0]), " #3 - First");
    EXPECT_EQ(DriverListText(o.drivers[1]), "#03 - Second");
    TReplayLaps laps;
    ASSERT_TRUE(ScanLaps(o.file, o.dataSize, o.header, laps));
    EXPECT_EQ(laps[0].size(), 2u);  // slot 0 crossed the line at frame 3
    EXPECT_EQ(laps[1].size(), 1u);
}

TEST(ReplayHeader, HostileHeadersAreRefusedWithoutAllocating) {
    TempDir dir;
    ReplayBuilder good(1);
    good.Driver("Pace Car", 0).Driver("A", 1).Frame({{1, 10}});
    const std::vector<uint8_t> bytes = good.Bytes();

    auto headerOf = [&](std::vector<uint8_t> b) {
        Opened o;
        EXPECT_TRUE(o.file.Open(dir.Write("h.rpl", b)));
        return ReadReplayHeader(o.file, o.header, o.drivers);
    };
    auto with32 = [&](size_t at, int32_t v) {
        std::vector<uint8_t> b = bytes;
        for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(uint32_t(v) >> (8 * i));
        return b;
    };
    EXPECT_GT(headerOf(bytes), 0);
    EXPECT_EQ(headerOf(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 15)), 0);  // short
    EXPECT_EQ(headerOf(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 20)),
              0);                          // no mode byte
    EXPECT_EQ(headerOf(with32(4, 0)), 0);  // D of 0
    EXPECT_EQ(headerOf(with32(4, -5)), 0);
    EXPECT_EQ(headerOf(with32(12, -1)), 0);          // negative driver count
    EXPECT_EQ(headerOf(with32(12, 0x7fffffff)), 0);  // more entries than the file holds
    EXPECT_EQ(headerOf(with32(12, 2)), 0);           // the table runs into the frames' end
}

TEST(ReplayScan, LapsAreCutAtForwardCrossingsWithInterpolatedLengths) {
    TempDir dir;
    ReplayBuilder b(2);
    b.Driver("Pace Car", 0).Driver("Crosser", 1).Driver("Stayer", 2).Gap(37);
    const int32_t pos[8] = {8000, 9000, 500, 3500, 6500, 9500, 500, 1500};
    for (int f = 0; f < 8; ++f) b.Frame({{1, pos[f]}, {2, 100 + f}}, {f == 3 ? 2 : 0, 1, 0});
    Opened o;
    OpenBytes(dir, b.Bytes(), o);
    TReplayLaps laps;
    ASSERT_TRUE(ScanLaps(o.file, o.dataSize, o.header, laps));
    ASSERT_EQ(laps.size(), 2u);

    const auto& c = laps[0];
    ASSERT_EQ(c.size(), 3u);
    const double m2 = 500.0 / 1000.0;
    EXPECT_EQ(c[0].FileOffset, b.FrameOffset(0));
    EXPECT_EQ(c[0].FrameCount, 2);
    // Seen on both sides of the line, a lap ends where its last two samples reach the line
    // and starts where its first two reach back to it (500 - 3000 a frame before 500), as
    // the lap read from the replay does; 9000 lies farther short of the line than that
    // takes as reaching it, so the first crossing is interpolated (1000 of 1500 units).
    EXPECT_EQ(c[0].EndFrame, 1 + 1000.0 / 1500.0);
    EXPECT_EQ(c[0].ExactFrames, c[0].EndFrame);
    EXPECT_EQ(c[1].FileOffset, b.FrameOffset(2));
    EXPECT_EQ(c[1].FrameCount, 4);
    EXPECT_EQ(c[1].StartFrame, -500.0 / 3000.0);
    EXPECT_EQ(c[1].EndFrame, 500.0 / 3000.0 + 3);
    EXPECT_DOUBLE_EQ(c[1].ExactFrames, 1.0 / 6 + 3 + 1.0 / 6);
    EXPECT_EQ(c[2].FileOffset, b.FrameOffset(6));
    EXPECT_EQ(c[2].FrameCount, 2);
    EXPECT_EQ(c[2].StartFrame, m2 - 1);
    EXPECT_EQ(c[2].ExactFrames, (1 - m2) + 2);

    // Never crossing: one partial lap over the whole recording.
    ASSERT_EQ(laps[1].size(), 1u);
    EXPECT_EQ(laps[1][0].FileOffset, b.FrameOffset(0));
    EXPECT_EQ(laps[1][0].FrameCount, 8);
    EXPECT_EQ(laps[1][0].ExactFrames, 8.0);

    EXPECT_EQ(LapDescription(c, 0, true, o.header), "(partial)");
    EXPECT_EQ(LapDescription(c, 2, false, o.header), "(partial)");
    char expected[64];
    std::snprintf(expected, sizeof expected, "%8.3f s", c[1].ExactFrames / 15);
    EXPECT_EQ(LapDescription(c, 1, true, o.header), expected);
    EXPECT_EQ(LapDescription(c, 1, true, o.header), "   0.222 s");
    const double mph = (10000 * 6.0 / 12 / 5280) / (c[1].ExactFrames / 15) * 3600;
    std::snprintf(expected, sizeof expected, "%9.3f mph", mph);
    EXPECT_EQ(LapDescription(c, 1, false, o.header), expected);
    EXPECT_TRUE(IsPartialLap(c, 0));
    EXPECT_FALSE(IsPartialLap(c, 1));
    EXPECT_TRUE(IsPartialLap(c, 2));
}

TEST(ReplayScan, BackwardCrossingsAreUndoneBeforeANewLap) {
    TempDir dir;
    ReplayBuilder b(2);
    b.Driver("Pace Car", 0).Driver("Roller", 1).Driver("Late", 2);
    // Roller: over the line, back over it, forwards again (no new lap), then a real lap.
    // Late: absent from frame 0, first seen beyond half a lap (a backward crossing against 0),
    // so its next forward crossing starts no lap.
    b.Frame({{1, 9800}});
    b.Frame({{1, 100}, {2, 8000}});   // forward: lap 1 starts
    b.Frame({{1, 9900}, {2, 9000}});  // backward
    b.Frame({{1, 200}, {2, 500}});    // forward, undoes the backward one
    b.Frame({{1, 5000}, {2, 5000}});
    b.Frame({{1, 9900}, {2, 9900}});
    b.Frame({{1, 300}, {2, 300}});  // forward: Roller's lap 2, Late's first lap ends
    Opened o;
    OpenBytes(dir, b.Bytes(), o);
    TReplayLaps laps;
    ASSERT_TRUE(ScanLaps(o.file, o.dataSize, o.header, laps));
    ASSERT_EQ(laps[0].size(), 3u);
    EXPECT_EQ(laps[0][1].FileOffset, b.FrameOffset(1));
    EXPECT_EQ(laps[0][1].FrameCount, 5);
    EXPECT_EQ(laps[0][2].FileOffset, b.FrameOffset(6));
    ASSERT_EQ(laps[1].size(), 2u);
    EXPECT_EQ(laps[1][0].FrameCount, 6);
    EXPECT_EQ(laps[1][1].FileOffset, b.FrameOffset(6));
}

TEST(ReplayScan, CrossingBoundsOnAnOddLengthTruncateTowardZero) {
    TempDir dir;
    ReplayBuilder b(2);
    b.Driver("Pace Car", 0).Driver("Edge", 1).Driver("Back", 2);
    // Length 10001: a forward crossing needs a drop of more than 5000, a backward one a rise
    // of more than 5000. Edge drops exactly 5000 (nothing), rises 5000 (nothing), then drops
    // 5001 (a new lap). Back rises 5001 (backward), then drops 5001 (undone, no lap).
    b.Frame({{1, 6000}, {2, 1000}});
    b.Frame({{1, 1000}, {2, 6001}});
    b.Frame({{1, 6000}, {2, 1000}});
    b.Frame({{1, 999}, {2, 1000}});
    Opened o;
    OpenBytes(dir, b.Bytes(), o, 10001);
    TReplayLaps laps;
    ASSERT_TRUE(ScanLaps(o.file, o.dataSize, o.header, laps));
    ASSERT_EQ(laps[0].size(), 2u);
    EXPECT_EQ(laps[0][1].FileOffset, b.FrameOffset(3));
    EXPECT_EQ(laps[0][0].FrameCount, 3);
    EXPECT_EQ(laps[1].size(), 1u);
}

TEST(ReplayScan, DataBlockIsFoundFromTheEndAndSkipCountsAreUnsigned) {
    TempDir dir;
    ReplayBuilder b(1);
    b.Driver("Pace Car", 0).Driver("A", 1).Gap(1000);
    // A first skip list of 200 entries: read as an unsigned count it is 2800 bytes long.
    b.Frame({{1, 100}}, {200, 0, 130}).Frame({{1, 200}}, {0, 255, 0}).Frame({{1, 300}});
    Opened o;
    OpenBytes(dir, b.Bytes(), o);
    TReplayLaps laps;
    ASSERT_TRUE(ScanLaps(o.file, o.dataSize, o.header, laps));
    ASSERT_EQ(laps[0].size(), 1u);
    EXPECT_EQ(laps[0][0].FrameCount, 3);
}

TEST(ReplayScan, HostileDataBlocksFailTheScan) {
    TempDir dir;
    auto scan = [&](const ReplayBuilder& b) {
        Opened o;
        OpenBytes(dir, b.Bytes(), o);
        if (o.dataSize == 0) return true;  // would be a header error instead
        TReplayLaps laps;
        const bool ok = ScanLaps(o.file, o.dataSize, o.header, laps);
        if (!ok) {
            EXPECT_TRUE(laps.empty());
        }
        return ok;
    };
    auto base = [] {
        ReplayBuilder b(1);
        b.Driver("Pace Car", 0).Driver("A", 1);
        return b;
    };
    {
        ReplayBuilder b = base();
        b.Frame({{1, 1}}).Frame({{1, 2}});
        EXPECT_TRUE(scan(b));
    }
    {
        ReplayBuilder b = base();
        b.Frame({{1, 1}}).ForceDataSize(1 << 30);  // larger than the file
        EXPECT_FALSE(scan(b));
    }
    for (int32_t length : {0, -16}) {  // would never reach the end of the block
        ReplayBuilder b = base();
        b.Frame({{1, 1}}, {0, 0, 0}, length).Frame({{1, 2}});
        EXPECT_FALSE(scan(b));
    }
    {
        ReplayBuilder b = base();  // a frame whose skip list runs past the end
        b.Frame({{1, 1}}).Frame({{1, 2}}, {0, 0, 0}, 4000);
        std::vector<uint8_t> bytes = b.Bytes();
        bytes[bytes.size() - 7] = 250;
        Opened o;
        OpenBytes(dir, bytes, o);
        TReplayLaps laps;
        EXPECT_FALSE(ScanLaps(o.file, o.dataSize, o.header, laps));
    }
}
