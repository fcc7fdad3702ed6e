// Importing out of a replay archive: the member choice, the temporary directory beside the
// archive, the extraction with its progress and Abort, the archive's messages, and that
// nothing is left on disk after any ending.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <set>

#include "ImportFixture.h"
#include "commands/ArchiveStep.h"
#include "platform/Archive.h"
#include "replay/ArchiveExtract.h"
#include "support/ZipWriter.h"

namespace commands_test {
namespace {

using testing::ElementsAre;
using zip_test::Member;

class ArchiveImportTest : public ImportTest {
  protected:
    std::string Archive(const std::string& relative, const std::vector<Member>& members) {
        zip_test::WriteZip(Path(relative), members);
        return Path(relative);
    }
    Member Replay(const std::string& name) const {
        const std::vector<uint8_t> bytes = TwoDriverReplay();
        return {name, bytes};
    }
    // The names in a directory of the test.
    std::set<std::string> Listing(const std::string& relative) const {
        std::set<std::string> out;
        for (const auto& e : fs::directory_iterator(Path(relative)))
            out.insert(e.path().filename().string());
        return out;
    }
    // An import dialog that checks the extracted replay is there while it runs.
    std::function<bool(TImportLapXfer&, const TImportLapSource&)> PickSeeing(
        const std::string& extracted) {
        return [this, extracted](TImportLapXfer& x, const TImportLapSource&) {
            EXPECT_TRUE(fs::is_regular_file(Path(extracted))) << extracted;
            x.selectedDriver = 0;
            x.selectedLaps = {1};
            return true;
        };
    }
};

TEST_F(ArchiveImportTest, TheChosenReplayIsImportedAndItsTemporaryCopyRemovedAfterEveryEnding) {
    const std::string archive =
        Archive("shorttrack/Season.RPZ", {Replay("Heat2.rpl"), Replay("heat1.rpl"), {"old/", {}}});
    prompts.openFiles = {archive};
    prompts.compFiles = {1};
    prompts.importLaps = {PickSeeing("shorttrack/td0/Heat2.rpl")};
    ImportReplayCommand(ctx);
    EXPECT_THAT(prompts.Asked(), ElementsAre(kReplayDialog + "./*.rpl",
                                             "Dialog: Import Replay | heat1.rpl, Heat2.rpl",
                                             "Dialog: Extracting", "Dialog: Import Lap"));
    EXPECT_EQ(prompts.compFileDialogs[0].selection, 0) << "the first entry starts selected";
    ASSERT_EQ(doc.laps().Count(), 1);
    EXPECT_EQ(doc.sourceReplay().Name(), "heat2.rpl");
    EXPECT_EQ(Listing("shorttrack"), std::set<std::string>{"Season.RPZ"});

    // Cancelled in the lap dialog, or failing to read the lap: the copy goes all the same.
    prompts.ClearLog();
    prompts.openFiles = {archive, archive};
    prompts.compFiles = {0, 0};
    prompts.importLaps = {CancelDialog(), Pick(0, {0})};
    ImportReplayCommand(ctx);
    ImportReplayCommand(ctx);
    EXPECT_THAT(Messages(), ElementsAre(Msg("Import Error", "Error reading lap data")));
    EXPECT_EQ(Listing("shorttrack"), std::set<std::string>{"Season.RPZ"});

    // Cancelling the member choice ends quietly before any directory is made.
    prompts.ClearLog();
    prompts.openFiles = {archive};
    prompts.compFiles = {std::nullopt};
    ImportReplayCommand(ctx);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Listing("shorttrack"), std::set<std::string>{"Season.RPZ"});
    EXPECT_EQ(doc.laps().Count(), 1);
    EXPECT_EQ(prompts.waitDepth, 0);
}

// Regression: with two members of one name, choosing the second imported the first.
TEST_F(ArchiveImportTest, TheRowChosenIsTheMemberImportedWhenNamesRepeat) {
    std::vector<uint8_t> cut = TwoDriverReplay();
    cut.resize(30);
    const std::string archive =
        Archive("shorttrack/Twice.rpz", {{"heat.rpl", cut}, Replay("HEAT.rpl")});
    zip_test::ReplaceName(archive, "HEAT.rpl", "heat.rpl");
    prompts.openFiles = {archive};
    prompts.compFiles = {1};
    prompts.importLaps = {PickSeeing("shorttrack/td0/heat.rpl")};
    ImportReplayCommand(ctx);
    EXPECT_THAT(prompts.Asked(),
                ElementsAre(kReplayDialog + "./*.rpl", "Dialog: Import Replay | heat.rpl, heat.rpl",
                            "Dialog: Extracting", "Dialog: Import Lap"));
    EXPECT_EQ(doc.laps().Count(), 1);
    EXPECT_EQ(Listing("shorttrack"), std::set<std::string>{"Twice.rpz"});
}

TEST_F(ArchiveImportTest, TheTemporaryDirectoryIsTheFirstFreeTdNumber) {
    const std::string archive = Archive("shorttrack/Season.rpz", {Replay("heat.rpl")});
    fs::create_directories(Path("shorttrack/td0"));
    WriteFileBytes(Path("shorttrack/td1"), {'x'});
    prompts.openFiles = {archive};
    prompts.compFiles = {0};
    prompts.importLaps = {PickSeeing("shorttrack/td2/heat.rpl")};
    ImportReplayCommand(ctx);
    EXPECT_EQ(doc.laps().Count(), 1);
    EXPECT_EQ(Listing("shorttrack"), (std::set<std::string>{"Season.rpz", "td0", "td1"}));
}

TEST_F(ArchiveImportTest, AnArchiveNamedWithoutADirectoryIsExtractedBelowTheCurrentOne) {
    const std::string archive = Archive("shorttrack/Season.rpz", {Replay("heat.rpl")});
    const fs::path before = fs::current_path();
    fs::current_path(Path("shorttrack"));
    prompts.openFiles = {std::string("Season.rpz")};
    prompts.compFiles = {0};
    prompts.importLaps = {[](TImportLapXfer& x, const TImportLapSource&) {
        EXPECT_TRUE(fs::is_regular_file("./td0/heat.rpl"));
        x.selectedDriver = 0;
        x.selectedLaps = {1};
        return true;
    }};
    // The extracted path no longer names the track's folder: the track is asked for.
    prompts.tracks = {{true, TrackIndex("Short Track"), false}};
    ImportReplayCommand(ctx);
    fs::current_path(before);
    EXPECT_EQ(doc.laps().Count(), 1);
    EXPECT_EQ(Listing("shorttrack"), std::set<std::string>{"Season.rpz"});
}

TEST_F(ArchiveImportTest, AbortDuringTheExtractionImportsNothingAndLeavesNothing) {
    const std::string archive =
        Archive("shorttrack/Season.rpz", {{"big.rpl", zip_test::Noise(400000)}});
    prompts.openFiles = {archive};
    prompts.compFiles = {0};
    int percents = 0;
    prompts.archiveProgress = [&](int number, const std::string&) {
        // The user presses Abort once the gauge has moved.
        if (number <= 100 && ++percents == 3) return kArchiveAbort;
        return percents >= 3 ? kArchiveAbort : 0;
    };
    ImportReplayCommand(ctx);
    EXPECT_THAT(prompts.Asked(),
                ElementsAre(kReplayDialog + "./*.rpl", "Dialog: Import Replay | big.rpl",
                            "Dialog: Extracting"));
    EXPECT_EQ(percents, 3) << "the extraction stops at the next message";
    EXPECT_EQ(doc.laps().Count(), 0);
    EXPECT_EQ(doc.currentTrack(), -1);
    EXPECT_EQ(Listing("shorttrack"), std::set<std::string>{"Season.rpz"});
    EXPECT_EQ(prompts.waitDepth, 0);
}

TEST_F(ArchiveImportTest, ArchiveErrorsAreShownUnderTheirTitleAndCleanedUp) {
    const std::string notZip = WriteReplay("shorttrack/Notes.rpz", TwoDriverReplay());
    prompts.openFiles = {notZip};
    ImportReplayCommand(ctx);
    EXPECT_THAT(
        prompts.Asked(),
        ElementsAre(kReplayDialog + "./*.rpl",
                    Msg(kArchiveErrorTitle, ArchiveErrorText(kArchiveNotZip), TMsgIcon::Stop)));

    // Refused after the directory was made: it goes again.
    const std::string locked = Archive("shorttrack/Locked.rpz", {{"heat.rpl", {1, 2, 3}, true}});
    zip_test::SetFlags(locked, 1);
    prompts.ClearLog();
    prompts.openFiles = {locked};
    prompts.compFiles = {0};
    ImportReplayCommand(ctx);
    EXPECT_THAT(Messages(), ElementsAre(Msg(kArchiveErrorTitle, ArchiveErrorText(kArchiveEncrypted),
                                            TMsgIcon::Stop)));
    EXPECT_EQ(Listing("shorttrack"), (std::set<std::string>{"Notes.rpz", "Locked.rpz"}));

    // A method Korvale cannot unpack is named, so the user knows what to repack with.
    const std::string odd = Archive("shorttrack/Odd.rpz", {{"heat.rpl", {1, 2, 3}, true}});
    zip_test::SetMethod(odd, 9);
    prompts.ClearLog();
    prompts.openFiles = {odd};
    prompts.compFiles = {0};
    ImportReplayCommand(ctx);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].find("compression method Deflate64 (9)"), std::string::npos)
        << Messages()[0];
    EXPECT_EQ(doc.laps().Count(), 0);
}

// Regression: the choice was remembered for the temporary directory of the extracted archive.
TEST_F(ArchiveImportTest, ATrackChosenForAnArchiveIsRememberedForTheArchivesDirectory) {
    fs::create_directories(Path("faraway"));
    prompts.openFiles = {Archive("elsewhere/Season.rpz", {Replay("heat.rpl")})};
    prompts.compFiles = {0};
    prompts.tracks = {{true, TrackIndex("Short Track"), true}};
    prompts.importLaps = {Pick(0, {1})};
    ImportReplayCommand(ctx);
    ASSERT_EQ(prompts.trackDialogs.size(), 1u);
    EXPECT_EQ(prompts.trackDialogs[0].scopeText, "for elsewhere") << "not the temporary directory";
    ASSERT_EQ(session.associations.size(), 1u);
    EXPECT_EQ(session.associations[0].fragment, "elsewhere");

    // A replay beside the archive needs no dialog; an archive elsewhere is asked about.
    ImportLap(WriteReplay("elsewhere/loose.rpl", TwoDriverReplay()), 0, 1);
    EXPECT_EQ(prompts.trackDialogs.size(), 1u);
    prompts.openFiles = {Archive("faraway/Other.rpz", {Replay("heat.rpl")})};
    prompts.compFiles = {0};
    prompts.tracks = {{false, 0, false}};
    ImportReplayCommand(ctx);
    EXPECT_EQ(prompts.trackDialogs.size(), 2u);
    EXPECT_EQ(prompts.trackDialogs[1].scopeText, "for faraway");
    EXPECT_EQ(doc.laps().Count(), 2);
    EXPECT_EQ(Listing("faraway"), std::set<std::string>{"Other.rpz"});
}

// When the archive's directory takes no new directory, the user's temporary directory does.
TEST_F(ArchiveImportTest, TheTemporaryDirectoryFallsBackToTheUsersTemporaryDirectory) {
    const std::string archive = Archive("shorttrack/Season.rpz", {Replay("heat.rpl")});
    for (const char* taken : {"td0", "td1", "td2"})
        fs::create_directories(Path("shorttrack/") + taken);
    const char* oldTmp = std::getenv("TMPDIR");
    const std::string savedTmp = oldTmp ? oldTmp : "";
    fs::create_directories(Path("tmp"));
    setenv("TMPDIR", Path("tmp").c_str(), 1);

    std::string made = CreateArchiveTempDirectory(archive, 3);
    EXPECT_EQ(made, (fs::path(Path("tmp")) / "korvale-td0").string() + "/");
    RemoveArchiveTempDirectory(made);

    if (geteuid() != 0) {  // permissions do not stop the superuser
        fs::permissions(Path("shorttrack"), fs::perms::owner_write, fs::perm_options::remove);
        made = CreateArchiveTempDirectory(archive);
        fs::permissions(Path("shorttrack"), fs::perms::owner_write, fs::perm_options::add);
        EXPECT_EQ(made, (fs::path(Path("tmp")) / "korvale-td0").string() + "/");
        RemoveArchiveTempDirectory(made);
    }

    // Nowhere to go at all.
    WriteFileBytes(Path("tmpfile"), {'x'});
    setenv("TMPDIR", Path("tmpfile").c_str(), 1);
    EXPECT_EQ(CreateArchiveTempDirectory(archive, 3), "");
    if (oldTmp)
        setenv("TMPDIR", savedTmp.c_str(), 1);
    else
        unsetenv("TMPDIR");
}

}  // namespace
}  // namespace commands_test
