#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <streambuf>

#include "document/KvlFile.h"
#include "support/LapAssertions.h"
#include "support/LapBuilder.h"
#include "track/TrackList.h"

namespace {

TTrackList Tracks() {
    TTrackList list;
    for (auto [id, name] : {std::pair<uint8_t, const char*>{24, "Harbor Loop"},
                            {156, "Salt Basin"},
                            {12, "Kestrel Ridge"}}) {
        auto t = std::make_unique<TTrackData>();
        t->trackId = id;
        t->name = name;
        t->trackLength = 10000;
        t->inchesPerUnit = 1;
        list.Insert(std::move(t));
    }
    return list;
}

// Every field away from its default, headings across the whole signed range.
std::unique_ptr<TReplay> Lap(const char* name, int32_t n, Rgb colour = {0, 0, 255}) {
    return TLapBuilder(name, 44)
        .Samples(n,
                 [](int32_t i) {
                     return TLapSample{1000 * i - 7, -50 + i,
                                       static_cast<int16_t>(-32768 + 4000 * i),
                                       static_cast<uint8_t>(200 + i)};
                 })
        .Frames(-0.25, n - 0.5)
        .Span(0, 9999.5)
        .Scale(1.5)
        .Length(10000)
        .Colour(colour)
        .Build();
}

std::string Write(const std::vector<const TReplay*>& laps, uint8_t trackId, int32_t y2 = 5) {
    std::ostringstream out;
    KvlDocumentView view;
    view.xAxis = 0;
    view.yAxis = 3;
    view.y2Axis = y2;
    view.trackId = trackId;
    view.laps = &laps;
    EXPECT_TRUE(WriteKvlDocument(out, view).ok);
    return out.str();
}

KvlReadResult Read(const std::string& bytes, const TTrackList& tracks) {
    std::istringstream in(bytes);
    return ReadKvlDocument(in, tracks);
}

void Put32(std::string& s, size_t at, int32_t v) {
    for (int i = 0; i < 4; ++i)
        s[at + i] = static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xff);
}

// A stream that cannot seek, as a pipe would be: the reader cannot know what is left.
class NoSeekBuf : public std::streambuf {
  public:
    explicit NoSeekBuf(std::string data) : data_(std::move(data)) {
        setg(data_.data(), data_.data(), data_.data() + data_.size());
    }

  private:
    std::string data_;
};

// A sink that takes only its first `room` bytes, as a full disk would.
class FullSinkBuf : public std::streambuf {
  public:
    explicit FullSinkBuf(size_t room) : room_(room) {}

  private:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        if (room_ == 0) return traits_type::eof();
        --room_;
        return c;
    }
    size_t room_;
};

}  // namespace

TEST(KvlFile, LayoutSizesAndRoundTrip) {
    const TTrackList tracks = Tracks();
    EXPECT_EQ(Write({}, 24).size(), 24u);

    auto a = Lap("Ann", 5);
    auto b = Lap("Ann", 5);  // same name and samples: still two laps
    auto empty = Lap("Nobody", 0);
    const std::string bytes = Write({a.get(), b.get(), empty.get()}, 24);
    EXPECT_EQ(bytes.size(), 24u + 2 * (91 + 11 * 5) + 91);
    // Colour bytes red, green, blue at the end of the record, before the serial.
    const size_t colourAt = 24 + 91 + 11 * 5 - 7;
    EXPECT_EQ(static_cast<uint8_t>(bytes[colourAt]), 0x00);
    EXPECT_EQ(static_cast<uint8_t>(bytes[colourAt + 1]), 0x00);
    EXPECT_EQ(static_cast<uint8_t>(bytes[colourAt + 2]), 0xFF);
    // Lines are stored before positions.
    int32_t firstLine;
    std::memcpy(&firstLine, bytes.data() + 24 + 40, 4);
    EXPECT_EQ(firstLine, -50);

    KvlReadResult r = Read(bytes, tracks);
    ASSERT_TRUE(r.ok) << r.message();
    EXPECT_EQ(r.stage, KvlReadStage::Done);
    EXPECT_FALSE(r.earlierVersion);
    EXPECT_EQ(r.xAxis, 0);
    EXPECT_EQ(r.yAxis, 3);
    EXPECT_EQ(r.y2Axis, 5);
    EXPECT_EQ(tracks.At(r.currentTrack).trackId, 24);
    ASSERT_EQ(r.laps.size(), 3u);
    ExpectSameLap(*r.laps[0], *a);
    ExpectSameLap(*r.laps[1], *b);
    EXPECT_NE(r.laps[0]->serial, r.laps[1]->serial);
    EXPECT_EQ(r.laps[2]->sampleCount, 0);
    EXPECT_TRUE(r.laps[2]->positions.empty());

    // Writing what was read gives the same bytes, but for the serials: each record's last
    // four bytes hold the serial the reader gave the lap, not the one first written.
    std::vector<const TReplay*> again;
    for (auto& lap : r.laps) again.push_back(lap.get());
    std::string expected = bytes;
    Put32(expected, 24 + (91 + 11 * 5) - 4, r.laps[0]->serial);
    Put32(expected, 24 + 2 * (91 + 11 * 5) - 4, r.laps[1]->serial);
    Put32(expected, 24 + 2 * (91 + 11 * 5) + 91 - 4, r.laps[2]->serial);
    EXPECT_EQ(Write(again, 24), expected);
}

TEST(KvlFile, TrackIdsAndTheEarlierVersion) {
    const TTrackList tracks = Tracks();
    // Id 156 is stored sign-extended and found again.
    std::string bytes = Write({}, 156);
    EXPECT_EQ(static_cast<uint8_t>(bytes[16]), 0x9C);
    EXPECT_EQ(static_cast<uint8_t>(bytes[19]), 0xFF);
    KvlReadResult r = Read(bytes, tracks);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(tracks.At(r.currentTrack).name, "Salt Basin");

    // Earlier version: no y2Axis, old track number 3 is id 24.
    std::string old(20, '\0');
    Put32(old, 0, kKvlMagicEarlier);
    Put32(old, 4, 1);
    Put32(old, 8, 2);
    Put32(old, 12, 3);
    Put32(old, 16, 0);
    r = Read(old, tracks);
    ASSERT_TRUE(r.ok) << r.message();
    EXPECT_TRUE(r.earlierVersion);
    EXPECT_EQ(r.y2Axis, kKvlNoneAxis);
    EXPECT_EQ(tracks.At(r.currentTrack).trackId, 24);

    Put32(old, 12, 16);  // cannot be translated
    r = Read(old, tracks);
    EXPECT_STREQ(r.message(), "Bad track value in file");
    EXPECT_EQ(r.stage, KvlReadStage::Header);
    EXPECT_STREQ(Read(Write({}, 99), tracks).message(), "Bad track value in file");
    EXPECT_EQ(KvlOldTrackId(15), 2);
    EXPECT_EQ(KvlOldTrackId(-1), -1);
}

TEST(KvlFile, EveryTruncationGetsItsMessageAndKeepsWhatWasComplete) {
    const TTrackList tracks = Tracks();
    auto a = Lap("Ann", 4);
    auto b = Lap("Bo", 6);
    const std::string full = Write({a.get(), b.get()}, 12);
    struct Cut {
        size_t size;
        TKvlReadStatus status;
        const char* message;
    };
    const Cut cuts[] = {{2, TKvlReadStatus::NoMagic, "Unable to read replay (05)"},
                        {6, TKvlReadStatus::NoXAxis, "Unable to read replay (01)"},
                        {10, TKvlReadStatus::NoYAxis, "Unable to read replay (07)"},
                        {14, TKvlReadStatus::NoY2Axis, "Unable to read replay (08)"},
                        {18, TKvlReadStatus::NoTrack, "Unable to read replay (02)"},
                        {22, TKvlReadStatus::NoLapCount, "Unable to read replay (03)"},
                        {30, TKvlReadStatus::BadLap, "Unable to read replay (04)"},
                        {24 + 91 + 44 + 50, TKvlReadStatus::BadLap, "Unable to read replay (04)"},
                        {full.size() - 1, TKvlReadStatus::BadLap, "Unable to read replay (04)"}};
    for (const Cut& cut : cuts) {
        KvlReadResult r = Read(full.substr(0, cut.size), tracks);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.status, cut.status) << cut.size;
        EXPECT_STREQ(r.message(), cut.message) << cut.size;
    }
    KvlReadResult r = Read(full.substr(0, full.size() - 1), tracks);
    EXPECT_EQ(r.stage, KvlReadStage::Laps);
    ASSERT_EQ(r.laps.size(), 1u);
    ExpectSameLap(*r.laps[0], *a);
    EXPECT_TRUE(r.hasY2Axis);
    EXPECT_GE(r.currentTrack, 0);

    std::string wrongMagic = full;
    Put32(wrongMagic, 0, 0x12345678);
    r = Read(wrongMagic, tracks);
    EXPECT_EQ(r.status, TKvlReadStatus::BadMagic);
    EXPECT_STREQ(r.message(), "Unable to read replay (06)");
    EXPECT_EQ(r.stage, KvlReadStage::Magic);
    EXPECT_FALSE(r.DocumentCleared());

    // A lap count beyond the laps present.
    std::string more = full;
    Put32(more, 20, 3);
    r = Read(more, tracks);
    EXPECT_STREQ(r.message(), "Unable to read replay (04)");
    EXPECT_EQ(r.laps.size(), 2u);
}

// Each field the disk refuses names itself, in the messages the save has always shown; a
// document without laps that loses its last bytes names the lap count.
TEST(KvlFile, EveryRefusedWriteGetsItsMessage) {
    auto a = Lap("Ann", 2);
    const std::vector<const TReplay*> one{a.get()}, none;
    struct Cut {
        size_t room;
        const std::vector<const TReplay*>* laps;
        TKvlWriteStatus status;
        const char* message;
    };
    const Cut cuts[] = {{0, &one, TKvlWriteStatus::NoMagic, "Unable to save replay (06)"},
                        {4, &one, TKvlWriteStatus::NoXAxis, "Unable to save replay (01)"},
                        {8, &one, TKvlWriteStatus::NoYAxis, "Unable to save replay (02)"},
                        {12, &one, TKvlWriteStatus::NoY2Axis, "Unable to save replay (07)"},
                        {16, &one, TKvlWriteStatus::NoTrack, "Unable to save replay (04)"},
                        {20, &one, TKvlWriteStatus::NoLapCount, "Unable to save replay (03)"},
                        {20, &none, TKvlWriteStatus::NoLapCount, "Unable to save replay (03)"},
                        {30, &one, TKvlWriteStatus::NoLap, "Unable to save replay (05)"}};
    for (const Cut& cut : cuts) {
        FullSinkBuf buf(cut.room);
        std::ostream out(&buf);
        KvlDocumentView view;
        view.laps = cut.laps;
        const KvlWriteResult w = WriteKvlDocument(out, view);
        EXPECT_FALSE(w.ok) << cut.room;
        EXPECT_EQ(w.status, cut.status) << cut.room;
        EXPECT_STREQ(w.message(), cut.message) << cut.room;
    }
    std::ostringstream fine;
    const KvlWriteResult w = WriteKvlDocument(fine, KvlDocumentView{});
    EXPECT_TRUE(w.ok);
    EXPECT_EQ(w.status, TKvlWriteStatus::Ok);
    EXPECT_STREQ(w.message(), "");
}

TEST(KvlFile, HostileSampleCountsFailWithoutAllocatingForThem) {
    const TTrackList tracks = Tracks();
    auto a = Lap("Ann", 3);
    const std::string full = Write({a.get()}, 12);
    const size_t countAt = 24 + 32 + 4;
    for (int32_t n : {-1, INT32_MIN, 0x7fffffff, 0x10000000, 4}) {
        std::string bytes = full;
        Put32(bytes, countAt, n);
        KvlReadResult r = Read(bytes, tracks);
        EXPECT_STREQ(r.message(), "Unable to read replay (04)") << n;
        // The same through a stream that cannot tell its length.
        NoSeekBuf buf(bytes);
        std::istream in(&buf);
        r = ReadKvlDocument(in, tracks);
        EXPECT_STREQ(r.message(), "Unable to read replay (04)") << n;
    }
    NoSeekBuf buf(full);
    std::istream in(&buf);
    KvlReadResult r = ReadKvlDocument(in, tracks);
    ASSERT_TRUE(r.ok) << r.message();
    ExpectSameLap(*r.laps[0], *a);
}

TEST(KvlFile, FilesTitlesAndSafeSaving) {
    const TTrackList tracks = Tracks();
    const auto dir =
        std::filesystem::temp_directory_path() / ("kvl-test-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::string target = (dir / "Season Laps.kvl").string();

    EXPECT_STREQ(ReadKvlDocument(target, tracks).message(), "Unable to open file");
    EXPECT_EQ(ReadKvlDocument(target, tracks).stage, KvlReadStage::NotOpened);
    EXPECT_STREQ(ReadKvlDocument(dir.string(), tracks).message(), "Unable to open file");

    auto a = Lap("Ann", 4);
    std::vector<const TReplay*> laps{a.get()};
    KvlDocumentView view;
    view.trackId = 12;
    view.laps = &laps;
    ASSERT_TRUE(SafeSaveKvlDocument(target, view).ok);
    std::ifstream in(target, std::ios::binary);
    const std::string saved((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    EXPECT_TRUE(ReadKvlDocument(target, tracks).ok);

    // A save that fails part way leaves the earlier file exactly as it was, and no temporary.
    std::vector<const TReplay*> broken{a.get(), nullptr};
    view.laps = &broken;
    KvlWriteResult w = SafeSaveKvlDocument(target, view);
    EXPECT_FALSE(w.ok);
    EXPECT_STREQ(w.message(), "Unable to save replay (05)");
    std::ifstream again(target, std::ios::binary);
    const std::string after((std::istreambuf_iterator<char>(again)),
                            std::istreambuf_iterator<char>());
    EXPECT_EQ(after, saved);
    size_t files = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir)) ++files;
    EXPECT_EQ(files, 1u);
    EXPECT_STREQ(SafeSaveKvlDocument(dir.string(), view).message(), "Unable to create file");
    EXPECT_STREQ(SafeSaveKvlDocument((dir / "no" / "x.kvl").string(), view).message(),
                 "Unable to create file");

    EXPECT_EQ(KvlDocTitle("/a/b/Season Laps.kvl"), "Season Laps.kvl");
    EXPECT_EQ(KvlDocTitle(std::string(50, 'n') + ".extension12"),
              std::string(40, 'n') + ".extension");
    std::filesystem::remove_all(dir);
}

// Regression: a FIFO named as a document hung the open; a huge lap count took memory unbounded.
TEST(KvlFile, ReadersRefuseWhatIsNotARegularFileAndBoundTheLaps) {
    const TTrackList tracks = Tracks();
    const auto dir =
        std::filesystem::temp_directory_path() / ("kvl-fifo-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::string fifo = (dir / "f.kvl").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    // Would wait for a writer for ever if it were opened as a file.
    EXPECT_STREQ(ReadKvlDocument(fifo, tracks).message(), "Unable to open file");
    std::filesystem::remove_all(dir);

    // Empty laps cost far more in memory than their 91 bytes: a count beyond the limit is
    // refused at the limit, keeping the laps before it as a short file would.
    std::string bytes = Write({}, 12);
    Put32(bytes, 20, kKvlMaxLaps + 1);
    auto empty = Lap("Empty", 0);
    std::ostringstream lap;
    ASSERT_TRUE(WriteKvlLap(lap, *empty));
    ASSERT_EQ(lap.str().size(), 91u);
    for (int32_t i = 0; i <= kKvlMaxLaps; ++i) bytes += lap.str();
    const KvlReadResult r = Read(bytes, tracks);
    EXPECT_FALSE(r.ok);
    EXPECT_STREQ(r.message(), "Unable to read replay (04)");
    EXPECT_EQ(r.laps.size(), static_cast<size_t>(kKvlMaxLaps));
}

TEST(KvlFile, SavingRespectsWhatItReplaces) {
    const TTrackList tracks = Tracks();
    const auto dir =
        std::filesystem::temp_directory_path() / ("kvl-save-" + std::to_string(getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir / "real");
    auto a = Lap("Ann", 4);
    std::vector<const TReplay*> laps{a.get()};
    KvlDocumentView view;
    view.trackId = 12;
    view.laps = &laps;
    auto contents = [](const std::filesystem::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    };

    // Through a symlink: the real document is saved, the link stays a link.
    { std::ofstream(dir / "real" / "doc.kvl") << "stale"; }
    std::filesystem::create_symlink("real/doc.kvl", dir / "link.kvl");
    ASSERT_TRUE(SafeSaveKvlDocument((dir / "link.kvl").string(), view).ok);
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.kvl"));
    EXPECT_TRUE(ReadKvlDocument((dir / "real" / "doc.kvl").string(), tracks).ok);

    // A read-only document, and a FIFO, are refused with the save message.
    { std::ofstream(dir / "ro.kvl") << "keep"; }
    std::filesystem::permissions(dir / "ro.kvl", std::filesystem::perms::owner_read);
    EXPECT_STREQ(SafeSaveKvlDocument((dir / "ro.kvl").string(), view).message(),
                 "Unable to create file");
    EXPECT_EQ(contents(dir / "ro.kvl"), "keep");
    ASSERT_EQ(::mkfifo((dir / "fifo.kvl").c_str(), 0644), 0);
    EXPECT_STREQ(WriteKvlDocument((dir / "fifo.kvl").string(), view).message(),
                 "Unable to create file");
    EXPECT_TRUE(std::filesystem::is_fifo(dir / "fifo.kvl"));

    // A legal 250-character name saves, twice.
    const auto longName = dir / (std::string(246, 'L') + ".kvl");
    ASSERT_TRUE(SafeSaveKvlDocument(longName.string(), view).ok);
    ASSERT_TRUE(SafeSaveKvlDocument(longName.string(), view).ok);
    EXPECT_TRUE(ReadKvlDocument(longName.string(), tracks).ok);
    size_t files = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir)) ++files;
    EXPECT_EQ(files, 5u);  // real, link, ro, fifo, the long name: no temporary files
    std::filesystem::remove_all(dir);
}
