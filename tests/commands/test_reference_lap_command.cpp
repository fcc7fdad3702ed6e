// Lap > Set Reference Lap: the choice is view state, starts on the current reference and
// falls back to the fastest lap when the chosen lap goes.
#include <gtest/gtest.h>

#include "CommandsFixture.h"
#include "analysis/LapAnalysis.h"
#include "commands/LapAnalysisCommands.h"
#include "commands/LapEditing.h"

namespace commands_test {
namespace {

class ReferenceLapTest : public CommandsTest {
  protected:
    void SetUp() override {
        // Lap times from the sample counts: Bo is the fastest.
        doc.SetCurrentTrack(TrackIndex("Oval"));
        AddLap("Ann", 20);
        AddLap("Bo", 16);
        AddLap("Cy", 24);
        doc.SetDirty(false);
        prompts.ClearLog();
    }
};

TEST_F(ReferenceLapTest, PickedLapIsTheReferenceUntilItIsDeleted) {
    ASSERT_EQ(FastestLap(doc.laps().Pointers()), 1);
    EXPECT_EQ(ReferenceLapIndex(ctx), 1);

    prompts.chooseLaps = {2};
    SetReferenceLapCommand(ctx);
    ASSERT_EQ(prompts.lapDialogs.size(), 1u);
    EXPECT_EQ(prompts.lapDialogs[0].selection, 1);  // the dialog starts on the reference
    EXPECT_EQ(prompts.lapDialogs[0].texts, LapChoiceTexts(doc));
    EXPECT_EQ(ReferenceLapIndex(ctx), 2);
    EXPECT_FALSE(doc.dirty());  // view state: the document is not changed

    // Cancel keeps the choice; the next dialog starts on it.
    prompts.chooseLaps = {std::nullopt};
    SetReferenceLapCommand(ctx);
    EXPECT_EQ(prompts.lapDialogs.back().selection, 2);
    EXPECT_EQ(ReferenceLapIndex(ctx), 2);

    // Deleting a lap before it keeps the same lap; deleting it falls back to the fastest.
    ASSERT_TRUE(doc.RemoveLap(0));
    EXPECT_EQ(ReferenceLapIndex(ctx), 1);
    ASSERT_TRUE(doc.RemoveLap(1));
    EXPECT_EQ(ReferenceLapIndex(ctx), 0);

    view.analysis.referenceSerial = doc.laps().At(0).serial;
    ForgetReferenceLap(view);
    EXPECT_EQ(view.analysis.referenceSerial, -1);
}

TEST_F(ReferenceLapTest, TimeDeltaSettingIsReadAsOnlyOneAndOffByDefault) {
    EXPECT_FALSE(ReadTimeDeltaSetting(settings()));
    EXPECT_EQ(Setting("view", "timedelta"), "<missing>");
    WriteTimeDeltaSetting(settings(), true);
    ProfileFile next = NextRunSettings();
    EXPECT_TRUE(ReadTimeDeltaSetting(next));
    next.WriteText("view", "timedelta", "7");
    EXPECT_FALSE(ReadTimeDeltaSetting(next));
}

}  // namespace
}  // namespace commands_test
