// Export Text Data and Export to Replay through the prompts: the closing checks in their
// order with their messages, Browse and its remembered directories, the replace
// questions, the progress that can stop a long export, and what each ending leaves.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "CommandsFixture.h"
#include "commands/CommandSettings.h"
#include "commands/ExportCommands.h"
#include "export/TextExport.h"

namespace commands_test {
namespace {

using testing::ElementsAre;
namespace fs = std::filesystem;

const std::string kUnusual = Msg("Export Warning", "Resolution is unusual.\nContinue?",
                                 TMsgIcon::Question, TMsgButtons::YesNo);
const std::string kNoName = Msg("Export Error", "Cannot export without a file name");
std::string ReplaceQuestion(const std::string& name) {
    return Msg("Export Warning", name + "\nalready exists.  Replace file?", TMsgIcon::Question,
               TMsgButtons::YesNo);
}

class ExportTest : public CommandsTest {
  protected:
    void SetUp() override { MakeDocument("Oval", {"Ann", "Bo"}); }

    // The text dialog as a user works it: each entry of tries is one press of OK with those
    // values and that ask-before-replace flag; the dialog closes at the first that passes.
    void TextDialog(std::vector<std::pair<TExportSettings, bool>> tries, bool* closed = nullptr) {
        prompts.exportSetups.push_back(
            [tries, closed](TExportSettings& x, const TExportSetupHooks& hooks) {
                for (const auto& [values, ask] : tries)
                    if (hooks.canClose(values, ask)) {
                        x = values;
                        if (closed) *closed = true;
                        return true;
                    }
                return false;
            });
    }
    TExportSettings Text(const std::string& resolution, const std::string& file,
                         bool xPosition = true) const {
        TExportSettings s = session.exportSettings;
        s.resolution = resolution;
        s.fileName = file;
        s.xPosition = xPosition;
        s.xTime = !xPosition;
        return s;
    }
    void ReplayDialog(std::vector<std::pair<TExportReplayXfer, bool>> tries) {
        prompts.exportReplaySetups.push_back(
            [tries](TExportReplayXfer& x, const TExportReplaySetupHooks& hooks) {
                for (const auto& [values, ask] : tries)
                    if (hooks.canClose(values, ask)) {
                        x = values;
                        return true;
                    }
                return false;
            });
    }
};

TEST_F(ExportTest, TextExportClosingChecksRunInOrderAndOnlyAPassingOkWrites) {
    const std::string out = Path("laps.txt");
    prompts.answers = {TMsgAnswer::No, TMsgAnswer::No, TMsgAnswer::Yes};
    TextDialog({{Text("1-", out), true},        // not a number: strtod stops early
                {Text("0", out), true},         // not above 0
                {Text("0.5", out), true},       // unusual in feet: No keeps it open
                {Text("2", out, false), true},  // unusual in seconds: No
                {Text("1e1", ""), true},        // 10 ft is usual; no name
                {Text("10", out), true}});      // passes
    ExportTextDataCommand(ctx);
    EXPECT_THAT(
        prompts.Asked(),
        ElementsAre("Dialog: Export Data", Msg("Export Error", "Resolution must be a number"),
                    Msg("Export Error", "Resolution must be a number"), kUnusual, kUnusual, kNoName,
                    Msg("Export Data", "Data successfully exported", TMsgIcon::Information)));
    EXPECT_TRUE(fs::exists(out));
    EXPECT_EQ(session.exportSettings.resolution, "10");

    // The bounds themselves are usual; Yes to an unusual one goes on to the file checks.
    prompts.ClearLog();
    prompts.answers = {TMsgAnswer::Yes};
    TextDialog({{Text("1", ""), true},
                {Text("0.1", "", false), true},
                {Text("1", "", false), true},
                {Text("20", ""), true}});
    ExportTextDataCommand(ctx);
    EXPECT_THAT(prompts.Asked(),
                ElementsAre("Dialog: Export Data", kNoName, kNoName, kNoName, kUnusual, kNoName));
}

TEST_F(ExportTest, TextExportAsksBeforeReplacingUnlessBrowseHasAsked) {
    const std::string out = Path("laps.txt");
    WriteFileBytes(out, {'o', 'l', 'd'});
    prompts.answers = {TMsgAnswer::No, TMsgAnswer::Yes};
    TextDialog({{Text("10", out), true}, {Text("10", out), true}});
    ExportTextDataCommand(ctx);
    EXPECT_THAT(
        prompts.Asked(),
        ElementsAre("Dialog: Export Data", ReplaceQuestion(out), ReplaceQuestion(out),
                    Msg("Export Data", "Data successfully exported", TMsgIcon::Information)));
    EXPECT_NE(FileBytes(out).size(), 3u);

    prompts.ClearLog();
    TextDialog({{Text("10", out), false}});
    ExportTextDataCommand(ctx);
    EXPECT_EQ(prompts.Asked().size(), 2u) << "no question after Browse";
}

TEST_F(ExportTest, BrowseRemembersTheDirectoryAndCancelChangesNothing) {
    prompts.saveFiles = {Path("tables/run.txt"), std::nullopt, Path("replays/run.rpl")};
    std::string browsed, cancelled, replay;
    prompts.exportSetups.push_back([&](TExportSettings& x, const TExportSetupHooks& hooks) {
        browsed = hooks.browse();
        cancelled = hooks.browse();
        x.ySpeed = false;
        return false;  // Cancel: the record stays as it was
    });
    ExportTextDataCommand(ctx);
    prompts.exportReplaySetups.push_back(
        [&](TExportReplayXfer&, const TExportReplaySetupHooks& hooks) {
            replay = hooks.browse();
            return false;
        });
    ExportToReplayCommand(ctx);
    EXPECT_EQ(browsed, Path("tables/run.txt"));
    EXPECT_EQ(cancelled, "");
    EXPECT_EQ(replay, Path("replays/run.rpl"));
    ASSERT_EQ(prompts.fileDialogs.size(), 3u);
    EXPECT_EQ(prompts.fileDialogs[0].title + " " + prompts.fileDialogs[0].initialPath,
              "Export File ./*.txt");
    EXPECT_EQ(prompts.fileDialogs[1].initialPath, Path("tables") + "/*.txt");
    EXPECT_EQ(prompts.fileDialogs[2].title + " " + prompts.fileDialogs[2].initialPath,
              "Export Replay ./*.rpl");
    EXPECT_TRUE(prompts.fileDialogs[2].confirmOverwrite);
    EXPECT_EQ(Setting("export", "path"), Path("tables") + "/*.txt");
    EXPECT_EQ(Setting("export", "rpath"), Path("replays") + "/*.rpl");
    EXPECT_TRUE(session.exportSettings.ySpeed);
    EXPECT_TRUE(prompts.Only("Message:").empty());
}

TEST_F(ExportTest, ACancelledTextExportLeavesNoFileAndNoEarlierFileDamaged) {
    const std::string fresh = Path("fresh.txt");
    const std::string earlier = Path("earlier.txt");
    WriteFileBytes(earlier, {'k', 'e', 'e', 'p'});
    prompts.answers = {TMsgAnswer::Yes, TMsgAnswer::Yes, TMsgAnswer::Yes};
    prompts.progressAnswer = [](int percent) { return percent < 1; };
    TextDialog({{Text("0.01", fresh), true}});
    ExportTextDataCommand(ctx);
    TextDialog({{Text("0.01", earlier), true}});
    ExportTextDataCommand(ctx);
    EXPECT_THAT(prompts.Only("Progress:"),
                ElementsAre("Progress: Exporting data...", "Progress: Exporting data..."));
    ASSERT_GE(prompts.progressReports.size(), 2u);
    EXPECT_THAT(prompts.Only("Message:"), ElementsAre(kUnusual, kUnusual, ReplaceQuestion(earlier)))
        << "a cancel says nothing more";
    EXPECT_FALSE(fs::exists(fresh));
    EXPECT_EQ(FileBytes(earlier), (std::vector<uint8_t>{'k', 'e', 'e', 'p'}));
    EXPECT_EQ(prompts.waitDepth, 0);
}

TEST_F(ExportTest, ReplayExportAsksAboutTheFileItWillReallyWrite) {
    const std::string written = Path("heat.rpl");
    WriteFileBytes(written, {'o', 'l', 'd'});
    prompts.answers = {TMsgAnswer::No, TMsgAnswer::No};
    ReplayDialog({{{false, ""}, true},
                  // Typed without ".rpl": heat.rpl is what would be replaced.
                  {{false, Path("Heat")}, true},
                  // Browsed to a name the save dialog asked about, but another is written.
                  {{false, Path("HEAT.RPL")}, false},
                  // Browsed to exactly the file written: the save dialog has asked.
                  {{true, written}, false}});
    ExportToReplayCommand(ctx);
    EXPECT_THAT(prompts.Asked(), ElementsAre("Dialog: Export to Replay", kNoName,
                                             ReplaceQuestion(written), ReplaceQuestion(written),
                                             Msg("Export Replay", "Replay successfully exported",
                                                 TMsgIcon::Information)));
    EXPECT_GT(FileBytes(written).size(), 3u);
    EXPECT_TRUE(session.exportSettings.separateLaps);
    EXPECT_EQ(session.exportSettings.replayFileName, written);

    // The next Export to Replay starts from what was chosen.
    prompts.exportReplaySetups.push_back([&](TExportReplayXfer& x, const TExportReplaySetupHooks&) {
        EXPECT_TRUE(x.separateLaps);
        EXPECT_EQ(x.fileName, written);
        return false;
    });
    ExportToReplayCommand(ctx);
}

TEST_F(ExportTest, MoreThan36LapsAreCappedWithAMessageBeforeTheSuccess) {
    for (int i = 0; i < 35; ++i) AddLap("More");
    ReplayDialog({{{false, Path("many.rpl")}, true}});
    ExportToReplayCommand(ctx);
    EXPECT_THAT(
        prompts.Only("Message:"),
        ElementsAre(Msg("Export Replay", "Only the first 36 laps will be included in the replay"),
                    Msg("Export Replay", "Replay successfully exported", TMsgIcon::Information)));

    prompts.ClearLog();
    // A file that cannot be created fails before the laps are counted.
    ReplayDialog({{{false, Path("no such folder/x.rpl")}, true}});
    ExportToReplayCommand(ctx);
    EXPECT_THAT(prompts.Only("Message:"),
                ElementsAre(Msg("Export Error", "Error creating replay")));
}

TEST_F(ExportTest, BothExportsNeedALapAndTheSlipAngleChoiceIsKept) {
    EXPECT_TRUE(ExportEnabled(doc));
    EXPECT_FALSE(ExportEnabled(TDocument(tracks)));

    TExportSettings s;
    EXPECT_FALSE(s.ySlip);
    ReadExportSettings(settings(), s);
    EXPECT_FALSE(s.ySlip) << "a settings file without the key";
    s.ySlip = true;
    WriteExportSettings(settings(), s);
    EXPECT_EQ(Setting("export", "yslip"), "1");
    TExportSettings next;
    ReadExportSettings(NextRunSettings(), next);
    EXPECT_TRUE(next.ySlip);
}

}  // namespace
}  // namespace commands_test
