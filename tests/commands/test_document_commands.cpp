// New, Open, Save, Save As, the save question, the close check, the caption, clearing and
// the enabling of the file commands, driven through scripted prompts.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "CommandsFixture.h"
#include "commands/CommandSettings.h"
#include "commands/RecentFiles.h"

namespace commands_test {
namespace {

using Document = CommandsTest;
using testing::ElementsAre;

const std::string kKvlDialogOpen = "Dialog: Open |  | ./*.kvl";
const std::string kKvlDialogSave = "Dialog: Save |  | ./*.kvl";

TEST_F(Document, CaptionNamesDocumentTrackAndSourceInAllFiveCases) {
    EXPECT_EQ(doc.Caption(), "Korvale");
    doc.SetDocTitle("lap.kvl");
    doc.SetSourceReplay(TSourceReplay::One("race1.rpl"));
    EXPECT_EQ(doc.Caption(), "Korvale") << "no track: nothing else is shown";

    doc.SetCurrentTrack(TrackIndex("Oval"));
    EXPECT_EQ(doc.Caption(), "Korvale - lap.kvl [Oval, race1.rpl]");
    doc.SourceImported("RACE2.rpl");
    EXPECT_TRUE(doc.sourceReplay().IsSeveral());
    EXPECT_EQ(doc.Caption(), "Korvale - lap.kvl [Oval]");
    doc.SetSourceReplay({});
    EXPECT_EQ(doc.Caption(), "Korvale - lap.kvl [Oval]");

    doc.SetDocTitle(std::nullopt);
    doc.SetSourceReplay(TSourceReplay::One("race1.rpl"));
    EXPECT_EQ(doc.Caption(), "Korvale [Oval, race1.rpl]");
    doc.SetSourceReplay(TSourceReplay::Several());
    EXPECT_EQ(doc.Caption(), "Korvale [Oval]");
    doc.SetSourceReplay({});
    EXPECT_EQ(doc.Caption(), "Korvale [Oval]");

    doc.UpdateCaption();
    EXPECT_EQ(prompts.caption, "Korvale [Oval]");
}

TEST_F(Document, SourceReplayKeepsOneNameInLowerCaseUntilASecondReplay) {
    TSourceReplay s;
    s.Imported("Race1.RPL");
    EXPECT_TRUE(s.IsOne());
    EXPECT_EQ(s.Name(), "race1.rpl");
    s.Imported("RACE1.rpl");
    EXPECT_TRUE(s.IsOne()) << "the same replay in other letter case is the same source";
    s.Imported("race2.rpl");
    EXPECT_TRUE(s.IsSeveral());
    s.Imported("race1.rpl");
    EXPECT_TRUE(s.IsSeveral()) << "several sources stay several";
}

TEST_F(Document, ClearResetsEveryPartOfTheDocumentButTheTitle) {
    MakeDocument("Oval", {"A", "B"});
    doc.SetDocTitle("lap.kvl");
    doc.SetSourceReplay(TSourceReplay::One("race1.rpl"));
    view.map.comparisonShown = true;
    view.map.segmentWinner = {1, 2, 0};
    view.viewMode = ViewMap;
    view.graph.fullRange = {5, 10, 6, 12, 7, 14};
    view.graph.dragging = view.graph.dragEnabled = view.cornersShown = true;
    view.side.pipShown = true;
    SetAxis(doc, &TAxes::x, TelemetryChannel::Time);
    SetAxis(doc, &TAxes::y2, TelemetryChannel::InlineForce);
    ASSERT_EQ(TReplay::LapCounter(), 2);
    prompts.ClearLog();

    ClearDocument(ctx);

    EXPECT_TRUE(doc.laps().Empty());
    EXPECT_EQ(TReplay::LapCounter(), 0);
    EXPECT_TRUE(doc.sourceReplay().IsEmpty());
    EXPECT_FALSE(view.map.comparisonShown);
    EXPECT_TRUE(view.map.segmentWinner.empty());
    EXPECT_EQ(doc.currentTrack(), -1);
    EXPECT_EQ(view.viewMode, ViewGraph);
    EXPECT_EQ(view.graph.fullRange, (TAxisRanges{0, 10, 0, 12, 7, 14}));
    EXPECT_FALSE(doc.dirty());
    EXPECT_FALSE(view.graph.dragging);
    EXPECT_FALSE(view.graph.dragEnabled);
    EXPECT_FALSE(view.cornersShown);
    EXPECT_FALSE(doc.AxesChanged()) << "the snapshot is taken from the current axes";
    EXPECT_EQ(doc.savedAxes(), (TAxes{TelemetryChannel::Time, TelemetryChannel::Speed,
                                      TelemetryChannel::InlineForce}));
    EXPECT_FALSE(view.side.pipShown);
    EXPECT_TRUE(view.graph.repaintPending);
    EXPECT_EQ(doc.docTitle(), "lap.kvl");
    EXPECT_EQ(prompts.caption, "Korvale");
    EXPECT_THAT(prompts.log, ElementsAre("AllLapsRemoved", "SwitchToGraph", "Caption: Korvale",
                                         "ClosePictureInPicture", "Repaint"));
}

TEST_F(Document, ClearingAnEmptyDocumentKeepsTheLapCounterAndAHiddenPictureWindow) {
    auto loose = MakeLap("kept elsewhere", 4);  // takes serial 0
    ClearDocument(ctx);
    EXPECT_EQ(TReplay::LapCounter(), 1);
    EXPECT_TRUE(prompts.Only("ClosePictureInPicture").empty());
}

TEST_F(Document, SaveFollowsTheAxesSnapshotAndSaveAsNeedsATrack) {
    EXPECT_FALSE(SaveEnabled(doc));
    EXPECT_FALSE(SaveAsEnabled(doc));
    SetAxis(doc, &TAxes::y, TelemetryChannel::LateralForce);
    EXPECT_TRUE(SaveEnabled(doc)) << "an axis change alone makes Save available";
    SetAxis(doc, &TAxes::y, TelemetryChannel::Speed);
    EXPECT_FALSE(SaveEnabled(doc));
    doc.SetDirty(true);
    EXPECT_TRUE(SaveEnabled(doc));
    doc.SetCurrentTrack(TrackIndex("Ridge"));
    EXPECT_TRUE(SaveAsEnabled(doc));
}

TEST_F(Document, NewAsksOnlyAboutChangesAndCancelKeepsEverything) {
    doc.SetDocumentPath(Path("old.kvl"));
    MakeDocument("Oval", {"A"});
    doc.SetDirty(false);
    NewDocument(ctx);
    EXPECT_TRUE(prompts.Asked().empty());
    EXPECT_TRUE(doc.documentPath().empty());
    EXPECT_TRUE(doc.laps().Empty());

    MakeDocument("Oval", {"A"});
    doc.SetDocumentPath(Path("old.kvl"));
    prompts.ClearLog();
    prompts.answers = {TMsgAnswer::Cancel};
    NewDocument(ctx);
    EXPECT_THAT(prompts.Asked(), ElementsAre(kSaveQuestion));
    EXPECT_EQ(doc.laps().Count(), 1);
    EXPECT_TRUE(doc.dirty());
    EXPECT_EQ(doc.documentPath(), Path("old.kvl"));

    prompts.ClearLog();
    prompts.answers = {TMsgAnswer::No};
    NewDocument(ctx);
    EXPECT_THAT(prompts.Asked(), ElementsAre(kSaveQuestion));
    EXPECT_TRUE(doc.laps().Empty());
    EXPECT_FALSE(std::filesystem::exists(Path("old.kvl")));
}

TEST_F(Document, NewWithYesSavesFirstAndThenSaveGoesToSaveAs) {
    MakeDocument("Oval", {"A"});
    doc.SetDocumentPath(Path("kept.kvl"));
    prompts.answers = {TMsgAnswer::Yes};
    NewDocument(ctx);
    EXPECT_TRUE(std::filesystem::exists(Path("kept.kvl")));
    EXPECT_TRUE(doc.laps().Empty());
    EXPECT_TRUE(doc.documentPath().empty());

    // The empty document has no track: Save goes to Save As, which refuses.
    prompts.ClearLog();
    SetAxis(doc, &TAxes::x, TelemetryChannel::Time);
    ASSERT_TRUE(SaveEnabled(doc));
    EXPECT_FALSE(SaveCommand(ctx));
    EXPECT_THAT(prompts.Asked(), ElementsAre(Msg("Save Error", kMsgNoTrackToSave)));
}

TEST_F(Document, AYesWhoseSaveDidNotHappenStopsTheOperation) {
    MakeDocument("Oval", {"A"});
    prompts.answers = {TMsgAnswer::Yes};
    prompts.saveFiles = {std::nullopt};  // the Save As that Save became is cancelled
    NewDocument(ctx);
    EXPECT_THAT(prompts.Asked(), ElementsAre(kSaveQuestion, kKvlDialogSave));
    EXPECT_EQ(doc.laps().Count(), 1) << "the changes the user wanted kept are still there";
    EXPECT_TRUE(doc.dirty());
}

TEST_F(Document, SaveAsWritesTheChosenFileAndRemembersItsDirectory) {
    MakeDocument("Oval", {"A", "B"});
    doc.SetSourceReplay(TSourceReplay::One("race1.rpl"));
    prompts.saveFiles = {Path("lap.kvl")};
    EXPECT_TRUE(SaveAsCommand(ctx));

    ASSERT_EQ(prompts.fileDialogs.size(), 1u);
    const TFileDialogXfer& x = prompts.fileDialogs[0];
    EXPECT_EQ(x.filter, "Telemetry Files (*.kvl)|*.kvl|All Files (*.*)|*.*|");
    EXPECT_EQ(x.defaultExt, "kvl");
    EXPECT_TRUE(x.confirmOverwrite);
    EXPECT_EQ(x.initialPath, "./*.kvl");
    EXPECT_EQ(doc.documentPath(), Path("lap.kvl"));
    EXPECT_FALSE(doc.dirty());
    EXPECT_EQ(doc.docTitle(), "lap.kvl");
    EXPECT_EQ(prompts.caption, "Korvale - lap.kvl [Oval, race1.rpl]");
    EXPECT_EQ(Setting("admin", "path"), Dir() + "/*.kvl");
    EXPECT_EQ(ReadRecentFiles(settings()), std::vector<std::string>{Path("lap.kvl")});
    EXPECT_EQ(FileBytes(Path("lap.kvl")).size(), 24u + 2 * (91 + 11 * 20));

    // The next dialog starts in the remembered directory; Cancel keeps the document path.
    prompts.ClearLog();
    prompts.saveFiles = {std::nullopt};
    EXPECT_FALSE(SaveAsCommand(ctx));
    EXPECT_EQ(prompts.fileDialogs.back().initialPath, Dir() + "/*.kvl");
    EXPECT_EQ(doc.documentPath(), Path("lap.kvl"));
}

TEST_F(Document, SaveWithAPathWritesInPlaceAndHeadsTheRecentFiles) {
    MakeDocument("Ridge", {"A"});
    doc.SetDocumentPath(Path("ridge.kvl"));
    PutOnRecentFiles(settings(), Path("other.kvl"));
    EXPECT_TRUE(SaveCommand(ctx));
    EXPECT_TRUE(prompts.Asked().empty()) << "no dialog when the path is known";
    EXPECT_FALSE(doc.dirty());
    EXPECT_EQ(ReadRecentFiles(settings()),
              (std::vector<std::string>{Path("ridge.kvl"), Path("other.kvl")}));
    EXPECT_EQ(Setting("admin", "path"), "<missing>")
        << "only Save As and Open remember the directory";
}

TEST_F(Document, SavingWithChangedAxesLeavesSaveAvailable) {
    WriteFileBytes(Path("axes.kvl"),
                   KvlBytes().I32(kKvlMagic).I32(1).I32(2).I32(7).I32(24).I32(0).Bytes());
    ASSERT_TRUE(OpenDocumentPath(ctx, Path("axes.kvl")));
    EXPECT_FALSE(SaveEnabled(doc));
    SetAxis(doc, &TAxes::y, TelemetryChannel::InlineForce);
    ASSERT_TRUE(SaveCommand(ctx));
    EXPECT_FALSE(doc.dirty());
    EXPECT_TRUE(SaveEnabled(doc)) << "the snapshot is taken on open, clear and start only";
    ASSERT_TRUE(ReadDocument(ctx, Path("axes.kvl")));
    EXPECT_EQ(doc.axes().y, TelemetryChannel::InlineForce);
    EXPECT_FALSE(SaveEnabled(doc));
}

TEST_F(Document, WrittenDocumentReadsBackIdenticalLapForLap) {
    doc.SetCurrentTrack(TrackIndex("Ridge"));
    AddLap("Ann Lee");
    AddLap("Ann Lee", 20, {0, 0, 255});
    auto bo = MakeLap("Bo", 0, 100, {255, 0, 0});  // a lap without samples is stored without arrays
    bo->carNumber = 105;
    doc.AddLap(std::move(bo));
    doc.SetDirty(true);
    SetAxis(doc, &TAxes::x, TelemetryChannel::Time);
    SetAxis(doc, &TAxes::y, TelemetryChannel::SlipAngle);
    SetAxis(doc, &TAxes::y2, TelemetryChannel::Line);
    TLapList written;
    for (int32_t i = 0; i < doc.laps().Count(); ++i) {
        const TReplay& l = doc.laps().At(i);
        auto copy = MakeLap(l.driverName, 0);
        copy->ResizeSamples(l.sampleCount);
        copy->positions = l.positions;
        copy->lines = l.lines;
        copy->headings = l.headings;
        copy->auxBytes = l.auxBytes;
        copy->carNumber = l.carNumber;
        copy->startFrame = l.startFrame;
        copy->endFrame = l.endFrame;
        copy->startPosition = l.startPosition;
        copy->endPosition = l.endPosition;
        copy->inchesPerUnit = l.inchesPerUnit;
        copy->lapLength = l.lapLength;
        copy->colour = l.colour;
        written.Add(std::move(copy));
    }
    doc.SetDocumentPath(Path("round.kvl"));
    ASSERT_TRUE(SaveCommand(ctx));

    ClearDocument(ctx);
    SetAxis(doc, &TAxes::x, TelemetryChannel::Position);
    SetAxis(doc, &TAxes::y, TelemetryChannel::Speed);
    SetAxis(doc, &TAxes::y2, TelemetryChannel::None);
    AddLap("stray");  // serial 0 after the clear
    prompts.ClearLog();
    ASSERT_TRUE(ReadDocument(ctx, Path("round.kvl")));
    EXPECT_TRUE(prompts.Asked().empty());
    ASSERT_EQ(doc.laps().Count(), 3);
    for (int32_t i = 0; i < 3; ++i) ExpectSameLap(doc.laps().At(i), written.At(i));
    // Regression: laps read from a document shared serials with the next imports.
    // Fresh serials from the counter the clear reset; the stray lap's 0 is gone with it.
    EXPECT_EQ(doc.laps().At(0).serial, 0);
    EXPECT_EQ(doc.laps().At(2).serial, 2);
    const auto next = MakeLap("imported next", 4);
    for (int32_t i = 0; i < 3; ++i) EXPECT_NE(doc.laps().At(i).serial, next->serial);
    EXPECT_EQ(doc.currentTrack(), TrackIndex("Ridge"))
        << "id 156 is stored negative and found again";
    EXPECT_EQ((std::array<int32_t, 3>{ChannelNumber(doc.axes().x), ChannelNumber(doc.axes().y),
                                      ChannelNumber(doc.axes().y2)}),
              (std::array<int32_t, 3>{0, 6, 3}));
    EXPECT_FALSE(doc.AxesChanged());
    EXPECT_FALSE(doc.dirty());
    EXPECT_TRUE(doc.sourceReplay().IsSeveral());
    EXPECT_EQ(doc.docTitle(), "round.kvl");
    EXPECT_EQ(prompts.caption, "Korvale - round.kvl [Ridge]");
    EXPECT_TRUE(view.graph.dragEnabled);
    EXPECT_EQ(prompts.Only("LapAdded").size(), 3u);
    EXPECT_EQ(prompts.Only("LapsChanged").size(), 1u);
}

TEST_F(Document, AFailedSaveLeavesTheEarlierFileExactlyAsItWas) {
    MakeDocument("Oval", {"A", "B"});
    doc.SetDocumentPath(Path("keep.kvl"));
    ASSERT_TRUE(SaveCommand(ctx));
    const std::vector<uint8_t> before = FileBytes(Path("keep.kvl"));
    ASSERT_FALSE(before.empty());

    // A third lap whose count claims more samples than it holds cannot be written.
    TReplay& bad = AddLap("C", 8);
    bad.sampleCount = 50;
    doc.SetDirty(true);
    doc.SetDocTitle("earlier title");
    prompts.ClearLog();
    EXPECT_FALSE(SaveCommand(ctx));
    EXPECT_THAT(prompts.Asked(), ElementsAre(Msg("Save Error", "Unable to save replay (05)")));
    EXPECT_EQ(FileBytes(Path("keep.kvl")), before);
    EXPECT_TRUE(doc.dirty());
    EXPECT_EQ(doc.docTitle(), "earlier title");
    EXPECT_EQ(ReadRecentFiles(settings()).front(), Path("keep.kvl"))
        << "the earlier save put it there";
    for (const auto& e : std::filesystem::directory_iterator(Dir()))
        EXPECT_EQ(e.path().filename().string().find(".tmp-"), std::string::npos)
            << "temporary file left behind: " << e.path();
}

TEST_F(Document, ASaveIntoAVanishedDirectoryReportsAndChangesNothing) {
    std::filesystem::create_directories(Path("gone"));
    MakeDocument("Oval", {"A"});
    doc.SetDocumentPath(Path("gone/doc.kvl"));
    std::filesystem::remove_all(Path("gone"));
    EXPECT_FALSE(SaveCommand(ctx));
    EXPECT_THAT(prompts.Asked(), ElementsAre(Msg("Save Error", "Unable to create file")));
    EXPECT_TRUE(doc.dirty());
    EXPECT_FALSE(doc.docTitle().has_value());
    EXPECT_FALSE(std::filesystem::exists(Path("gone")));
    EXPECT_TRUE(ReadRecentFiles(settings()).empty()) << "only a saved file is worth reopening";

    // Nor does a Save As whose write failed put its path there.
    prompts.saveFiles = {Path("gone/other.kvl")};
    EXPECT_FALSE(SaveAsCommand(ctx));
    EXPECT_TRUE(ReadRecentFiles(settings()).empty());
}

// Regression: a failed Open redirected Save onto the file it could not read.
TEST_F(Document, AFailedOpenLeavesThePathSoSaveStillWritesTheDocumentsOwnFile) {
    MakeDocument("Oval", {"A", "B"});
    doc.SetDocumentPath(Path("mine.kvl"));
    ASSERT_TRUE(SaveCommand(ctx));
    AddLap("C");
    doc.SetDirty(true);
    const std::string text = Path("notes.txt");
    WriteFileBytes(text, {'h', 'e', 'l', 'l', 'o', '\n'});
    prompts.ClearLog();

    // Open, No to both save questions, then a file that is not a document.
    prompts.answers = {TMsgAnswer::No, TMsgAnswer::No};
    prompts.openFiles = {text};
    OpenCommand(ctx);
    EXPECT_THAT(
        prompts.Only("Message:"),
        ElementsAre(kSaveQuestion, kSaveQuestion, Msg("Open Error", "Unable to read replay (06)")));
    EXPECT_EQ(doc.documentPath(), Path("mine.kvl"));
    EXPECT_EQ(doc.laps().Count(), 3);
    EXPECT_TRUE(doc.dirty());
    EXPECT_EQ(ReadRecentFiles(settings()), std::vector<std::string>{Path("mine.kvl")});

    // Save and the save question at close write the document's own file, never the text.
    ASSERT_TRUE(SaveCommand(ctx));
    EXPECT_EQ(FileBytes(text), (std::vector<uint8_t>{'h', 'e', 'l', 'l', 'o', '\n'}));
    EXPECT_EQ(FileBytes(Path("mine.kvl")).size(), 24u + 3 * (91 + 11 * 20));

    // The recent-files list and dropped files take the same way.
    RecentFileChosen(ctx, text);
    FilesDropped(ctx, {text});
    RecentFileChosen(ctx, Path("missing.kvl"));
    EXPECT_EQ(doc.documentPath(), Path("mine.kvl"));
    EXPECT_EQ(ReadRecentFiles(settings()), std::vector<std::string>{Path("mine.kvl")});
}

// Regression: New kept the title of the file it left.
TEST_F(Document, NewForgetsTheTitleOfTheFileItLeaves) {
    MakeDocument("Oval", {"A"});
    doc.SetDocumentPath(Path("sample.kvl"));
    doc.SetDocTitle("sample.kvl");
    doc.SetDirty(false);
    NewDocument(ctx);
    EXPECT_FALSE(doc.docTitle().has_value());
    // A lap imported into the new document: the caption names no file.
    doc.SetCurrentTrack(TrackIndex("Oval"));
    doc.SourceImported("race1.rpl");
    doc.UpdateCaption();
    EXPECT_EQ(prompts.caption, "Korvale [Oval, race1.rpl]");
}

TEST_F(Document, SaveWithoutATrackIsRefusedAndWritesNothing) {
    doc.SetDocumentPath(Path("notrack.kvl"));
    SetAxis(doc, &TAxes::x,
            TelemetryChannel::Time);  // reachable: an axis change enables Save on an empty document
    ASSERT_TRUE(SaveEnabled(doc));
    EXPECT_FALSE(SaveCommand(ctx));
    EXPECT_THAT(prompts.Asked(), ElementsAre(Msg("Save Error", kMsgNoTrackToSave)));
    EXPECT_FALSE(std::filesystem::exists(Path("notrack.kvl")));
    EXPECT_TRUE(SaveEnabled(doc));
}

TEST_F(Document, OpenReadsTheChosenFileAndRemembersItsDirectory) {
    MakeDocument("Bullring", {"A", "B"});
    doc.SetDocumentPath(Path("doc.kvl"));
    ASSERT_TRUE(SaveCommand(ctx));
    ClearDocument(ctx);
    doc.SetDocumentPath("");
    prompts.ClearLog();

    prompts.openFiles = {Path("doc.kvl")};
    OpenCommand(ctx);
    ASSERT_EQ(prompts.fileDialogs.size(), 1u);
    EXPECT_TRUE(prompts.fileDialogs[0].mustExist);
    EXPECT_EQ(prompts.fileDialogs[0].filter, kDocumentFilter);
    EXPECT_EQ(prompts.fileDialogs[0].defaultExt, "kvl");
    EXPECT_THAT(prompts.Asked(), ElementsAre(kKvlDialogOpen));
    EXPECT_EQ(doc.laps().Count(), 2);
    EXPECT_EQ(doc.documentPath(), Path("doc.kvl"));
    EXPECT_EQ(Setting("admin", "path"), Dir() + "/*.kvl");
    EXPECT_EQ(ReadRecentFiles(settings()).front(), Path("doc.kvl"));
    EXPECT_EQ(Setting("window", "infw"), "0") << "Open runs the close check";

    // Cancel in the dialog keeps the path and the document.
    prompts.openFiles = {std::nullopt};
    OpenCommand(ctx);
    EXPECT_EQ(doc.documentPath(), Path("doc.kvl"));
    EXPECT_EQ(doc.laps().Count(), 2);
}

TEST_F(Document, OpenAsksAgainInTheCloseCheckAfterNo) {
    MakeDocument("Oval", {"A"});
    doc.SetDocumentPath(Path("mine.kvl"));
    prompts.answers = {TMsgAnswer::No, TMsgAnswer::Cancel};
    OpenCommand(ctx);
    EXPECT_THAT(prompts.Asked(), ElementsAre(kSaveQuestion, kSaveQuestion));
    EXPECT_TRUE(prompts.fileDialogs.empty()) << "nothing is opened";
    EXPECT_EQ(doc.laps().Count(), 1);
    EXPECT_TRUE(doc.dirty());
    EXPECT_EQ(doc.documentPath(), Path("mine.kvl"));
    EXPECT_EQ(Setting("window", "infx"), "<missing>") << "a refused close check writes nothing";

    // No twice goes on to the dialog and opens without saving.
    MakeDocument("Oval", {});
    doc.SetDocumentPath(Path("mine.kvl"));
    WriteFileBytes(Path("empty.kvl"),
                   KvlBytes().I32(kKvlMagic).I32(1).I32(2).I32(7).I32(24).I32(0).Bytes());
    prompts.ClearLog();
    prompts.answers = {TMsgAnswer::No, TMsgAnswer::No};
    prompts.openFiles = {Path("empty.kvl")};
    OpenCommand(ctx);
    EXPECT_THAT(prompts.Asked(), ElementsAre(kSaveQuestion, kSaveQuestion, kKvlDialogOpen));
    EXPECT_TRUE(doc.laps().Empty());
    EXPECT_FALSE(std::filesystem::exists(Path("mine.kvl")));
    EXPECT_EQ(doc.currentTrack(), TrackIndex("Oval"));
}

TEST_F(Document, OpenWithYesSavesFirstAndAsksNoMore) {
    MakeDocument("Oval", {"A", "B"});
    doc.SetDocumentPath(Path("mine.kvl"));
    WriteFileBytes(Path("next.kvl"),
                   KvlBytes().I32(kKvlMagic).I32(1).I32(2).I32(7).I32(156).I32(0).Bytes());
    prompts.answers = {TMsgAnswer::Yes};
    prompts.openFiles = {Path("next.kvl")};
    OpenCommand(ctx);
    EXPECT_THAT(prompts.Asked(), ElementsAre(kSaveQuestion, kKvlDialogOpen));
    EXPECT_EQ(FileBytes(Path("mine.kvl")).size(), 24u + 2 * (91 + 11 * 20));
    EXPECT_EQ(doc.currentTrack(), TrackIndex("Ridge"));
    EXPECT_EQ(ReadRecentFiles(settings()),
              (std::vector<std::string>{Path("next.kvl"), Path("mine.kvl")}));
}

TEST_F(Document, WithoutASettingsFileEverythingStartsFromTheDefaults) {
    LoadStartupSettings(ctx);
    const TExportSettings& e = session.exportSettings;
    EXPECT_TRUE(e.xPosition);
    EXPECT_FALSE(e.xTime);
    EXPECT_FALSE(e.yPosition || e.yTime || e.yLine || e.yInline || e.yLateral || e.comma ||
                 e.separateLaps);
    EXPECT_TRUE(e.ySpeed);
    EXPECT_EQ(e.resolution, "10");
    EXPECT_TRUE(session.associations.empty());
    EXPECT_EQ(session.assocCountAtLoad, 0);
    EXPECT_EQ(ReadDocumentDirectory(settings()), "./*.kvl");
    EXPECT_EQ(ReadReplayDirectory(settings()), "./*.rpl");
    EXPECT_TRUE(ReadLapTimesFlag(settings()));
    EXPECT_TRUE(ReadRecentFiles(settings()).empty());
    EXPECT_FALSE(std::filesystem::exists(settings().path())) << "reading creates no file";
    // A flag is on only when its stored value is 1.
    settings().WriteInt("export", "yspeed", 2);
    settings().WriteInt("import", "times", 2);
    ReadExportSettings(settings(), session.exportSettings);
    EXPECT_FALSE(session.exportSettings.ySpeed);
    EXPECT_FALSE(ReadLapTimesFlag(settings()));
}

TEST_F(Document, CloseCheckWritesPlacementsAndExportChoices) {
    prompts.rects[TSideWindow::LapList] = {10, 20, 160, 170};
    prompts.rects[TSideWindow::PictureInPicture] = {-5, 30, 200, 150};
    prompts.rects[TSideWindow::DataWindow] = {300, 0, 161, 162};
    session.exportSettings.xPosition = false;
    session.exportSettings.xTime = true;
    session.exportSettings.yLateral = true;
    session.exportSettings.comma = true;
    session.exportSettings.resolution = "2.5";
    EXPECT_TRUE(CanClose(ctx));
    EXPECT_TRUE(prompts.Asked().empty());
    const std::pair<const char*, const char*> expected[] = {
        {"infx", "10"},  {"infy", "20"}, {"infw", "160"}, {"infh", "170"},
        {"pipx", "-5"},  {"pipy", "30"}, {"pipw", "200"}, {"piph", "150"},
        {"datx", "300"}, {"daty", "0"},  {"datw", "161"}, {"dath", "162"}};
    for (const auto& [key, value] : expected) EXPECT_EQ(Setting("window", key), value) << key;
    const std::pair<const char*, const char*> exported[] = {
        {"xpos", "0"},   {"xtime", "1"},   {"ypos", "0"},   {"ytime", "0"},
        {"yspeed", "1"}, {"yline", "0"},   {"ygs", "0"},    {"ylatgs", "1"},
        {"comma", "1"},  {"seplaps", "0"}, {"resol", "2.5"}};
    for (const auto& [key, value] : exported) EXPECT_EQ(Setting("export", key), value) << key;
    EXPECT_EQ(Setting("assoc", "nassoc"), "<missing>") << "associations unchanged: not written";

    // The next run reads the same export choices back.
    TExportSettings next;
    ReadExportSettings(NextRunSettings(), next);
    EXPECT_FALSE(next.xPosition);
    EXPECT_TRUE(next.xTime);
    EXPECT_TRUE(next.yLateral);
    EXPECT_TRUE(next.ySpeed);
    EXPECT_EQ(next.resolution, "2.5");
}

TEST_F(Document, CloseCheckWithChangesAsksAndCancelRefuses) {
    MakeDocument("Oval", {"A"});
    prompts.answers = {TMsgAnswer::Cancel};
    EXPECT_FALSE(CanClose(ctx));
    EXPECT_EQ(Setting("window", "pipx"), "<missing>");
    prompts.answers = {TMsgAnswer::No};
    EXPECT_TRUE(CanClose(ctx));
    EXPECT_TRUE(doc.dirty()) << "No goes on without saving";
    EXPECT_EQ(Setting("window", "pipx"), "0");
}

TEST_F(Document, AxesOfNewDocumentsComeFromTheLastRun) {
    LoadStartupSettings(ctx);
    EXPECT_EQ((std::array<int32_t, 3>{ChannelNumber(doc.axes().x), ChannelNumber(doc.axes().y),
                                      ChannelNumber(doc.axes().y2)}),
              (std::array<int32_t, 3>{1, 2, 7}));
    SetAxis(doc, &TAxes::x, TelemetryChannel::Time);
    SetAxis(doc, &TAxes::y, TelemetryChannel::InlineForce);
    SetAxis(doc, &TAxes::y2, TelemetryChannel::SlipAngle);
    WriteAxesOnDestroy(ctx);
    EXPECT_EQ(Setting("graph", "xaxis"), "0");
    EXPECT_EQ(Setting("graph", "yaxis"), "4");
    EXPECT_EQ(Setting("graph", "ayaxis"), "6");

    TDocument next(tracks);
    TViewState nextView;
    TSessionState nextSession;
    ProfileFile nextSettings = NextRunSettings();
    TCommandContext nextCtx{next, nextView, nextSession, tracks, nextSettings, prompts};
    LoadStartupSettings(nextCtx);
    EXPECT_EQ((std::array<int32_t, 3>{ChannelNumber(next.axes().x), ChannelNumber(next.axes().y),
                                      ChannelNumber(next.axes().y2)}),
              (std::array<int32_t, 3>{0, 4, 6}));
    EXPECT_FALSE(next.AxesChanged());

    // Channels no axis can show take their axis's default.
    nextSettings.WriteInt("graph", "xaxis", 5);
    nextSettings.WriteInt("graph", "yaxis", 42);
    nextSettings.WriteInt("graph", "ayaxis", -3);
    LoadStartupSettings(nextCtx);
    EXPECT_EQ((std::array<int32_t, 3>{ChannelNumber(next.axes().x), ChannelNumber(next.axes().y),
                                      ChannelNumber(next.axes().y2)}),
              (std::array<int32_t, 3>{1, 2, 7}));
}

TEST_F(Document, RecentFilesKeepFourNewestFirst) {
    for (const char* f : {"a.kvl", "b.kvl", "c.kvl", "d.kvl", "e.kvl"})
        PutOnRecentFiles(settings(), Path(f));
    EXPECT_EQ(
        ReadRecentFiles(settings()),
        (std::vector<std::string>{Path("e.kvl"), Path("d.kvl"), Path("c.kvl"), Path("b.kvl")}));
    PutOnRecentFiles(settings(), Path("c.kvl"));
    EXPECT_EQ(
        ReadRecentFiles(NextRunSettings()),
        (std::vector<std::string>{Path("c.kvl"), Path("e.kvl"), Path("d.kvl"), Path("b.kvl")}));
}

// Regression: a document opened by a relative name was remembered relative ("./a.kvl", and
// its folder as "./*.kvl"), so a start from another folder failed on it, and a dead entry
// stayed on the list.
TEST_F(Document, RecentFilesAndTheFolderAreStoredAbsoluteAndADeadEntryIsDropped) {
    WriteFileBytes(Path("r.kvl"),
                   KvlBytes().I32(kKvlMagic).I32(0).I32(3).I32(7).I32(3).I32(0).Bytes());
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(Dir());
    ASSERT_TRUE(OpenDocumentPath(ctx, "./r.kvl"));
    std::filesystem::current_path(before);
    EXPECT_EQ(ReadRecentFiles(settings()).front(), Path("r.kvl"));
    EXPECT_EQ(Setting("admin", "path"), Dir() + "/*.kvl");

    PutOnRecentFiles(settings(), Path("gone.kvl"));
    RecentFileChosen(ctx, Path("gone.kvl"));
    ASSERT_EQ(prompts.Only("Message:").size(), 1u);
    EXPECT_EQ(ReadRecentFiles(NextRunSettings()), std::vector<std::string>{Path("r.kvl")});
}

TEST_F(Document, RecentFileAsksAboutChangesButRunsNoCloseCheck) {
    WriteFileBytes(Path("r.kvl"),
                   KvlBytes().I32(kKvlMagic).I32(0).I32(3).I32(7).I32(3).I32(0).Bytes());
    RecentFileChosen(ctx, Path("r.kvl"));
    EXPECT_TRUE(prompts.Asked().empty());
    EXPECT_EQ(doc.currentTrack(), TrackIndex("Bullring"));
    EXPECT_EQ(Setting("admin", "path"), Dir() + "/*.kvl");
    EXPECT_EQ(Setting("window", "infx"), "<missing>");

    AddLap("A");
    doc.SetDirty(true);
    prompts.answers = {TMsgAnswer::Cancel};
    RecentFileChosen(ctx, Path("other.kvl"));
    EXPECT_THAT(prompts.Asked(), ElementsAre(kSaveQuestion));
    EXPECT_EQ(doc.laps().Count(), 1);
    EXPECT_EQ(doc.documentPath(), Path("r.kvl"));
    EXPECT_EQ(ReadRecentFiles(settings()).front(), Path("r.kvl"));
}

TEST_F(Document, DroppedFilesOpenOnlyTheFirstWithoutRememberingItsDirectory) {
    std::filesystem::create_directories(Path("drop"));
    WriteFileBytes(Path("drop/one.kvl"),
                   KvlBytes().I32(kKvlMagic).I32(1).I32(2).I32(7).I32(24).I32(0).Bytes());
    WriteFileBytes(Path("drop/two.kvl"),
                   KvlBytes().I32(kKvlMagic).I32(1).I32(2).I32(7).I32(3).I32(0).Bytes());
    FilesDropped(ctx, {Path("drop/one.kvl"), Path("drop/two.kvl"), Path("drop/three.kvl")});
    EXPECT_TRUE(prompts.Asked().empty());
    EXPECT_EQ(doc.currentTrack(), TrackIndex("Oval"));
    EXPECT_EQ(doc.documentPath(), Path("drop/one.kvl"));
    EXPECT_EQ(ReadRecentFiles(settings()), std::vector<std::string>{Path("drop/one.kvl")});
    EXPECT_EQ(Setting("admin", "path"), "<missing>");
    EXPECT_EQ(Setting("window", "datx"), "0") << "the close check ran";

    // With changes the close check asks; Cancel opens nothing.
    AddLap("A");
    doc.SetDirty(true);
    prompts.answers = {TMsgAnswer::Cancel};
    FilesDropped(ctx, {Path("drop/two.kvl")});
    EXPECT_THAT(prompts.Asked(), ElementsAre(kSaveQuestion));
    EXPECT_EQ(doc.currentTrack(), TrackIndex("Oval"));
    EXPECT_EQ(doc.documentPath(), Path("drop/one.kvl"));

    prompts.ClearLog();
    FilesDropped(ctx, {});
    EXPECT_TRUE(prompts.log.empty());
}

}  // namespace
}  // namespace commands_test
