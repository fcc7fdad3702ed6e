// Import Replay and Import Average Lap end to end through the prompts: the file dialog and
// its remembered directory, the archive step, the track choice and the refusal of another
// track, the lap choice, every message, and what each ending leaves in the document.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "ImportFixture.h"

namespace commands_test {
namespace {

using testing::ElementsAre;

TEST_F(ImportTest, ImportReplayAddsTheChosenLapToTheDocument) {
    const std::string replay = WriteReplay("shorttrack/Race1.RPL", TwoDriverReplay());
    ImportLap(replay, 0, 1);

    ASSERT_EQ(prompts.fileDialogs.size(), 1u);
    const TFileDialogXfer& f = prompts.fileDialogs[0];
    EXPECT_EQ(f.title, "Open Replay");
    EXPECT_EQ(f.filter,
              "All Replays (*.rpl;*.rpz)|*.rpl;*.rpz|Replay Files (*.rpl)|*.rpl|"
              "Replay Archives (*.rpz)|*.rpz|All files (*.*)|*.*|");
    EXPECT_EQ(f.defaultExt, "rpl");
    EXPECT_TRUE(f.mustExist);
    EXPECT_EQ(f.initialPath, "./*.rpl");
    EXPECT_EQ(Setting("import", "path"), Path("shorttrack") + "/*.rpl;*.rpz");
    EXPECT_THAT(prompts.Asked(), ElementsAre(kReplayDialog + "./*.rpl", "Dialog: Import Lap"));

    ASSERT_EQ(prompts.importDialogs.size(), 1u);
    const TImportLapXfer& x = prompts.importDialogs[0];
    EXPECT_EQ(x.driverTexts, (std::vector<std::string>{" #7 - Ann Lee", "#05 - Bo"}));
    EXPECT_EQ(x.selectedDriver, 0);
    EXPECT_EQ(x.selectedLaps, std::vector<int32_t>{0});
    EXPECT_TRUE(x.lapTimes);

    ASSERT_EQ(doc.laps().Count(), 1);
    const TReplay& lap = doc.laps().At(0);
    EXPECT_STREQ(lap.driverName, "Ann Lee");
    EXPECT_EQ(lap.carNumber, 7);
    EXPECT_EQ(lap.sampleCount, 6);
    EXPECT_EQ(lap.positions.front(), 500);
    EXPECT_EQ(lap.lapLength, 10000);
    EXPECT_EQ(lap.colour, (Rgb{255, 0, 0}));
    EXPECT_EQ(doc.currentTrack(), TrackIndex("Short Track"));
    EXPECT_TRUE(doc.sourceReplay().IsOne());
    EXPECT_EQ(doc.sourceReplay().Name(), "race1.rpl");
    EXPECT_TRUE(doc.dirty());
    EXPECT_TRUE(view.graph.repaintPending);
    EXPECT_GT(doc.extents().maximum[size_t(TelemetryChannel::Position)], 0)
        << "extents recomputed over the new lap";
    EXPECT_EQ(prompts.caption, "Korvale [Short Track, race1.rpl]");
    EXPECT_THAT(prompts.Only("LapAdded"), ElementsAre("LapAdded: Ann Lee"));
    EXPECT_EQ(prompts.waitDepth, 0);

    // A second lap from the same replay keeps the one source and takes the next colour;
    // the dialog now starts in the replay's directory.
    ImportLap(replay, 1, 0);
    EXPECT_EQ(prompts.fileDialogs.back().initialPath, Path("shorttrack") + "/*.rpl;*.rpz");
    ASSERT_EQ(doc.laps().Count(), 2);
    EXPECT_STREQ(doc.laps().At(1).driverName, "Bo");
    EXPECT_EQ(doc.laps().At(1).colour, (Rgb{0, 0, 255}));
    EXPECT_EQ(doc.sourceReplay().Name(), "race1.rpl");

    // A lap from another replay makes several sources.
    ImportLap(WriteReplay("shorttrack/race2.rpl", TwoDriverReplay()), 0, 1);
    EXPECT_EQ(doc.laps().Count(), 3);
    EXPECT_TRUE(doc.sourceReplay().IsSeveral());
    EXPECT_EQ(prompts.caption, "Korvale [Short Track]");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ImportTest, TheLapListShowsTimesOrSpeedsAndTheModeIsStoredAtOnce) {
    const std::string replay = WriteReplay("shorttrack/r.rpl", TwoDriverReplay());
    settings().WriteInt("import", "times", 0);
    std::vector<std::string> speeds, times;
    prompts.openFiles = {replay};
    prompts.importLaps = {[&](TImportLapXfer& x, const TImportLapSource& s) {
        EXPECT_FALSE(x.lapTimes);
        speeds = s.lapTexts(0, false);
        s.lapTimesChanged(true);  // the user switches the mode, then cancels
        times = s.lapTexts(0, true);
        EXPECT_TRUE(s.lapTexts(5, true).empty()) << "no such driver";
        return false;
    }};
    ImportReplayCommand(ctx);
    // From where 500 -> 2500 reaches back to the line to where 8500 -> 9900 reaches it, as
    // the imported lap's ends lie.
    const double exact = (100.0 / 1400.0 + 5) - (-500.0 / 2000.0);
    char time[32], speed[32];
    std::snprintf(time, sizeof time, "%8.3f s", exact / 15);
    std::snprintf(speed, sizeof speed, "%9.3f mph",
                  (10000 * 6.0 / 12 / 5280) / (exact / 15) * 3600);
    EXPECT_EQ(times, (std::vector<std::string>{"(partial)", time, "(partial)"}));
    EXPECT_EQ(speeds, (std::vector<std::string>{"(partial)", speed, "(partial)"}));
    EXPECT_EQ(Setting("import", "times"), "1") << "kept although the dialog was cancelled";

    prompts.openFiles = {replay};
    prompts.importLaps = {[](TImportLapXfer& x, const TImportLapSource& s) {
        EXPECT_TRUE(x.lapTimes);
        s.lapTimesChanged(false);
        return false;
    }};
    ImportReplayCommand(ctx);
    EXPECT_EQ(Setting("import", "times"), "0");
}

TEST_F(ImportTest, CancelledOrFailedImportsGiveTheTrackBackOnlyWithoutLaps) {
    const std::string replay = WriteReplay("shorttrack/r.rpl", TwoDriverReplay());
    // Cancel in the file dialog: nothing else happens.
    prompts.openFiles = {std::nullopt};
    ImportReplayCommand(ctx);
    EXPECT_THAT(prompts.Asked(), ElementsAre(kReplayDialog + "./*.rpl"));
    EXPECT_EQ(Setting("import", "path"), "<missing>");
    EXPECT_EQ(doc.currentTrack(), -1);

    // Cancel in the lap dialog of an empty document: the track goes again.
    prompts.ClearLog();
    prompts.openFiles = {replay};
    prompts.importLaps = {CancelDialog()};
    ImportReplayCommand(ctx);
    EXPECT_EQ(doc.currentTrack(), -1);
    EXPECT_EQ(prompts.caption, "Korvale");
    EXPECT_TRUE(Messages().empty());
    EXPECT_FALSE(doc.dirty());

    // The messages for a dialog closed without a driver or without a lap.
    prompts.ClearLog();
    prompts.openFiles = {replay, replay};
    prompts.importLaps = {Pick(-1, {0}), Pick(0, {})};
    ImportReplayCommand(ctx);
    ImportReplayCommand(ctx);
    EXPECT_THAT(Messages(), ElementsAre(Msg("Import Error", "No driver selected"),
                                        Msg("Import Error", "No lap selected")));
    EXPECT_EQ(doc.currentTrack(), -1);

    // A lap of two frames cannot be read.
    prompts.ClearLog();
    ImportLap(replay, 0, 0);
    EXPECT_THAT(Messages(), ElementsAre(Msg("Import Error", "Error reading lap data")));
    EXPECT_EQ(doc.currentTrack(), -1);
    EXPECT_TRUE(doc.laps().Empty());
    EXPECT_EQ(prompts.waitDepth, 0);

    // With a lap held the track stays through every such ending.
    ImportLap(replay, 0, 1);
    ASSERT_EQ(doc.laps().Count(), 1);
    doc.SetDirty(false);
    prompts.openFiles = {replay};
    prompts.importLaps = {CancelDialog()};
    ImportReplayCommand(ctx);
    ImportLap(replay, 0, 2);
    EXPECT_EQ(doc.currentTrack(), TrackIndex("Short Track"));
    EXPECT_EQ(doc.laps().Count(), 1);
    EXPECT_FALSE(doc.dirty());
}

TEST_F(ImportTest, UnreadableReplaysReportWhatFailed) {
    std::vector<uint8_t> cut = TwoDriverReplay();
    cut.resize(30);
    prompts.openFiles = {Path("shorttrack/missing.rpl"), WriteReplay("shorttrack/cut.rpl", cut)};
    ImportReplayCommand(ctx);
    ImportReplayCommand(ctx);
    EXPECT_THAT(Messages(), ElementsAre(Msg("Import Error", "Error opening replay"),
                                        Msg("Import Error", "Error reading replay header")));
    EXPECT_TRUE(prompts.Only("Dialog: Import").empty());
    EXPECT_EQ(doc.currentTrack(), -1);
}

TEST_F(ImportTest, AReplayOfAnotherTrackIsRefused) {
    ImportLap(WriteReplay("shorttrack/r.rpl", TwoDriverReplay()), 0, 1);
    ASSERT_EQ(doc.laps().Count(), 1);
    doc.SetDirty(false);
    prompts.ClearLog();
    // The user says the replay in an unknown directory belongs to the Oval.
    prompts.openFiles = {WriteReplay("elsewhere/r.rpl", TwoDriverReplay())};
    prompts.tracks = {{true, TrackIndex("Oval"), false}};
    ImportReplayCommand(ctx);
    EXPECT_THAT(prompts.Asked(),
                ElementsAre(kReplayDialog + Path("shorttrack") + "/*.rpl;*.rpz",
                            "Dialog: Choose Track | for elsewhere",
                            Msg("Import Error", "Can only import replays for Short Track")));
    EXPECT_EQ(doc.currentTrack(), TrackIndex("Short Track"));
    EXPECT_EQ(doc.laps().Count(), 1);
    EXPECT_FALSE(doc.dirty());

    // A document with a track but no laps (an empty document file) loses its track.
    ClearDocument(ctx);
    doc.SetCurrentTrack(TrackIndex("Oval"));
    prompts.ClearLog();
    prompts.openFiles = {Path("shorttrack/r.rpl")};
    ImportReplayCommand(ctx);
    EXPECT_THAT(Messages(), ElementsAre(Msg("Import Error", "Can only import replays for Oval")));
    EXPECT_EQ(doc.currentTrack(), -1);
}

// Regression: Choose Track started on the first track whatever the replay, and a replay read
// with another track's length came in as a lap of thousands of miles an hour.
TEST_F(ImportTest, ChooseTrackStartsOnTheLikelyTrackAndALapThatDoesNotFitIsRefused) {
    // "Always use Ridge" was ticked for directory nc; the oval's replay there is ambiguous
    // (the remembered Ridge, the oval's own pattern) and starts on the oval.
    fs::create_directories(Path("nc"));
    session.associations.push_back({"nc", 156});
    const std::string race = WriteSimulatedReplay("nc/sprintcup-heat.rpl");
    prompts.openFiles = {race, race};
    prompts.tracks = {{true, TrackIndex("Ridge"), false}, {true, TrackIndex("Short Track"), false}};
    prompts.importLaps = {Pick(0, {0}), Pick(0, {1})};
    ImportReplayCommand(ctx);
    ImportAverageLapCommand(ctx);
    ASSERT_EQ(prompts.trackDialogs.size(), 2u);
    EXPECT_EQ(prompts.trackDialogs[0].selection, TrackIndex("Test Oval"));
    const std::string another = "\nThe replay was recorded on another track.";
    EXPECT_THAT(Messages(),
                ElementsAre(Msg("Import Error",
                                "This lap does not fit Ridge: its car would run backwards faster "
                                "than any car goes." +
                                    another),
                            Msg("Import Error",
                                "This lap does not fit Short Track: its positions run past the "
                                "end of the track." +
                                    another)));
    EXPECT_EQ(doc.laps().Count(), 0);
    EXPECT_EQ(doc.currentTrack(), -1);
    EXPECT_FALSE(doc.dirty());
    EXPECT_EQ(prompts.caption, "Korvale");

    // Taken as the oval, it imports; with the document on the oval, a replay whose path names
    // no track starts on the document's track.
    prompts.openFiles = {race, WriteReplay("elsewhere/r.rpl", TwoDriverReplay())};
    prompts.tracks = {{true, TrackIndex("Test Oval"), false}, {false, 0, false}};
    prompts.importLaps = {Pick(0, {1})};
    ImportReplayCommand(ctx);
    ASSERT_EQ(doc.laps().Count(), 1);
    ImportReplayCommand(ctx);
    ASSERT_EQ(prompts.trackDialogs.size(), 4u);
    EXPECT_EQ(prompts.trackDialogs[3].selection, TrackIndex("Test Oval"));
    EXPECT_EQ(doc.laps().Count(), 1);
}

TEST_F(ImportTest, CancellingTheTrackChoiceEndsWithoutAMessage) {
    prompts.openFiles = {WriteReplay("elsewhere/r.rpl", TwoDriverReplay())};
    prompts.tracks = {{false, 0, false}};
    ImportReplayCommand(ctx);
    EXPECT_THAT(prompts.Asked(),
                ElementsAre(kReplayDialog + "./*.rpl", "Dialog: Choose Track | for elsewhere"));
    EXPECT_EQ(doc.currentTrack(), -1);

    // Chosen with the box ticked, the next replay of that directory needs no dialog.
    prompts.openFiles = {Path("elsewhere/r.rpl"), Path("elsewhere/r.rpl")};
    prompts.tracks = {{true, TrackIndex("Short Track"), true}};
    prompts.importLaps = {Pick(0, {1}), Pick(1, {0})};
    ImportReplayCommand(ctx);
    ImportReplayCommand(ctx);
    EXPECT_EQ(prompts.trackDialogs.size(), 2u);
    EXPECT_EQ(doc.laps().Count(), 2);
}

TEST_F(ImportTest, AverageOfFullLapsJoinsTheDocumentLikeAnImportedLap) {
    const std::string replay = WriteSimulatedReplay("sprintcup/Sprint.rpl");
    AddLap("Earlier", 20, {255, 0, 0});
    doc.SetCurrentTrack(TrackIndex("Test Oval"));
    doc.SetSourceReplay(TSourceReplay::One("other.rpl"));
    size_t fullLaps = 0;
    std::string driverText;
    prompts.openFiles = {replay};
    prompts.importLaps = {[&](TImportLapXfer& x, const TImportLapSource& s) {
        EXPECT_TRUE(x.selectedLaps.empty()) << "no lap is chosen for the user";
        driverText = x.driverTexts.at(1);
        fullLaps = s.lapTexts(1, true).size() - 2;
        x.selectedDriver = 1;
        x.selectedLaps = {1, 2};
        return true;
    }};
    ImportAverageLapCommand(ctx);
    ASSERT_GE(fullLaps, 2u);
    EXPECT_THAT(prompts.Asked(),
                ElementsAre(kReplayDialog + "./*.rpl", "Dialog: Import Average Lap"));
    ASSERT_EQ(doc.laps().Count(), 2);
    const TReplay& avg = doc.laps().At(1);
    EXPECT_NE(driverText.find(avg.driverName), std::string::npos) << driverText;
    EXPECT_GT(avg.sampleCount, 3);
    EXPECT_EQ(avg.positions.front(), 0) << "an average starts on the line";
    EXPECT_EQ(avg.startFrame, 0);
    EXPECT_EQ(avg.lapLength, 42240);
    EXPECT_EQ(avg.colour, (Rgb{0, 0, 255}));
    EXPECT_TRUE(doc.sourceReplay().IsSeveral());
    EXPECT_TRUE(doc.dirty());
    EXPECT_EQ(prompts.caption, "Korvale [Test Oval]");
    EXPECT_EQ(prompts.Only("LapsChanged").size(), 1u);
}

TEST_F(ImportTest, AnAverageOfOneLapIsThatLapUnchanged) {
    const std::string replay = WriteSimulatedReplay("sprintcup/Sprint.rpl");
    ImportLap(replay, 2, 1);
    prompts.openFiles = {replay};
    prompts.importLaps = {Pick(2, {1})};
    ImportAverageLapCommand(ctx);
    ASSERT_EQ(doc.laps().Count(), 2);
    const TReplay& single = doc.laps().At(0);
    const TReplay& averaged = doc.laps().At(1);
    EXPECT_STREQ(averaged.driverName, single.driverName);
    EXPECT_EQ(averaged.carNumber, single.carNumber);
    EXPECT_EQ(averaged.positions, single.positions);
    EXPECT_EQ(averaged.lines, single.lines);
    EXPECT_EQ(averaged.headings, single.headings);
    EXPECT_EQ(averaged.startFrame, single.startFrame);
    EXPECT_EQ(averaged.endFrame, single.endFrame);
    EXPECT_EQ(averaged.colour, (Rgb{0, 0, 255}));
    EXPECT_EQ(doc.sourceReplay().Name(), "sprint.rpl");
}

TEST_F(ImportTest, FailedAveragesEndLikeACancel) {
    const std::string replay = WriteReplay("shorttrack/r.rpl", TwoDriverReplay());
    prompts.openFiles = {replay, replay, replay, replay};
    prompts.importLaps = {CancelDialog(), Pick(0, {}), Pick(0, {0}), Pick(0, {0, 1})};
    for (int i = 0; i < 4; ++i) ImportAverageLapCommand(ctx);
    EXPECT_THAT(Messages(), ElementsAre(Msg("Import Error", "No lap selected"),
                                        Msg("Import Error", "Error reading lap data"),
                                        Msg("Import Average Lap",
                                            "Partial laps may not be used in averaging")));
    EXPECT_TRUE(doc.laps().Empty());
    EXPECT_EQ(doc.currentTrack(), -1);
    EXPECT_FALSE(doc.dirty());
    EXPECT_EQ(prompts.caption, "Korvale");
}

}  // namespace
}  // namespace commands_test

namespace commands_test {
namespace {

// Several laps chosen in Import Lap: each full lap joins in list order with its own colour,
// with the lap time its row showed; the partial ones are counted in one message at the end.
TEST_F(ImportTest, AStintOfLapsImportsEachFullLapAndCountsThePartialOnes) {
    const std::string replay = WriteSimulatedReplay("sprintcup/Stint.rpl");
    std::vector<std::string> rows;
    prompts.openFiles = {replay};
    prompts.importLaps = {[&](TImportLapXfer& x, const TImportLapSource& s) {
        rows = s.lapTexts(2, true);
        x.selectedDriver = 2;
        x.selectedLaps.clear();
        for (int32_t k = 0; k < int32_t(rows.size()); ++k) x.selectedLaps.push_back(k);
        return true;
    }};
    ImportReplayCommand(ctx);
    std::vector<double> shown;
    for (const std::string& row : rows)
        if (row != "(partial)") shown.push_back(std::stod(row));
    ASSERT_EQ(rows.size() - shown.size(), 2u);
    ASSERT_GE(shown.size(), 2u);
    ASSERT_EQ(doc.laps().Count(), int32_t(shown.size()));
    for (int32_t i = 0; i < doc.laps().Count(); ++i) {
        const TReplay& lap = doc.laps().At(i);
        EXPECT_NEAR((lap.endFrame - lap.startFrame) / 15, shown[size_t(i)], 0.001) << i;
        if (i > 0) {
            EXPECT_FALSE(lap.colour == doc.laps().At(i - 1).colour) << i;
        }
    }
    const std::string skipped =
        Msg("Import Lap", "2 partial laps were skipped", TMsgIcon::Information);
    EXPECT_THAT(Messages(), ElementsAre(skipped));
    EXPECT_EQ(prompts.Only("LapAdded").size(), shown.size());
    EXPECT_EQ(prompts.waitDepth, 0);

    // Only partial laps: nothing joins, and the message says so.
    prompts.openFiles = {replay};
    prompts.importLaps = {Pick(0, {0, int32_t(rows.size()) - 1})};
    ImportReplayCommand(ctx);
    EXPECT_EQ(doc.laps().Count(), int32_t(shown.size()));
    EXPECT_EQ(Messages().back(), skipped);
    EXPECT_EQ(SkippedPartialLapsText(1), "1 partial lap was skipped");
}

}  // namespace
}  // namespace commands_test
