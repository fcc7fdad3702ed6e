// Reading a document into the window's state: what each failure reports and exactly what
// of the document survives it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "../sim/SimTracks.h"
#include "CommandsFixture.h"
#include "commands/RecentFiles.h"

namespace commands_test {
namespace {

using testing::ElementsAre;

class ReadDocumentTest : public CommandsTest {
  protected:
    // An open document that a read must either leave alone or clear.
    void SetUp() override {
        MakeDocument("Ridge", {"Earlier 1", "Earlier 2"});
        doc.SetDocTitle("earlier.kvl");
        doc.SetDocumentPath("/docs/earlier.kvl");
        doc.SetSourceReplay(TSourceReplay::One("race1.rpl"));
        // A failed read must not disturb what the window is doing either.
        view.viewMode = ViewMap;
        view.graph.dragging = true;
        SetAxis(doc, &TAxes::x, TelemetryChannel::Time);
        SetAxis(doc, &TAxes::y, TelemetryChannel::Line);
        SetAxis(doc, &TAxes::y2, TelemetryChannel::LateralForce);
        doc.UpdateCaption();
        prompts.ClearLog();
    }

    bool Read(const std::vector<uint8_t>& bytes) {
        WriteFileBytes(Path("in.kvl"), bytes);
        return ReadDocument(ctx, Path("in.kvl"));
    }

    void ExpectUntouched() {
        EXPECT_EQ(doc.laps().Count(), 2);
        EXPECT_EQ(doc.documentPath(), "/docs/earlier.kvl");
        // Regression: a file that held no document went on the recent-files list.
        EXPECT_TRUE(ReadRecentFiles(settings()).empty());
        EXPECT_EQ(view.viewMode, ViewMap);
        EXPECT_TRUE(view.graph.dragging);
        EXPECT_EQ(doc.currentTrack(), TrackIndex("Ridge"));
        EXPECT_TRUE(doc.dirty());
        EXPECT_EQ(doc.docTitle(), "earlier.kvl");
        EXPECT_TRUE(doc.sourceReplay().IsOne());
        EXPECT_EQ(doc.axes().x, TelemetryChannel::Time);
        EXPECT_EQ(prompts.caption, "Korvale - earlier.kvl [Ridge, race1.rpl]");
        EXPECT_TRUE(prompts.Only("AllLapsRemoved").empty());
    }

    // After a failure past the magic the file has replaced the document: cleared, not
    // changed, belonging to the file (path, title, caption, recent files), and with extents
    // recomputed for what was read, so that the window's ranges fit it.
    void ExpectReplacedAfterFailure() {
        EXPECT_FALSE(doc.dirty());
        EXPECT_EQ(doc.documentPath(), Path("in.kvl"));
        EXPECT_EQ(doc.docTitle(), "in.kvl");
        EXPECT_EQ(prompts.caption, doc.Caption());
        EXPECT_EQ(prompts.Only("LapsChanged").size(), 1u);
        EXPECT_EQ(prompts.Only("AllLapsRemoved").size(), 1u);
        const auto recent = ReadRecentFiles(settings());
        ASSERT_FALSE(recent.empty());
        EXPECT_EQ(recent.front(), Path("in.kvl"));
        EXPECT_TRUE(view.graph.dragEnabled);
    }

    std::vector<std::string> Messages() const { return prompts.Only("Message:"); }
};

TEST_F(ReadDocumentTest, FailuresBeforeTheHeaderLeaveTheDocumentAlone) {
    EXPECT_FALSE(ReadDocument(ctx, Path("no such file.kvl")));
    EXPECT_THAT(Messages(), ElementsAre(Msg("Open Error", "Unable to open file")));
    ExpectUntouched();

    prompts.ClearLog();
    EXPECT_FALSE(ReadDocument(ctx, Dir()));
    EXPECT_THAT(Messages(), ElementsAre(Msg("Open Error", "Unable to open file"))) << "a directory";
    ExpectUntouched();

    prompts.ClearLog();
    EXPECT_FALSE(Read({0x09, 0x55}));
    EXPECT_THAT(Messages(), ElementsAre(Msg("Open Error", "Unable to read replay (05)")));
    ExpectUntouched();

    prompts.ClearLog();
    EXPECT_FALSE(Read(KvlBytes().I32(0x014E5508).I32(1).I32(2).I32(7).I32(24).I32(0).Bytes()));
    EXPECT_THAT(Messages(), ElementsAre(Msg("Open Error", "Unable to read replay (06)")));
    ExpectUntouched();
    EXPECT_EQ(prompts.waitDepth, 0) << "the arrow cursor is back";
}

TEST_F(ReadDocumentTest, AxesReadSoFarSurviveAShortHeader) {
    EXPECT_FALSE(Read(KvlBytes().I32(kKvlMagic).Bytes()));
    EXPECT_THAT(Messages(), ElementsAre(Msg("Open Error", "Unable to read replay (01)")));
    EXPECT_TRUE(doc.laps().Empty());
    EXPECT_EQ(doc.currentTrack(), -1);
    EXPECT_EQ((std::array<int32_t, 3>{ChannelNumber(doc.axes().x), ChannelNumber(doc.axes().y),
                                      ChannelNumber(doc.axes().y2)}),
              (std::array<int32_t, 3>{0, 3, 5}));
    ExpectReplacedAfterFailure();

    prompts.ClearLog();
    EXPECT_FALSE(Read(KvlBytes().I32(kKvlMagic).I32(4).Bytes()));
    EXPECT_THAT(Messages(), ElementsAre(Msg("Open Error", "Unable to read replay (07)")));
    EXPECT_EQ(doc.axes().x, TelemetryChannel::InlineForce);
    EXPECT_EQ(doc.axes().y, TelemetryChannel::Line);
    EXPECT_FALSE(doc.AxesChanged()) << "what was read is also the snapshot";

    prompts.ClearLog();
    EXPECT_FALSE(Read(KvlBytes().I32(kKvlMagic).I32(0).I32(6).Bytes()));
    EXPECT_THAT(Messages(), ElementsAre(Msg("Open Error", "Unable to read replay (08)")));
    EXPECT_EQ((std::array<int32_t, 3>{ChannelNumber(doc.axes().x), ChannelNumber(doc.axes().y),
                                      ChannelNumber(doc.axes().y2)}),
              (std::array<int32_t, 3>{0, 6, 5}));

    prompts.ClearLog();
    EXPECT_FALSE(Read(KvlBytes().I32(kKvlMagic).I32(1).I32(2).I32(3).Bytes()));
    EXPECT_THAT(Messages(), ElementsAre(Msg("Open Error", "Unable to read replay (02)")));
    EXPECT_EQ(doc.axes().y2, TelemetryChannel::Line);
    EXPECT_EQ(doc.currentTrack(), -1);
}

TEST_F(ReadDocumentTest, AnUnknownTrackIsABadTrackValue) {
    EXPECT_FALSE(Read(KvlBytes().I32(kKvlMagic).I32(1).I32(2).I32(7).I32(99).I32(0).Bytes()));
    EXPECT_THAT(Messages(), ElementsAre(Msg("Open Error", "Bad track value in file")));
    EXPECT_EQ(doc.currentTrack(), -1);
    EXPECT_TRUE(doc.laps().Empty());
    ExpectReplacedAfterFailure();

    // An earlier-version number of 16 or more cannot be translated.
    prompts.ClearLog();
    EXPECT_FALSE(Read(KvlBytes().I32(kKvlMagicEarlier).I32(1).I32(2).I32(16).I32(0).Bytes()));
    EXPECT_THAT(Messages(), ElementsAre(Msg("Open Error", "Bad track value in file")));
    EXPECT_EQ(doc.axes().y2, TelemetryChannel::None) << "the earlier version has no second y axis";
}

TEST_F(ReadDocumentTest, TheTrackSurvivesAMissingLapCount) {
    EXPECT_FALSE(Read(KvlBytes().I32(kKvlMagic).I32(1).I32(2).I32(7).I32(3).Bytes()));
    EXPECT_THAT(Messages(), ElementsAre(Msg("Open Error", "Unable to read replay (03)")));
    EXPECT_EQ(doc.currentTrack(), TrackIndex("Bullring"));
    EXPECT_THAT(prompts.Only("TrackOpened"), ElementsAre("TrackOpened: no geometry"));
    ExpectReplacedAfterFailure();
}

TEST_F(ReadDocumentTest, CompleteLapsSurviveAMissingOne) {
    auto a = MakeLap("Kept A", 6);
    auto b = MakeLap("Kept B", 0);
    auto c = MakeLap("Cut C", 9);
    std::vector<uint8_t> bytes = KvlBytes()
                                     .I32(kKvlMagic)
                                     .I32(1)
                                     .I32(2)
                                     .I32(7)
                                     .I32(24)
                                     .I32(3)
                                     .Lap(*a)
                                     .Lap(*b)
                                     .Lap(*c)
                                     .Bytes();
    bytes.resize(bytes.size() - 1);  // the third record is one byte short
    EXPECT_FALSE(Read(bytes));
    EXPECT_THAT(Messages(), ElementsAre(Msg("Open Error", "Unable to read replay (04)")));
    ASSERT_EQ(doc.laps().Count(), 2);
    ExpectSameLap(doc.laps().At(0), *a);
    ExpectSameLap(doc.laps().At(1), *b);
    EXPECT_THAT(prompts.Only("LapAdded"), ElementsAre("LapAdded: Kept A", "LapAdded: Kept B"));
    EXPECT_EQ(doc.currentTrack(), TrackIndex("Oval"));
    ExpectReplacedAfterFailure();
}

TEST_F(ReadDocumentTest, ALapCountBeyondTheFileFailsWithoutAHugeAllocation) {
    auto a = MakeLap("Only", 5);
    EXPECT_FALSE(Read(
        KvlBytes().I32(kKvlMagic).I32(1).I32(2).I32(7).I32(24).I32(0x7fffffff).Lap(*a).Bytes()));
    EXPECT_THAT(Messages(), ElementsAre(Msg("Open Error", "Unable to read replay (04)")));
    EXPECT_EQ(doc.laps().Count(), 1);
}

TEST_F(ReadDocumentTest, AnEarlierVersionOpensChangedAndSavesAsTheCurrentOne) {
    auto a = MakeLap("Old", 7);
    // Old track number 3 is track id 24; the track value keeps only its low 8 bits.
    const std::vector<uint8_t> bytes =
        KvlBytes().I32(kKvlMagicEarlier).I32(0).I32(4).I32(0x300 + 3).I32(1).Lap(*a).Bytes();
    ASSERT_TRUE(Read(bytes));
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(doc.currentTrack(), TrackIndex("Oval"));
    EXPECT_EQ((std::array<int32_t, 3>{ChannelNumber(doc.axes().x), ChannelNumber(doc.axes().y),
                                      ChannelNumber(doc.axes().y2)}),
              (std::array<int32_t, 3>{0, 4, 7}));
    EXPECT_TRUE(doc.dirty()) << "saving converts it";
    EXPECT_EQ(doc.docTitle(), "in.kvl");
    EXPECT_EQ(prompts.caption, "Korvale - in.kvl [Oval]");
    ASSERT_EQ(doc.laps().Count(), 1);
    ExpectSameLap(doc.laps().At(0), *a);

    ASSERT_TRUE(WriteDocument(ctx, Path("in.kvl")));
    const std::vector<uint8_t> saved = FileBytes(Path("in.kvl"));
    EXPECT_EQ(saved.size(), bytes.size() + 4);
    EXPECT_EQ(std::vector<uint8_t>(saved.begin(), saved.begin() + 4),
              (std::vector<uint8_t>{0x09, 0x55, 0x4E, 0x01}));
    EXPECT_FALSE(doc.dirty());
}

// A document's axis numbers that name no channel the axis can hold are kept, not replaced:
// the graph draws such an axis with its default, and a save writes the numbers back.
TEST_F(ReadDocumentTest, AxisNumbersOutsideTheChannelsAreKeptAndSavedBack) {
    const std::vector<uint8_t> bytes =
        KvlBytes().I32(kKvlMagic).I32(5).I32(42).I32(-3).I32(24).I32(0).Bytes();
    ASSERT_TRUE(Read(bytes));
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ((std::array<int32_t, 3>{ChannelNumber(doc.axes().x), ChannelNumber(doc.axes().y),
                                      ChannelNumber(doc.axes().y2)}),
              (std::array<int32_t, 3>{5, 42, -3}));
    EXPECT_FALSE(doc.AxesChanged());
    ASSERT_TRUE(WriteDocument(ctx, Path("out.kvl")));
    EXPECT_EQ(FileBytes(Path("out.kvl")), bytes);
}

TEST_F(ReadDocumentTest, ATrackWithGeometryResetsThePictureWindowScale) {
    tracks.Insert(std::make_unique<TTrackData>(simtest::RoadCourse()));
    TTrackData& road = tracks.At(TrackIndex("Test Road Course"));
    ASSERT_TRUE(Read(KvlBytes().I32(kKvlMagic).I32(1).I32(2).I32(7).I32(40).I32(0).Bytes()));
    EXPECT_THAT(prompts.Only("TrackOpened"), ElementsAre("TrackOpened: geometry"));
    EXPECT_TRUE(road.geometryPrepared());
    EXPECT_EQ(view.viewMode, ViewGraph);
    ClearDocument(ctx);
    EXPECT_FALSE(road.geometryPrepared()) << "clearing releases the track's geometry";
}

}  // namespace
}  // namespace commands_test
