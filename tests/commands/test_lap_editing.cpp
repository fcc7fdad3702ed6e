// Editing a lap's name and colour, deleting a lap, and the Lap menu commands that pick the
// lap first.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "CommandsFixture.h"
#include "commands/LapEditing.h"

namespace commands_test {
namespace {

using testing::ElementsAre;

const std::string kDeleteQuestion =
    Msg("Confirm Delete", "Delete this lap?", TMsgIcon::Question, TMsgButtons::YesNo);

class LapEditingTest : public CommandsTest {
  protected:
    void SetUp() override {
        MakeDocument("Oval", {"Ann Lee", "Bo", "Cy"});
        doc.SetDirty(false);
        doc.SetDocTitle("laps.kvl");
        doc.UpdateCaption();
        prompts.ClearLog();
    }
};

TEST_F(LapEditingTest, TheLapChoiceListsNameTimeAndSpeed) {
    // A lap of 1,350 frames over 95,040 inches: 90 s for 1.5 miles, 60 mph.
    doc.AddLap(TLapBuilder("Di", 3)
                   .Steady(1351, 0, 70)
                   .Frames(0, 1350)
                   .Span(0, 95040)
                   .Scale(1.0)
                   .Length(95040)
                   .Build());
    const std::vector<std::string> texts = LapChoiceTexts(doc);
    // The fixture's laps run 19.75 frames (1.317 s) for the same 1.5 miles: 81000 / 19.75 mph.
    EXPECT_THAT(texts, ElementsAre("Ann Lee    1.317 s=4101.266 mph", "Bo    1.317 s=4101.266 mph",
                                   "Cy    1.317 s=4101.266 mph", "Di   90.000 s= 60.000 mph"));

    prompts.chooseLaps = {std::nullopt};
    EditInfoCommand(ctx);
    ASSERT_EQ(prompts.lapDialogs.size(), 1u);
    EXPECT_EQ(prompts.lapDialogs[0].texts, texts);
    EXPECT_EQ(prompts.lapDialogs[0].selection, 0) << "the first lap is pre-selected";
    EXPECT_THAT(prompts.Asked(), ElementsAre("Dialog: Select a Lap")) << "Cancel ends the command";
}

TEST_F(LapEditingTest, EditStoresANewNameAndColour) {
    prompts.chooseLaps = {1};
    prompts.editInfos = {TEditInfoXfer{"Bo Renamed", {0, 192, 0}}};
    EditInfoCommand(ctx);
    EXPECT_THAT(prompts.Asked(),
                ElementsAre("Dialog: Select a Lap", "Dialog: Edit Replay Info | Bo"));
    EXPECT_STREQ(doc.laps().At(1).driverName, "Bo Renamed");
    EXPECT_EQ(doc.laps().At(1).colour, (Rgb{0, 192, 0}));
    EXPECT_TRUE(doc.dirty());
    EXPECT_THAT(prompts.Only("LapEdited"), ElementsAre("LapEdited: 1 Bo Renamed"));
    EXPECT_EQ(prompts.Only("Repaint").size(), 1u);
}

TEST_F(LapEditingTest, ALetterCaseChangeAloneIsNotStored) {
    const Rgb colour = doc.laps().At(0).colour;
    prompts.editInfos = {TEditInfoXfer{"ANN LEE", colour}};
    EXPECT_FALSE(EditLap(ctx, 0));
    EXPECT_STREQ(doc.laps().At(0).driverName, "Ann Lee");
    EXPECT_FALSE(doc.dirty());
    EXPECT_TRUE(prompts.Only("LapEdited").empty());

    // With a new colour the new spelling goes in too.
    prompts.editInfos = {TEditInfoXfer{"ANN LEE", {255, 0, 255}}};
    EXPECT_TRUE(EditLap(ctx, 0));
    EXPECT_STREQ(doc.laps().At(0).driverName, "ANN LEE");
    EXPECT_EQ(doc.laps().At(0).colour, (Rgb{255, 0, 255}));
    EXPECT_TRUE(doc.dirty());
}

TEST_F(LapEditingTest, NamesKeepAtMost31Characters) {
    const std::string name31(31, 'x');
    prompts.editInfos = {TEditInfoXfer{name31, {}}, TEditInfoXfer{name31 + "yz", {}}};
    EXPECT_TRUE(EditLap(ctx, 2));
    EXPECT_EQ(std::string(doc.laps().At(2).driverName), name31);
    // A longer text is the same 31 characters: nothing changes.
    doc.SetDirty(false);
    EXPECT_FALSE(EditLap(ctx, 2));
    EXPECT_EQ(std::string(doc.laps().At(2).driverName), name31);
    EXPECT_FALSE(doc.dirty());
}

// Regression: the edit dialog read names as UTF-8 and the lap list as Latin-1, so a name
// typed with accents showed garbled and an edit replaced a file's accented letters for good.
TEST_F(LapEditingTest, AccentedNamesAreTheFilesBytesAndTheDialogsText) {
    doc.AddLap(TLapBuilder("J\xF6rg M\xFCller", 5).Steady(10, 0, 70).Frames(0, 9).Build());
    EXPECT_EQ(LapChoiceTexts(doc).back().substr(0, 13), "J\xC3\xB6rg M\xC3\xBCller");

    // An OK that changes only the colour keeps the stored bytes.
    prompts.editInfos = {TEditInfoXfer{"J\xC3\xB6rg M\xC3\xBCller", {1, 2, 3}},
                         TEditInfoXfer{"Zo\xC3\xAB \xC5\x81uk \xE2\x82\xAC", {1, 2, 3}}};
    EXPECT_TRUE(EditLap(ctx, 3));
    EXPECT_STREQ(doc.laps().At(3).driverName, "J\xF6rg M\xFCller");
    EXPECT_THAT(prompts.Only("Dialog: Edit"),
                ElementsAre("Dialog: Edit Replay Info | J\xC3\xB6rg M\xC3\xBCller"));
    // A new name is stored in the file's code page; a letter it lacks becomes '?'.
    EXPECT_TRUE(EditLap(ctx, 3));
    EXPECT_STREQ(doc.laps().At(3).driverName, "Zo\xEB ?uk \x80");
}

TEST_F(LapEditingTest, CancelledEditChangesNothing) {
    prompts.chooseLaps = {2};
    prompts.editInfos = {std::nullopt};
    EditInfoCommand(ctx);
    EXPECT_STREQ(doc.laps().At(2).driverName, "Cy");
    EXPECT_FALSE(doc.dirty());
}

TEST_F(LapEditingTest, DeleteAsksAndNoKeepsTheLap) {
    prompts.chooseLaps = {1};
    prompts.answers = {TMsgAnswer::No};
    DeleteLapCommand(ctx);
    EXPECT_THAT(prompts.Asked(), ElementsAre("Dialog: Select a Lap", kDeleteQuestion));
    EXPECT_EQ(doc.laps().Count(), 3);
    EXPECT_FALSE(doc.dirty());

    prompts.ClearLog();
    prompts.chooseLaps = {std::nullopt};
    DeleteLapCommand(ctx);
    EXPECT_THAT(prompts.Asked(), ElementsAre("Dialog: Select a Lap"));
    EXPECT_EQ(doc.laps().Count(), 3);
}

TEST_F(LapEditingTest, DeleteRemovesThatLapEvenAmongIdenticalOnes) {
    // Laps 1 and 2 now alike in name and samples.
    doc.EditLap(2, "Bo", doc.laps().At(2).colour);
    doc.SetDirty(false);
    const int32_t keptSerial = doc.laps().At(1).serial;
    prompts.chooseLaps = {2};
    prompts.answers = {TMsgAnswer::Yes};
    DeleteLapCommand(ctx);
    ASSERT_EQ(doc.laps().Count(), 2);
    EXPECT_EQ(doc.laps().At(1).serial, keptSerial);
    EXPECT_TRUE(doc.dirty());
    EXPECT_EQ(doc.currentTrack(), TrackIndex("Oval"));
    EXPECT_THAT(prompts.Only("LapRemoved"), ElementsAre("LapRemoved: 2"));
    EXPECT_EQ(prompts.Only("LapsChanged").size(), 1u) << "extents recomputed over the rest";
    EXPECT_TRUE(LapCommandsEnabled(doc));
}

TEST_F(LapEditingTest, DeletingTheLastLapClearsTheDocument) {
    prompts.answers = {TMsgAnswer::Yes, TMsgAnswer::Yes, TMsgAnswer::Yes};
    EXPECT_TRUE(DeleteLap(ctx, 0));
    EXPECT_TRUE(DeleteLap(ctx, 0));
    EXPECT_EQ(prompts.caption, "Korvale - laps.kvl [Oval]");
    EXPECT_TRUE(prompts.Only("AllLapsRemoved").empty());
    EXPECT_TRUE(DeleteLap(ctx, 0));
    EXPECT_TRUE(doc.laps().Empty());
    EXPECT_EQ(doc.currentTrack(), -1);
    EXPECT_EQ(prompts.caption, "Korvale");
    EXPECT_EQ(prompts.Only("AllLapsRemoved").size(), 1u);
    EXPECT_FALSE(doc.dirty()) << "the clear leaves nothing to save";
    EXPECT_FALSE(LapCommandsEnabled(doc));
    EXPECT_FALSE(DeleteLap(ctx, 0)) << "no lap to delete, nothing asked";
    EXPECT_EQ(prompts.Only("Message:").size(), 3u);
}

}  // namespace
}  // namespace commands_test
