// The track data file's two layouts of extra lines, what its reader keeps for hostile files,
// and the exact round trip of names that are not UTF-8.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/ProfileFile.h"
#include "track/TrackAssociation.h"
#include "track/TrackDataFile.h"
#include "track/TrackList.h"

namespace fs = std::filesystem;

namespace {

// A zero header makes the key stream give 0 for ever, so the file is stored as it reads:
// the bytes below are the layout itself.
class Plain {
  public:
    Plain() { bytes.assign(16, 0); }
    Plain& I32(int32_t v) {
        for (int i = 0; i < 4; ++i) bytes.push_back(uint8_t(uint32_t(v) >> (8 * i)));
        return *this;
    }
    Plain& I16(int16_t v) {
        bytes.push_back(uint8_t(v));
        bytes.push_back(uint8_t(uint16_t(v) >> 8));
        return *this;
    }
    Plain& U8(uint8_t v) {
        bytes.push_back(v);
        return *this;
    }
    Plain& F64(double v) {
        uint64_t bits;
        std::memcpy(&bits, &v, 8);
        for (int i = 0; i < 8; ++i) bytes.push_back(uint8_t(bits >> (8 * i)));
        return *this;
    }
    Plain& Str(const std::string& s) {
        I16(int16_t(s.size() + 1));
        bytes.insert(bytes.end(), s.begin(), s.end());
        return U8(0);
    }
    // A record with a two-segment geometry, up to and including sideFlag.
    Plain& Geometry(const std::string& name) {
        Str(name).Str("p").Str("").U8(5).I32(1000).I16(0).F64(1.0).I32(2);
        I32(100).I32(20);
        for (int32_t v : {0, 50, 100, 0, 0, 0, 0, 50, 100, 10, 10, 10}) I32(v);
        return I32(0).I32(8).I32(0).I32(0);  // constant width 8, no anchors, sideFlag 0
    }
    std::vector<uint8_t> bytes;
};

struct Line {
    uint8_t r, g, b;
    std::vector<int32_t> xs, ys;
};

// The extra lines of one record, written in the given layout.
void Lines(Plain& f, const std::vector<Line>& lines, bool byRow) {
    f.I32(int32_t(lines.size()));
    if (byRow) {
        for (const auto& l : lines) f.U8(l.r).U8(l.g).U8(l.b);
        for (const auto& l : lines) f.I32(int32_t(l.xs.size()));
        for (const auto& l : lines)
            for (int32_t x : l.xs) f.I32(x);
        for (const auto& l : lines)
            for (int32_t y : l.ys) f.I32(y);
    } else {
        for (const auto& l : lines) {
            f.U8(l.r).U8(l.g).U8(l.b).I32(int32_t(l.xs.size()));
            for (int32_t x : l.xs) f.I32(x);
            for (int32_t y : l.ys) f.I32(y);
        }
    }
}

std::vector<Line> SomeLines(size_t n) {
    std::vector<Line> lines;
    for (size_t i = 0; i < n; ++i) {
        Line l{uint8_t(10 + i), uint8_t(20 + i), uint8_t(30 + i), {}, {}};
        for (size_t k = 0; k <= i + 1; ++k) {
            l.xs.push_back(int32_t(100 * i + k));
            l.ys.push_back(-int32_t(7 * k + i));
        }
        lines.push_back(l);
    }
    return lines;
}

TEST(TrackDataLayouts, BothLayoutsReadAndWriteBackExactly) {
    for (size_t r : {2u, 3u})
        for (bool byRow : {true, false}) {
            Plain f;
            f.I32(2).I32(100);
            f.Geometry("First");
            Lines(f, SomeLines(r), byRow);
            f.Geometry("Second");
            Lines(f, SomeLines(1), byRow);
            TTrackDataFile file;
            ASSERT_EQ(ReadTrackData(f.bytes.data(), f.bytes.size(), file), TrackReadStatus::Ok)
                << r << byRow;
            EXPECT_EQ(file.othersLayout,
                      byRow ? TrackOthersLayout::Rows : TrackOthersLayout::Lines);
            const auto expected = SomeLines(r);
            ASSERT_EQ(file.records[0]->others.size(), r);
            for (size_t i = 0; i < r; ++i) {
                const TTrackOther& o = *file.records[0]->others[i];
                EXPECT_EQ(o.colour, expected[i].r + 256 * expected[i].g + 65536 * expected[i].b);
                EXPECT_EQ(o.xs, expected[i].xs);
                EXPECT_EQ(o.ys, expected[i].ys);
            }
            std::vector<uint8_t> again;
            std::string error;
            ASSERT_TRUE(WriteTrackData(file, again, error)) << error;
            EXPECT_EQ(again, f.bytes) << r << byRow;
        }
}

TEST(TrackDataLayouts, AFileThatParsesNeitherWayIsRefused) {
    // Counts that both readings take past the end of the file.
    Plain f;
    f.I32(1).I32(100);
    f.Geometry("Hostile");
    f.I32(3).U8(1).U8(2).U8(3).I32(0x7FFFFFF0).U8(4).U8(5).U8(6).I32(0x7FFFFFF0);
    f.U8(7).U8(8).U8(9).I32(2).I32(1);
    TTrackDataFile file;
    EXPECT_EQ(ReadTrackData(f.bytes.data(), f.bytes.size(), file), TrackReadStatus::BadRecord);
    EXPECT_TRUE(file.records.empty());

    // Lines that fit both readings but whose points are beyond any map in both.
    Plain g;
    g.I32(1).I32(100);
    g.Geometry("Far");
    Line far{1, 2, 3, {1 << 30, 0}, {0, 0}};
    Lines(g, {far, far}, true);
    EXPECT_EQ(ReadTrackData(g.bytes.data(), g.bytes.size(), file), TrackReadStatus::BadRecord);
}

class TrackDataFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("korvale-trackfiles-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    fs::path dir_;
};

TEST_F(TrackDataFiles, NonRegularSparseAndEmptyRecordFilesAreRefused) {
    TTrackDataFile file;
    ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0644), 0);
    EXPECT_EQ(ReadTrackDataFile(Path("fifo"), file), TrackReadStatus::CannotOpen);
    EXPECT_EQ(ReadTrackDataFile(dir_.string(), file), TrackReadStatus::CannotOpen);

    // 2 GiB of nothing: refused by its size, without reading or holding it.
    {
        std::ofstream(Path("sparse.dat")) << "";
        fs::resize_file(Path("sparse.dat"), uint64_t{2} << 30);
    }
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ReadTrackDataFile(Path("sparse.dat"), file), TrackReadStatus::BadRecord);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));

    // 25-byte empty records (a zero header: nothing is scrambled) up to the track limit
    // are read; one more is refused.
    auto empties = [](int32_t count) {
        Plain f;
        f.I32(count).I32(0);
        f.bytes.resize(f.bytes.size() + 25 * size_t(count), 0);
        return f.bytes;
    };
    std::vector<uint8_t> most = empties(kMaxTrackRecords);
    ASSERT_EQ(ReadTrackData(most.data(), most.size(), file), TrackReadStatus::Ok);
    EXPECT_EQ(file.records.size(), size_t(kMaxTrackRecords));
    std::vector<uint8_t> over = empties(kMaxTrackRecords + 1);
    EXPECT_EQ(ReadTrackData(over.data(), over.size(), file), TrackReadStatus::BadRecord);
    EXPECT_TRUE(file.records.empty());

    // Empty extra lines (7 bytes each) are bounded over the whole file.
    Plain lines;
    lines.I32(1).I32(0);
    lines.Geometry("Lines");
    lines.I32(int32_t(kMaxTrackExtraLines + 1));
    lines.bytes.resize(lines.bytes.size() + 7 * size_t(kMaxTrackExtraLines + 1), 0);
    EXPECT_EQ(ReadTrackData(lines.bytes.data(), lines.bytes.size(), file),
              TrackReadStatus::BadRecord);
}

TEST(TrackListLoad, DescendingNamesSortInLinearithmicTime) {
    std::vector<std::unique_ptr<TTrackData>> records;
    char name[32];
    for (int i = 30000; i > 0; --i) {
        auto t = std::make_unique<TTrackData>();
        std::snprintf(name, sizeof name, "Track %06d", i);
        t->name = name;
        records.push_back(std::move(t));
    }
    TTrackList list;
    const auto start = std::chrono::steady_clock::now();
    list.Assign(std::move(records));
    // One insertion at a time took some 20 s here (9 s for 20,000 names).
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_EQ(list.At(0).name, "Track 000001");
    EXPECT_EQ(list.At(29999).name, "Track 030000");

    // The order of inserting one at a time: case ignored, equal names in file order.
    TTrackList one, all;
    std::vector<std::unique_ptr<TTrackData>> same;
    const char* names[] = {"mid", "Alpha", "MID", "beta", "alpha", "Mid", "", "zed"};
    for (size_t i = 0; i < std::size(names); ++i) {
        auto a = std::make_unique<TTrackData>();
        a->name = names[i];
        a->trackId = uint8_t(i);
        auto b = std::make_unique<TTrackData>();
        b->name = names[i];
        b->trackId = uint8_t(i);
        one.Insert(std::move(a));
        same.push_back(std::move(b));
    }
    all.Assign(std::move(same));
    ASSERT_EQ(all.Count(), one.Count());
    for (int i = 0; i < one.Count(); ++i) EXPECT_EQ(all.At(i).trackId, one.At(i).trackId) << i;
}

// Names that are not UTF-8 are escaped by dump and come back byte for byte from build.
TEST_F(TrackDataFiles, DumpEscapesBytesThatAreNotUtf8AndBuildKeepsTheLayout) {
    const std::string cli = std::string(KORVALE_BIN_DIR) + "/korvale-cli";
    Plain f;
    f.I32(1).I32(100);
    // "Caf\xE9 \\ Ring": a Latin-1 byte and a backslash; the pattern holds an escape character.
    f.Str("Caf\xE9 \\ Ring").Str("p\x1B").Str("").U8(5).I32(1000).I16(1);
    f.Str("Virage \xE0 gauche").F64(12.5).F64(1.0).I32(2);
    f.I32(100).I32(20);
    for (int32_t v : {0, 50, 100, 0, 0, 0, 0, 50, 100, 10, 10, 10}) f.I32(v);
    f.I32(0).I32(8).I32(0).I32(0);
    Lines(f, SomeLines(2), false);
    {
        std::ofstream out(Path("in.dat"), std::ios::binary);
        out.write(reinterpret_cast<const char*>(f.bytes.data()), std::streamsize(f.bytes.size()));
    }
    ASSERT_EQ(
        std::system((cli + " tracks dump " + Path("in.dat") + " > " + Path("d.json")).c_str()), 0);
    std::ifstream in(Path("d.json"));
    const std::string dump{std::istreambuf_iterator<char>(in), {}};
    EXPECT_NE(dump.find(R"("name": {"escaped":"Caf\\xE9 \\\\ Ring"})"), std::string::npos) << dump;
    EXPECT_NE(dump.find(R"("extraLines": "by line")"), std::string::npos);
    ASSERT_EQ(
        std::system((cli + " tracks build " + Path("d.json") + " -o " + Path("out.dat")).c_str()),
        0);
    std::ifstream back(Path("out.dat"), std::ios::binary);
    const std::string rebuilt{std::istreambuf_iterator<char>(back), {}};
    EXPECT_EQ(rebuilt, std::string(f.bytes.begin(), f.bytes.end()));
}

}  // namespace

// Regression: a FIFO as the settings file blocked the start.
// The start-up readers of a settings file that is a FIFO: defaults at once, no waiting.
TEST_F(TrackDataFiles, AFifoAsSettingsFileGivesDefaultsWithoutWaiting) {
    ASSERT_EQ(::mkfifo(Path("korvale.ini").c_str(), 0644), 0);
    ProfileFile settings(Path("korvale.ini"));
    TTrackList tracks;
    TAssocList list;
    LoadAssociations(settings, tracks, list);
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(settings.ReadInt("admin", "trackver", 3), 3);
}
