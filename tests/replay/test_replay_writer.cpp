// The replay writer: file name rule, header and table layout, both modes, the 36-lap cap,
// and reading the written file back with the replay reader.
#include <gtest/gtest.h>

#include <cstring>

#include "replay/OpenReplay.h"
#include "replay/ReplayBuilder.h"
#include "replay/ReplayWriter.h"
#include "support/LapBuilder.h"

using namespace replay_test;

namespace {

constexpr int32_t kLength = 200000;
constexpr double kScale = 7.5;

std::unique_ptr<TReplay> MakeLap(int32_t j, int32_t samples) {
    auto lap = TLapBuilder(("Driver " + std::to_string(j)).c_str(), j < 3 ? 100 + j : j)
                   .Samples(samples,
                            [j](int32_t i) {
                                return TLapSample{100 + 611 * i + j, 300 - 7 * i + j,
                                                  int16_t(-1000 + 13 * i), uint8_t(i + j)};
                            })
                   .Build();
    ComputeLapBoundaries(*lap, kLength, kScale);
    return lap;
}

int32_t I32At(const std::vector<uint8_t>& b, size_t at) {
    return int32_t(uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
                   uint32_t(b[at + 3]) << 24);
}

}  // namespace

TEST(ReplayWriter, FileNameIsLowerCasedButNotItsDirectories) {
    EXPECT_EQ(ReplayExportPath("/Work/Races/MyRace"), "/Work/Races/myrace.rpl");
    EXPECT_EQ(ReplayExportPath("Sub.RPL/LAP.RPL"), "Sub.RPL/lap.rpl");
    EXPECT_EQ(ReplayExportPath("lap.rpl"), "lap.rpl");
    EXPECT_EQ(ReplayExportPath("lap.rpl.bak"), "lap.rpl.bak.rpl");
    EXPECT_EQ(ReplayExportPath("lap.rpl.rpl"), "lap.rpl.rpl.rpl");  // the first ".rpl" counts
    EXPECT_EQ(ReplayExportPath("lap.txt"), "lap.txt.rpl");
}

TEST(ReplayWriter, SideBySideWritesAtMost36CarsThatReadBack) {
    TempDir dir;
    std::vector<std::unique_ptr<TReplay>> laps;
    for (int32_t j = 0; j < 40; ++j) laps.push_back(MakeLap(j, 20 + j));
    const ReplayWriteResult result = WriteReplay(dir.File("Forty"), laps, false);
    ASSERT_EQ(result.status, ReplayWriteStatus::Exported);
    EXPECT_STREQ(result.message(), "Replay successfully exported");
    EXPECT_TRUE(result.lapsCapped);
    EXPECT_EQ(result.path, dir.File("forty.rpl"));

    const std::vector<uint8_t> b = ReadAll(result.path);
    const int32_t longest = 20 + 35;
    ASSERT_EQ(b.size(), size_t(2970 + 331 * longest));
    const int32_t expectedHeader[12] = {2954, 331 * longest, 0, 36, 1, 4, 4, 4, 4, 4, 4, 4};
    for (size_t k = 0; k < 12; ++k) EXPECT_EQ(I32At(b, 4 * k), expectedHeader[k]) << k;
    EXPECT_STREQ(reinterpret_cast<const char*>(&b[48]), "Pace Car");
    EXPECT_EQ(b[48 + 32], 0);
    EXPECT_EQ(std::memcmp(&b[48 + 33], laps[0]->driverName, 32), 0);
    EXPECT_EQ(b[48 + 33 + 32], 100);
    for (size_t k = 48 + 33 * 37; k < 2970; ++k) ASSERT_EQ(b[k], 0) << k;
    EXPECT_EQ(I32At(b, 2970 + 327), 331);
    EXPECT_EQ(b[2970], 2);            // lap 0 is slot 1
    EXPECT_EQ(b[2970 + 9 * 35], 72);  // lap 35 is slot 36

    TOpenReplay replay;
    ASSERT_EQ(OpenReplay(result.path, kLength, kScale, replay), TReplayReadStatus::Ok);
    ASSERT_EQ(replay.drivers.size(), 36u);
    EXPECT_EQ(replay.header.PaceOffset, 1);
    for (int32_t j : {0, 7, 35}) {
        EXPECT_STREQ(replay.drivers[size_t(j)].name, laps[size_t(j)]->driverName);
        EXPECT_EQ(replay.drivers[size_t(j)].carNumber, int8_t(laps[size_t(j)]->carNumber));
        std::unique_ptr<TReplay> back;
        ASSERT_EQ(ReadReplayLap(replay, j, 0, back), TReplayReadStatus::Ok);
        ASSERT_EQ(back->sampleCount, longest);
        const TReplay& lap = *laps[size_t(j)];
        for (int32_t i = 0; i < lap.sampleCount; ++i) {
            const int32_t want = lap.positions[size_t(i)];
            EXPECT_TRUE(back->positions[size_t(i)] == want ||
                        back->positions[size_t(i)] == want - 1)
                << i;
            EXPECT_LE(std::abs(back->lines[size_t(i)] - lap.lines[size_t(i)]), 1) << i;
            EXPECT_EQ(back->headings[size_t(i)], lap.headings[size_t(i)]);
            EXPECT_EQ(back->auxBytes[size_t(i)], lap.auxBytes[size_t(i)]);
        }
        // Past its own end a lap keeps its last heading and aux value.
        EXPECT_EQ(back->headings.back(), lap.headings.back());
        EXPECT_EQ(back->auxBytes.back(), lap.auxBytes.back());
    }
}

TEST(ReplayWriter, SeparateLapsFollowEachOtherAsOneCar) {
    TempDir dir;
    std::vector<std::unique_ptr<TReplay>> laps;
    laps.push_back(MakeLap(5, 300));
    laps.push_back(MakeLap(6, 310));
    const ReplayWriteResult result = WriteReplay(dir.File("SEP.RPL"), laps, true);
    ASSERT_EQ(result.status, ReplayWriteStatus::Exported);
    EXPECT_FALSE(result.lapsCapped);
    EXPECT_EQ(result.path, dir.File("sep.rpl"));
    const std::vector<uint8_t> b = ReadAll(result.path);
    ASSERT_EQ(b.size(), size_t(2970 + 16 * 610));
    EXPECT_EQ(I32At(b, 4), 16 * 610);
    EXPECT_EQ(I32At(b, 12), 1);
    EXPECT_EQ(std::memcmp(&b[48 + 66], laps[1]->driverName, 32), 0);  // three entries
    for (size_t f = 0; f < 610; f += 101) {
        EXPECT_EQ(b[2970 + 16 * f], 2);
        EXPECT_EQ(I32At(b, 2970 + 16 * f + 12), 16);
    }

    TOpenReplay replay;
    ASSERT_EQ(OpenReplay(result.path, kLength, kScale, replay), TReplayReadStatus::Ok);
    ASSERT_EQ(replay.drivers.size(), 1u);
    EXPECT_STREQ(replay.drivers[0].name, laps[0]->driverName);
    // The second lap starts back at the line, so the scan cuts the one car's run there.
    ASSERT_EQ(replay.laps[0].size(), 2u);
    EXPECT_EQ(replay.laps[0][0].FrameCount, 300);
    EXPECT_EQ(replay.laps[0][1].FrameCount, 310);
    EXPECT_EQ(replay.laps[0][1].FileOffset, 2970 + 16 * 300);
    std::unique_ptr<TReplay> back;
    ASSERT_EQ(ReadReplayLap(replay, 0, 1, back), TReplayReadStatus::Ok);
    ASSERT_EQ(back->sampleCount, 310);
    EXPECT_EQ(back->headings, laps[1]->headings);
    EXPECT_TRUE(back->positions[0] == laps[1]->positions[0] ||
                back->positions[0] == laps[1]->positions[0] - 1);
}

TEST(ReplayWriter, UncreatableFileIsReported) {
    TempDir dir;
    std::vector<std::unique_ptr<TReplay>> laps;
    laps.push_back(MakeLap(0, 10));
    const ReplayWriteResult result = WriteReplay(dir.File("no/such/dir/x"), laps, false);
    EXPECT_EQ(result.status, ReplayWriteStatus::CreateFailed);
    EXPECT_STREQ(result.message(), "Error creating replay");
}

namespace {

// Regression: sizes past the format's 32-bit fields wrapped and wrote a corrupt replay.
// 36 laps of 6.5 million samples: (9 x 36 + 7) x 6,500,000 bytes of frames is more than a
// 32-bit data size can say. The writer refuses before writing, and an earlier file stays.
TEST(ReplayWriter, SizesBeyondThe32BitFieldsAreRefusedBeforeWriting) {
    TempDir dir;
    const std::string path = dir.Write("big.rpl", {'o', 'l', 'd'});
    TReplay huge("Long Run", 7);
    huge.sampleCount = 6500000;  // never read: the sizes are checked first
    huge.inchesPerUnit = kScale;
    const std::vector<const TReplay*> laps(36, &huge);
    for (bool separate : {false, true}) {
        const ReplayWriteResult r = WriteReplay(path, laps, separate);
        EXPECT_EQ(r.status, ReplayWriteStatus::WriteFailed) << separate;
        EXPECT_STREQ(r.message(), "Error exporting replay");
        EXPECT_EQ(ReadAll(path), (std::vector<uint8_t>{'o', 'l', 'd'}));
    }
    // The largest replay that fits still exports (checked by its sizes only: one short lap).
    auto lap = MakeLap(0, 40);
    const std::vector<const TReplay*> one{lap.get()};
    EXPECT_EQ(WriteReplay(path, one, false).status, ReplayWriteStatus::Exported);
    size_t files = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.File(""))) ++files;
    EXPECT_EQ(files, 1u);  // no temporary file left by the refusals
}

}  // namespace
