#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "track/Geometry.h"
#include "track/KeyStream.h"
#include "track/TrackDataFile.h"

namespace {

// Lays a track data file out field by field, scrambling each field as the file stores it.
class Scrambled {
  public:
    Scrambled(uint32_t a, uint32_t b, uint32_t x, uint32_t y) : keys_(a, b, x, y) {
        for (uint32_t w : {a, b, x, y}) Raw(w);
    }
    Scrambled& I32(int32_t v) {
        Raw(static_cast<uint32_t>(v) + keys_.next());
        return *this;
    }
    Scrambled& I16(int16_t v) {
        uint16_t s = static_cast<uint16_t>(static_cast<uint16_t>(v) + keys_.next());
        bytes.push_back(static_cast<uint8_t>(s));
        bytes.push_back(static_cast<uint8_t>(s >> 8));
        return *this;
    }
    Scrambled& U8(uint8_t v) {
        bytes.push_back(static_cast<uint8_t>(v + keys_.next()));
        return *this;
    }
    Scrambled& F64(double v) {
        uint64_t bits;
        std::memcpy(&bits, &v, 8);
        for (int i = 0; i < 8; ++i) U8(static_cast<uint8_t>(bits >> (8 * i)));
        return *this;
    }
    Scrambled& Str(const std::string& s) {
        I16(static_cast<int16_t>(s.size() + 1));
        for (char c : s) U8(static_cast<uint8_t>(c));
        return U8(0);
    }
    Scrambled& I32s(std::initializer_list<int32_t> v) {
        for (int32_t x : v) I32(x);
        return *this;
    }
    std::vector<uint8_t> bytes;

  private:
    void Raw(uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
    TKeyStream keys_;
};

TrackReadStatus Read(const std::vector<uint8_t>& bytes, TTrackDataFile& file) {
    return ReadTrackData(bytes.data(), bytes.size(), file);
}

// The leading fields of a record up to and including pointCount.
void Head(Scrambled& f, const std::string& name, uint8_t id, int32_t points) {
    f.Str(name)
        .Str("pattern")
        .Str("")
        .U8(id)
        .I32(1000)
        .I16(1)
        .Str("Turn 1")
        .F64(250.5)
        .F64(0.5)
        .I32(points);
}

// A two-segment square-ish track: edge 0 along y = 0, edge 1 along y = 10.
void Geometry(Scrambled& f) {
    f.I32(100).I32(20);                       // map extents
    f.I32s({0, 50, 100}).I32s({0, 0, 0});     // edge 0 x, y
    f.I32s({0, 50, 100}).I32s({10, 10, 10});  // edge 1 x, y
}

TEST(TrackDataRead, RecordLayoutWithConditionalFields) {
    Scrambled f(0x9E3779B9u, 0x7F4A7C15u, 0xDEADBEEFu, 0x12345678u);
    f.I32(3).I32(107);
    // 1: no geometry; the record ends after pointCount.
    Head(f, "Short", 3, 0);
    // 2: per-point widths, negative anchors, two extra lines.
    Head(f, "Full", 9, 2);
    Geometry(f);
    f.I32(2).I32s({-40, -44});        // widthCount, widths
    f.I32(-1).I32s({1}).I32s({480});  // anchors: points, positions
    f.I32(1);                         // sideFlag
    f.I32(2);
    f.U8(255).U8(200).U8(0).I32(2).I32s({1, 2}).I32s({3, 4});
    f.U8(1).U8(2).U8(3).I32(0);
    // 3: constant width, explicit positions for every point, no extra lines.
    Head(f, "Explicit", 200, 2);
    Geometry(f);
    f.I32(0).I32(12);  // widthCount 0, constantWidth
    f.I32(2).I32s({0, 1}).I32s({0, 400});
    f.I32(0).I32(0);  // sideFlag, no extra lines

    TTrackDataFile file;
    ASSERT_EQ(Read(f.bytes, file), TrackReadStatus::Ok);
    EXPECT_EQ(file.header.a, 0x9E3779B9u);
    EXPECT_EQ(file.header.x, 0xDEADBEEFu);
    EXPECT_EQ(file.version, 107);
    ASSERT_EQ(file.records.size(), 3u);

    const TTrackData& s = *file.records[0];
    EXPECT_EQ(s.name, "Short");
    EXPECT_EQ(s.pathPattern, "pattern");
    EXPECT_EQ(s.altPathPattern, "");
    EXPECT_EQ(s.trackId, 3);
    EXPECT_EQ(s.trackLength, 1000);
    ASSERT_EQ(s.cornerCount, 1);
    EXPECT_EQ(s.cornerNames[0], "Turn 1");
    EXPECT_EQ(s.cornerPositions[0], 250.5);
    EXPECT_EQ(s.inchesPerUnit, 0.5);
    EXPECT_FALSE(s.hasGeometry());
    EXPECT_TRUE(s.edgeX[0].empty());
    EXPECT_TRUE(s.others.empty());

    const TTrackData& g = *file.records[1];
    EXPECT_EQ(g.name, "Full");
    EXPECT_EQ(g.trackId, 9);
    EXPECT_EQ(g.pointCount, 2);
    EXPECT_EQ(g.mapWidth, 100);
    EXPECT_EQ(g.mapHeight, 20);
    EXPECT_EQ(g.edgeX[0], (std::vector<int32_t>{0, 50, 100}));
    EXPECT_EQ(g.edgeY[1], (std::vector<int32_t>{10, 10, 10}));
    EXPECT_EQ(g.widthCount, 2);
    // The program appends a copy of the first width.
    EXPECT_EQ(g.widths, (std::vector<int32_t>{-40, -44, -40}));
    EXPECT_EQ(g.anchorCount, -1);
    EXPECT_EQ(g.anchorPoints, (std::vector<int32_t>{1}));
    EXPECT_EQ(g.anchorPositions, (std::vector<int32_t>{480}));
    EXPECT_EQ(g.sideFlag, 1);
    ASSERT_EQ(g.others.size(), 2u);
    EXPECT_EQ(g.others[0]->colour, 255 + 256 * 200);
    EXPECT_EQ(g.others[0]->count, 2);
    EXPECT_EQ(g.others[0]->xs, (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(g.others[0]->ys, (std::vector<int32_t>{3, 4}));
    EXPECT_EQ(g.others[1]->colour, 1 + 256 * 2 + 65536 * 3);
    EXPECT_EQ(g.others[1]->count, 0);
    EXPECT_NE(g.others[0]->serial, g.others[1]->serial);

    const TTrackData& e = *file.records[2];
    EXPECT_EQ(e.trackId, 200);
    EXPECT_EQ(e.widthCount, 0);
    EXPECT_EQ(e.constantWidth, 12);
    EXPECT_TRUE(e.widths.empty());
    EXPECT_EQ(e.anchorPositions, (std::vector<int32_t>{0, 400}));
    EXPECT_EQ(e.sideFlag, 0);
}

TEST(TrackDataRead, ExtraLineSerialsComeFromOneCounter) {
    const int32_t before = TTrackOther::Counter();
    TTrackOther first;
    TTrackOther second;
    EXPECT_EQ(first.serial, before);
    EXPECT_EQ(second.serial, before + 1);
    EXPECT_EQ(TTrackOther::Counter(), before + 2);
}

// A valid one-record file with geometry, used for the truncation and hostile-count cases.
std::vector<uint8_t> OneTrack(int32_t widthCount = 0, int32_t anchorCount = 0,
                              int32_t sideFlag = 0) {
    Scrambled f(1, 2, 3, 4);
    f.I32(1).I32(1);
    Head(f, "T", 1, 2);
    Geometry(f);
    f.I32(widthCount);
    if (widthCount == 0)
        f.I32(8);
    else
        for (int i = 0; i < widthCount; ++i) f.I32(8);
    f.I32(anchorCount);
    int32_t q = anchorCount < 0 ? -anchorCount : anchorCount;
    for (int i = 0; i < q; ++i) f.I32(i);
    for (int i = 0; i < q; ++i) f.I32(i * 100);
    f.I32(sideFlag).I32(1).U8(0).U8(0).U8(0).I32(1).I32(5).I32(6);
    return f.bytes;
}

TEST(TrackDataRead, EveryTruncationGetsItsMessage) {
    const std::vector<uint8_t> whole = OneTrack();
    TTrackDataFile file;
    ASSERT_EQ(Read(whole, file), TrackReadStatus::Ok);
    for (size_t n = 0; n < whole.size(); ++n) {
        std::vector<uint8_t> part(whole.begin(), whole.begin() + static_cast<long>(n));
        TrackReadStatus status = Read(part, file);
        // The header words, T and V take 24 bytes; past them a short file ends inside a record.
        EXPECT_EQ(status, n < 24 ? TrackReadStatus::CannotRead : TrackReadStatus::BadRecord) << n;
        EXPECT_TRUE(file.records.empty()) << n;
    }
    EXPECT_STREQ(TrackReadMessage(TrackReadStatus::CannotRead), "Unable to read track data");
    EXPECT_STREQ(TrackReadMessage(TrackReadStatus::BadRecord), "Unable to open track data");
    EXPECT_STREQ(TrackReadMessage(TrackReadStatus::CannotOpen), "Unable to open track data");
    EXPECT_EQ(ReadTrackDataFile("/nonexistent/tracks.dat", file), TrackReadStatus::CannotOpen);
}

TEST(TrackDataRead, TracksBeforeABadRecordAreNotKept) {
    Scrambled f(5, 6, 7, 8);
    f.I32(2).I32(0);
    Head(f, "Good", 1, 0);
    Head(f, "Bad", 2, -1);
    TTrackDataFile file;
    EXPECT_EQ(Read(f.bytes, file), TrackReadStatus::BadRecord);
    EXPECT_TRUE(file.records.empty());
}

TEST(TrackDataRead, HostileCountsAreRefusedWithoutHugeAllocations) {
    auto expectBad = [](Scrambled& f, const char* what) {
        TTrackDataFile file;
        EXPECT_EQ(Read(f.bytes, file), TrackReadStatus::BadRecord) << what;
    };
    {
        Scrambled f(1, 1, 1, 1);
        f.I32(1).I32(0).I16(-5);
        expectBad(f, "negative string length");
    }
    {
        Scrambled f(1, 1, 1, 1);
        f.I32(1).I32(0).I16(32767).U8('a');
        expectBad(f, "string longer than the file");
    }
    {
        Scrambled f(1, 1, 1, 1);
        f.I32(1).I32(0).Str("a").Str("b").Str("c").U8(1).I32(10).I16(-1);
        expectBad(f, "negative corner count");
    }
    {
        Scrambled f(1, 1, 1, 1);
        f.I32(1).I32(0).Str("a").Str("b").Str("c").U8(1).I32(10).I16(30000).Str("x").F64(1);
        expectBad(f, "corner count beyond the file");
    }
    for (int32_t points : {-1, 0x7FFFFFFF, 1 << 28}) {
        Scrambled f(1, 1, 1, 1);
        f.I32(1).I32(0);
        Head(f, "P", 1, points);
        f.I32s({1, 1, 1, 1, 1, 1, 1, 1});
        expectBad(f, "point count");
    }
    for (int32_t width : {-1, 0x40000000}) {
        Scrambled f(1, 1, 1, 1);
        f.I32(1).I32(0);
        Head(f, "W", 1, 2);
        Geometry(f);
        f.I32(width).I32(0);
        expectBad(f, "width count");
    }
    for (int32_t anchors : {0x7FFFFFFF, static_cast<int32_t>(0x80000000u), -1000000}) {
        Scrambled f(1, 1, 1, 1);
        f.I32(1).I32(0);
        Head(f, "A", 1, 2);
        Geometry(f);
        f.I32(0).I32(0).I32(anchors).I32(0);
        expectBad(f, "anchor count");
    }
    for (int32_t lines : {-1, 0x7FFFFFFF}) {
        Scrambled f(1, 1, 1, 1);
        f.I32(1).I32(0);
        Head(f, "R", 1, 2);
        Geometry(f);
        f.I32(0).I32(0).I32(0).I32(0).I32(lines);
        expectBad(f, "extra line count");
    }
    for (int32_t count : {-1, 0x7FFFFFFF}) {
        Scrambled f(1, 1, 1, 1);
        f.I32(1).I32(0);
        Head(f, "K", 1, 2);
        Geometry(f);
        f.I32(0).I32(0).I32(0).I32(0).I32(1).U8(0).U8(0).U8(0).I32(count).I32(0);
        expectBad(f, "extra line point count");
    }
    {
        // A huge record count is only a loop bound: the file runs out at the first record.
        Scrambled f(1, 1, 1, 1);
        f.I32(0x7FFFFFFF).I32(0);
        expectBad(f, "record count");
    }
}

TEST(TrackDataRead, RecordsThatTheGeometryCouldNotIndexAreRefused) {
    TTrackDataFile file;
    EXPECT_EQ(Read(OneTrack(2, 0, 0), file), TrackReadStatus::Ok);
    EXPECT_EQ(Read(OneTrack(1, 0, 0), file), TrackReadStatus::BadRecord);  // widths != points
    EXPECT_EQ(Read(OneTrack(3, 0, 0), file), TrackReadStatus::BadRecord);
    EXPECT_EQ(Read(OneTrack(0, 2, 0), file), TrackReadStatus::Ok);         // a position per point
    EXPECT_EQ(Read(OneTrack(0, 1, 0), file), TrackReadStatus::BadRecord);  // too few positions
    EXPECT_EQ(Read(OneTrack(0, -2, 1), file), TrackReadStatus::Ok);
    EXPECT_EQ(Read(OneTrack(0, 0, 2), file), TrackReadStatus::BadRecord);  // sideFlag not 0 or 1
    EXPECT_EQ(Read(OneTrack(0, 0, -1), file), TrackReadStatus::BadRecord);

    // A negative anchor naming a point beyond the last one.
    Scrambled f(1, 1, 1, 1);
    f.I32(1).I32(0);
    Head(f, "A", 1, 2);
    Geometry(f);
    f.I32(0).I32(0).I32(-1).I32(3).I32(50).I32(0).I32(0);
    EXPECT_EQ(Read(f.bytes, file), TrackReadStatus::BadRecord);

    // A reference-edge step whose squared length does not fit 31 bits.
    Scrambled g(1, 1, 1, 1);
    g.I32(1).I32(0);
    Head(g, "S", 1, 1);
    g.I32(100).I32(100).I32s({0, 46341}).I32s({0, 0}).I32s({0, 46341}).I32s({10, 10});
    g.I32(0).I32(0).I32(0).I32(0).I32(0);
    EXPECT_EQ(Read(g.bytes, file), TrackReadStatus::BadRecord);
}

TEST(TrackDataWrite, RoundTripIsByteExactAndScramblingDependsOnPosition) {
    // The key stream soon falls into a short cycle (the arithmetic shifts hold negative words
    // near all ones); this header cycles with period 12, which 46 outputs per record is not.
    Scrambled f(0x1B873593u, 0x3C6EF372u, 0x5BE0CD19u, 0x1F83D9ABu);
    f.I32(2).I32(-3);
    Head(f, "same", 1, 0);
    Head(f, "same", 2, 2);
    Geometry(f);
    f.I32(2).I32s({7, 8}).I32(-1).I32s({1}).I32s({300}).I32(1).I32(1);
    f.U8(9).U8(8).U8(7).I32(1).I32(4).I32(4);

    TTrackDataFile file;
    ASSERT_EQ(Read(f.bytes, file), TrackReadStatus::Ok);
    std::vector<uint8_t> again;
    std::string error;
    ASSERT_TRUE(WriteTrackData(file, again, error)) << error;
    EXPECT_EQ(again, f.bytes);

    // The two names are the same text but are stored differently.
    const size_t firstName = 24 + 2,
                 secondName = firstName + 5 + 10 + 3 + 1 + 4 + 2 + 9 + 8 + 8 + 4 + 2;
    std::string a(f.bytes.begin() + firstName, f.bytes.begin() + firstName + 5);
    std::string b(f.bytes.begin() + secondName, f.bytes.begin() + secondName + 5);
    EXPECT_EQ(file.records[1]->name, "same");
    EXPECT_NE(a, b);
}

TEST(TrackDataWrite, RefusesRecordsItCouldNotStoreFaithfully) {
    TTrackDataFile file;
    auto track = std::make_unique<TTrackData>();
    track->name = "x";
    track->cornerCount = 2;
    track->cornerNames = {"a"};
    track->cornerPositions = {1.0};
    file.records.push_back(std::move(track));
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_FALSE(WriteTrackData(file, bytes, error));
    EXPECT_FALSE(error.empty());

    file.records[0]->cornerCount = 1;
    file.records[0]->name = std::string(40000, 'n');
    EXPECT_FALSE(WriteTrackData(file, bytes, error));

    file.records[0]->name = "x";
    file.records[0]->others.push_back(std::make_unique<TTrackOther>());  // lost without points
    EXPECT_FALSE(WriteTrackData(file, bytes, error));

    file.records[0]->others.clear();
    EXPECT_TRUE(WriteTrackData(file, bytes, error)) << error;
    TTrackDataFile back;
    ASSERT_EQ(ReadTrackData(bytes.data(), bytes.size(), back), TrackReadStatus::Ok);
    EXPECT_EQ(back.records[0]->cornerNames, (std::vector<std::string>{"a"}));
}

}  // namespace

// The dump shows each detailed track's point positions as the geometry derives them, and
// building from that dump leaves them out again, so the file comes back byte for byte.
TEST(TrackDataDump, PrintsDerivedPointPositionsThatBuildIgnores) {
    const std::string bin = KORVALE_BIN_DIR, cli = bin + "/korvale-cli",
                      sample = bin + "/tracks.dat";
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("korvale-positions-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::string dump = (dir / "tracks.json").string(), built = (dir / "tracks.dat").string();
    ASSERT_EQ(std::system((cli + " tracks dump " + sample + " > " + dump).c_str()), 0);

    TTrackDataFile file;
    ASSERT_EQ(ReadTrackDataFile(sample, file), TrackReadStatus::Ok);
    std::ifstream in(dump);
    const nlohmann::ordered_json json = nlohmann::ordered_json::parse(in);
    ASSERT_EQ(json["tracks"].size(), file.records.size());
    int detailed = 0;
    for (size_t i = 0; i < file.records.size(); ++i) {
        TTrackData& t = *file.records[i];
        const auto& printed = json["tracks"][i];
        if (t.pointCount == 0) {
            EXPECT_FALSE(printed.contains("pointPositions")) << t.name;
            continue;
        }
        ++detailed;
        PrepareGeometry(t);
        ASSERT_TRUE(printed.contains("pointPositions")) << t.name;
        EXPECT_EQ(printed["pointPositions"].get<std::vector<int32_t>>(), t.pointPositions)
            << t.name;
    }
    EXPECT_GE(detailed, 1);

    ASSERT_EQ(std::system((cli + " tracks build " + dump + " -o " + built).c_str()), 0);
    std::ifstream a(built, std::ios::binary), b(sample, std::ios::binary);
    const std::string rebuilt{std::istreambuf_iterator<char>(a), {}};
    const std::string original{std::istreambuf_iterator<char>(b), {}};
    EXPECT_EQ(rebuilt, original);
    std::filesystem::remove_all(dir);
}
