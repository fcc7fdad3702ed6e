#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/ProfileFile.h"
#include "track/TrackDataFile.h"
#include "track/TrackList.h"

namespace fs = std::filesystem;

namespace {

std::unique_ptr<TTrackData> Track(const std::string& name, uint8_t id) {
    auto t = std::make_unique<TTrackData>();
    t->name = name;
    t->trackId = id;
    t->trackLength = 1000 + id;
    t->inchesPerUnit = 1;
    return t;
}

TEST(TrackList, SortsWithoutRegardToCaseAndKeepsEqualNamesInOrder) {
    TTrackList list;
    EXPECT_EQ(list.Insert(Track("mid", 1)), 0);
    EXPECT_EQ(list.Insert(Track("Alpha", 2)), 0);
    EXPECT_EQ(list.Insert(Track("MID", 3)), 2);  // after the equal "mid"
    EXPECT_EQ(list.Insert(Track("zulu", 4)), 3);
    EXPECT_EQ(list.Insert(Track("Mid", 5)), 3);   // after both equal names
    EXPECT_EQ(list.Insert(Track("beta", 6)), 1);  // 'b' sorts before 'M' without case
    ASSERT_EQ(list.Count(), 6);
    const uint8_t order[] = {2, 6, 1, 3, 5, 4};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(list.At(i).trackId, order[i]) << i;
}

TEST(TrackList, LookUpsByIdAndByName) {
    TTrackList list;
    list.Insert(Track("Oval", 7));
    list.Insert(Track("Road", 12));
    list.Insert(Track("oval", 7));  // a second track with the same id and name
    EXPECT_EQ(list.FindById(7), 0);
    EXPECT_EQ(list.FindById(12), 2);
    EXPECT_EQ(list.FindById(99), -1);
    EXPECT_EQ(list.FindByName("OVAL"), 0);
    EXPECT_EQ(list.FindByName("road"), 2);
    EXPECT_EQ(list.FindByName("Roa"), -1);
    EXPECT_EQ(list.FindByName(""), -1);
    EXPECT_LT(CompareTrackNames("a", "B"), 0);
    EXPECT_LT(CompareTrackNames("ab", "ABC"), 0);
    EXPECT_EQ(CompareTrackNames("Kestrel", "kESTREL"), 0);
}

class LoadTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("korvale-load-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
        settings_ = std::make_unique<ProfileFile>((dir_ / "korvale.ini").string());
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Write(int32_t version, std::vector<std::string> names) {
        TTrackDataFile file;
        file.header = {11, 22, 33, 44};
        file.version = version;
        uint8_t id = 1;
        for (const auto& n : names) file.records.push_back(Track(n, id++));
        std::string path = (dir_ / "tracks.dat").string(), error;
        EXPECT_TRUE(WriteTrackDataFile(path, file, error)) << error;
        return path;
    }

    fs::path dir_;
    std::unique_ptr<ProfileFile> settings_;
};

TEST_F(LoadTest, VersionIsAnnouncedOnceAndRecorded) {
    std::string path = Write(107, {"b", "a"});
    TTrackList list;
    TrackLoadResult r = LoadTrackData(path, *settings_, list);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.message, "");
    EXPECT_EQ(r.versionMessage, "Installed track data version 1.07");
    EXPECT_EQ(settings_->ReadText("admin", "trackver", ""), "107");
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.At(0).name, "a");

    r = LoadTrackData(path, *settings_, list);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.versionMessage, "");
    EXPECT_EQ(list.Count(), 2);  // re-loading replaces, never appends

    path = Write(210, {"c"});
    r = LoadTrackData(path, *settings_, list);
    EXPECT_EQ(r.versionMessage, "Installed track data version 2.10");
    EXPECT_EQ(settings_->ReadInt("admin", "trackver", 0), 210);
}

TEST_F(LoadTest, VersionZeroOnAFirstRunIsNotAnnounced) {
    std::string path = Write(0, {"a"});
    TTrackList list;
    TrackLoadResult r = LoadTrackData(path, *settings_, list);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.versionMessage, "");
    EXPECT_FALSE(fs::exists(settings_->path()));
}

TEST_F(LoadTest, FailuresGiveTheirMessagesAndAnEmptyList) {
    TTrackList list;
    list.Insert(Track("stale", 1));
    TrackLoadResult r = LoadTrackData((dir_ / "missing.dat").string(), *settings_, list);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, "Unable to open track data");
    EXPECT_EQ(list.Count(), 0);

    std::string path = Write(5, {"a", "b"});
    fs::resize_file(path, 20);  // inside the header's T
    r = LoadTrackData(path, *settings_, list);
    EXPECT_EQ(r.message, "Unable to read track data");

    path = Write(5, {"a", "b"});
    fs::resize_file(path, fs::file_size(path) - 1);  // inside the last record
    r = LoadTrackData(path, *settings_, list);
    EXPECT_EQ(r.message, "Unable to open track data");
    EXPECT_EQ(list.Count(), 0);
    // A failed load announces and records nothing.
    EXPECT_EQ(r.versionMessage, "");
    EXPECT_FALSE(fs::exists(settings_->path()));
}

// ---- the sample track database built into the binary folder ----------------------------

const std::string kSample = std::string(KORVALE_BIN_DIR) + "/tracks.dat";

TEST(SampleTracks, ThreePlausibleTracks) {
    TTrackDataFile file;
    ASSERT_EQ(ReadTrackDataFile(kSample, file), TrackReadStatus::Ok);
    TTrackList list;
    for (auto& t : file.records) list.Insert(std::move(t));
    ASSERT_EQ(list.Count(), 3);
    int oval = list.FindByName("Marlow Flats Speedway"),
        road = list.FindByName("Kestrel Ridge Circuit"),
        shortTrack = list.FindByName("Pinecrest Bullring");
    ASSERT_GE(oval, 0);
    ASSERT_GE(road, 0);
    ASSERT_GE(shortTrack, 0);

    auto miles = [](const TTrackData& t) { return t.trackLength * t.inchesPerUnit / 12 / 5280; };
    const TTrackData& o = list.At(oval);
    EXPECT_NEAR(miles(o), 1.5, 0.05);
    EXPECT_EQ(o.cornerCount, 4);
    EXPECT_GT(o.pointCount, 100);

    const TTrackData& r = list.At(road);
    EXPECT_NEAR(miles(r), 2.5, 0.05);
    EXPECT_GE(r.cornerCount, 10);
    EXPECT_EQ(r.widthCount, r.pointCount);
    EXPECT_LT(r.anchorCount, 0);
    EXPECT_GE(r.others.size(), 1u);
    EXPECT_NE(r.sideFlag, o.sideFlag);

    EXPECT_EQ(list.At(shortTrack).pointCount, 0);

    for (const auto* t : {&o, &r}) {
        // Positions fit 24 bits and a lap's lateral values 16 bits: every point of either
        // edge lies within 16 bits of the width frame.
        EXPECT_LT(t->trackLength, 1 << 24);
        const auto& rx = t->edgeX[t->sideFlag];
        const auto& ry = t->edgeY[t->sideFlag];
        const auto& ox = t->edgeX[1 - t->sideFlag];
        const auto& oy = t->edgeY[1 - t->sideFlag];
        for (int i = 0; i <= t->pointCount; ++i) {
            double w = t->widthCount ? t->widths[static_cast<size_t>(i)] : t->constantWidth;
            double across =
                std::hypot(double(ox[static_cast<size_t>(i)] - rx[static_cast<size_t>(i)]),
                           double(oy[static_cast<size_t>(i)] - ry[static_cast<size_t>(i)]));
            double otherEdge = t->sideFlag ? w + across : w - across;
            EXPECT_LT(std::abs(w), 32767);
            EXPECT_LT(std::abs(otherEdge), 32767);
            // The centre of the track is lateral 0: the edges lie on either side of it.
            EXPECT_LT(w * otherEdge, 0) << t->name << " point " << i;
            // Everything lies on the map.
            for (int e = 0; e < 2; ++e) {
                EXPECT_GE(t->edgeX[e][static_cast<size_t>(i)], 0);
                EXPECT_LE(t->edgeX[e][static_cast<size_t>(i)], t->mapWidth);
                EXPECT_GE(t->edgeY[e][static_cast<size_t>(i)], 0);
                EXPECT_LE(t->edgeY[e][static_cast<size_t>(i)], t->mapHeight);
            }
        }
        // A closed loop: the last point pair is the first.
        EXPECT_EQ(rx.front(), rx.back());
        EXPECT_EQ(oy.front(), oy.back());
        // Corners lie on the lap, in lap order.
        for (int c = 0; c < t->cornerCount; ++c) {
            double feet = t->cornerPositions[static_cast<size_t>(c)];
            EXPECT_GT(feet, 0);
            EXPECT_LT(feet, t->trackLength * t->inchesPerUnit / 12);
            if (c) {
                EXPECT_GT(feet, t->cornerPositions[static_cast<size_t>(c - 1)]);
            }
        }
    }
}

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(SampleTracks, DumpThenBuildGivesTheSameFile) {
    const std::string cli = std::string(KORVALE_BIN_DIR) + "/korvale-cli";
    const fs::path dir = fs::temp_directory_path() / ("korvale-dump-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const std::string dump = (dir / "tracks.json").string(), built = (dir / "tracks.dat").string(),
                      list = (dir / "list.txt").string();
    ASSERT_EQ(std::system((cli + " tracks dump " + kSample + " > " + dump).c_str()), 0);
    ASSERT_EQ(std::system((cli + " tracks build " + dump + " -o " + built).c_str()), 0);
    EXPECT_EQ(Slurp(built), Slurp(kSample));

    ASSERT_EQ(std::system((cli + " tracks list --tracks " + built + " > " + list).c_str()), 0);
    TTrackDataFile file;
    ASSERT_EQ(ReadTrackDataFile(kSample, file), TrackReadStatus::Ok);
    TTrackList tracks;
    for (auto& t : file.records) tracks.Insert(std::move(t));
    std::string expected;
    for (int i = 0; i < tracks.Count(); ++i) {
        const TTrackData& t = tracks.At(i);
        char line[512];
        std::snprintf(line, sizeof line, "%d\t%d\t%s\t%d\t%.6f\t%d\t%d\n", i, t.trackId,
                      t.name.c_str(), t.trackLength, t.inchesPerUnit, t.cornerCount, t.pointCount);
        expected += line;
    }
    EXPECT_EQ(Slurp(list), expected);

    // Regression: dump and build lost non-finite doubles and the case of names.
    // Doubles that JSON cannot hold as numbers survive as their bit patterns; names keep
    // their case and order.
    TTrackDataFile odd;
    odd.header = {0xFFFFFFFFu, 0x80000000u, 0x7FFFFFFFu, 0};
    odd.version = -5;
    odd.records.push_back(Track("Odd \"quoted\" \\ name", 255));
    odd.records.push_back(Track("odd \"QUOTED\" \\ NAME", 0));
    odd.records[0]->inchesPerUnit = std::nan("");
    odd.records[0]->cornerCount = 2;
    odd.records[0]->cornerNames = {"", "Inf"};
    odd.records[0]->cornerPositions = {-0.0, -HUGE_VAL};
    std::string error;
    const std::string oddPath = (dir / "odd.dat").string(), oddBuilt = (dir / "odd2.dat").string();
    ASSERT_TRUE(WriteTrackDataFile(oddPath, odd, error)) << error;
    ASSERT_EQ(std::system((cli + " tracks dump " + oddPath + " > " + dump).c_str()), 0);
    ASSERT_EQ(std::system((cli + " tracks build " + dump + " -o " + oddBuilt).c_str()), 0);
    EXPECT_EQ(Slurp(oddBuilt), Slurp(oddPath));

    // A source whose edges do not match its point count is refused, and no file is made.
    {
        std::ofstream bad(dump);
        bad << R"({"key": {"a": 1, "b": 2, "x": 3, "y": 4}, "version": 1, "tracks": [{"name": "B",
            "pathPattern": "", "altPathPattern": "", "trackId": 1, "trackLength": 10, "inchesPerUnit": 1,
            "corners": [], "pointCount": 2, "mapWidth": 10, "mapHeight": 10, "sideFlag": 0,
            "edges": [[[0, 0], [1, 0]], [[0, 1], [1, 1]]], "constantWidth": 1, "anchorCount": 0,
            "others": []}]})";
    }
    const std::string refused = (dir / "refused.dat").string();
    EXPECT_NE(
        std::system((cli + " tracks build " + dump + " -o " + refused + " 2> " + list).c_str()), 0);
    EXPECT_NE(Slurp(list).find("edge arrays"), std::string::npos);
    EXPECT_FALSE(fs::exists(refused));

    // A damaged file is reported with the reader's message and a failing exit code.
    fs::copy_file(kSample, built, fs::copy_options::overwrite_existing);
    fs::resize_file(built, 100);
    EXPECT_NE(std::system((cli + " tracks list --tracks " + built + " 2> " + list).c_str()), 0);
    EXPECT_NE(Slurp(list).find("Unable to open track data"), std::string::npos);
    fs::remove_all(dir);
}

}  // namespace
