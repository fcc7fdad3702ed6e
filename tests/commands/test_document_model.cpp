// The document keeps its derived values and tells every subscriber of each change.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "CommandsFixture.h"
#include "commands/Document.h"

namespace commands_test {
namespace {

using testing::ElementsAre;

struct TRecorder : TDocumentObserver {
    std::vector<std::string> seen;
    void Changed(const TDocumentChange& c) override { seen.push_back(ChangeText(c)); }
};

using DocumentModel = CommandsTest;

TEST_F(DocumentModel, EverySubscriberHearsEachChangeInOrderUntilItLeaves) {
    TRecorder a, b;
    doc.Subscribe(a);
    doc.Subscribe(b);
    doc.Subscribe(a);  // twice is still once
    AddLap("Ann Lee");
    AddLap("Bo");
    doc.EditLap(1, "Bo Renamed", {0, 0, 255});
    doc.Unsubscribe(b);
    doc.RemoveLap(0);
    EXPECT_THAT(a.seen, ElementsAre("LapAdded: Ann Lee", "LapAdded: Bo", "LapEdited: 1 Bo Renamed",
                                    "LapRemoved: 0"));
    EXPECT_THAT(b.seen,
                ElementsAre("LapAdded: Ann Lee", "LapAdded: Bo", "LapEdited: 1 Bo Renamed"));
    doc.Unsubscribe(a);
}

TEST_F(DocumentModel, EditsOutOfRangeChangeNothingAndSayNothing) {
    AddLap("Ann Lee");
    prompts.ClearLog();
    EXPECT_FALSE(doc.EditLap(1, "x", {}));
    EXPECT_FALSE(doc.EditLap(-1, "x", {}));
    EXPECT_FALSE(doc.RemoveLap(1));
    EXPECT_EQ(doc.laps().Count(), 1);
    EXPECT_FALSE(doc.dirty());
    EXPECT_TRUE(prompts.log.empty());
}

TEST_F(DocumentModel, ExtentsFollowEveryLapAndTrackChange) {
    // Guards against extents left over from laps that are gone (they once had to be
    // recomputed by hand after each change).
    doc.SetCurrentTrack(TrackIndex("Oval"));
    EXPECT_EQ(doc.extents().Max(TelemetryChannel::Time), 0);
    AddLap("short", 10);  // frames -0.25 .. 9.5: 9.75 / 15 s
    EXPECT_DOUBLE_EQ(doc.extents().Max(TelemetryChannel::Time), 9.75 / 15);
    AddLap("long", 40);
    EXPECT_DOUBLE_EQ(doc.extents().Max(TelemetryChannel::Time), 39.75 / 15);
    doc.RemoveLap(1);
    EXPECT_DOUBLE_EQ(doc.extents().Max(TelemetryChannel::Time), 9.75 / 15);
    doc.Clear();
    EXPECT_EQ(doc.extents().Max(TelemetryChannel::Time), 0);
}

TEST_F(DocumentModel, AxesRaiseAChangeOnlyWhenTheyDiffer) {
    prompts.ClearLog();
    EXPECT_FALSE(doc.SetAxes(doc.axes()));
    EXPECT_TRUE(
        doc.SetAxes({TelemetryChannel::Time, TelemetryChannel::Line, TelemetryChannel::None}));
    EXPECT_THAT(prompts.log, ElementsAre("AxesChanged"));
    EXPECT_TRUE(doc.AxesChanged());
    doc.Clear();  // takes the snapshot
    EXPECT_FALSE(doc.AxesChanged());
}

}  // namespace
}  // namespace commands_test
