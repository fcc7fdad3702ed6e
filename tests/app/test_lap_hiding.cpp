// Hiding laps: view state only. A hidden lap leaves the graph as the document without it
// would draw it, and stays in the document and in the saved file; Show All Laps brings it
// back.
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>

#include "AppFixture.h"
#include "app/SideWindows.h"
#include "commands/CommandContext.h"
#include "commands/CommandIds.h"
#include "commands/DocumentCommands.h"
#include "commands/LapVisibility.h"
#include "document/KvlFile.h"
#include "views/graph/TGraphView.h"
#include "views/windows/TDataWindow.h"
#include "views/windows/TReplayInfo.h"

using namespace app_test;

namespace {

class LapHiding : public AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        NotFirstRun();
        ASSERT_TRUE(Start(Sample()));
        ASSERT_EQ(window().doc().laps().Count(), 3);
        window().graph()->resize(640, 480);
    }
    QImage Graph() {
        return window().graph()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
};

TEST_F(LapHiding, AHiddenLapDrawsAsTheDocumentWithoutItAndIsStillSaved) {
    const QImage all = Graph();
    const int32_t second = window().doc().laps().At(1).serial;
    EXPECT_FALSE(frame().action(cmd::ShowAllLaps)->isEnabled());
    window().SetLapHidden(second, true);
    frame().UpdateCommands();
    EXPECT_TRUE(frame().action(cmd::ShowAllLaps)->isEnabled());
    const QImage hidden = Graph();
    EXPECT_NE(hidden, all);
    EXPECT_FALSE(window().doc().dirty());  // the document did not change

    // Saved with the lap hidden: all three laps are in the file.
    const std::string saved = (dir / "hidden.kvl").string();
    ASSERT_TRUE(WriteDocument(window().context(), saved));
    const KvlReadResult read = ReadKvlDocument(saved, window().tracks());
    EXPECT_EQ(read.laps.size(), 3u);

    // Show All Laps brings the first picture back.
    frame().Dispatch(cmd::ShowAllLaps);
    EXPECT_EQ(Graph(), all);
    EXPECT_FALSE(frame().action(cmd::ShowAllLaps)->isEnabled());

    // The document without that lap draws exactly what hiding it drew.
    // (What Delete Lap does once the user said yes.)
    ASSERT_TRUE(window().doc().RemoveLap(1));
    AnnounceLapsChanged(window().context());
    EXPECT_EQ(Graph(), hidden);
}

// Regression: hiding or showing a lap threw the zoom away.
TEST_F(LapHiding, AZoomTheShownLapsStillReachIsKept) {
    TGraphViewState& graph = window().view().graph;
    const TRange full = graph.fullRange.x;
    const TRange zoom{full.min + (full.max - full.min) / 3, full.max - (full.max - full.min) / 3};
    graph.viewRange.x = zoom;
    window().SetLapHidden(window().doc().laps().At(1).serial, true);
    EXPECT_EQ(graph.viewRange.x, zoom);
    frame().Dispatch(cmd::ShowAllLaps);
    EXPECT_EQ(graph.viewRange.x, zoom);

    // Not zoomed: the range follows the laps shown.
    graph.viewRange = graph.fullRange;
    for (int n = 0; n < 2; ++n) window().SetLapHidden(window().doc().laps().At(n).serial, true);
    EXPECT_EQ(graph.viewRange, graph.fullRange);
}

TEST_F(LapHiding, HiddenLapsAreForgottenWhenTheLapsGoAndUnknownSerialsAreIgnored) {
    window().SetLapHidden(987654, true);  // no such lap
    EXPECT_FALSE(AnyLapHidden(window().doc(), window().view()));
    window().SetLapHidden(window().doc().laps().At(0).serial, true);
    EXPECT_TRUE(AnyLapHidden(window().doc(), window().view()));
    frame().Dispatch(cmd::FileNew);
    EXPECT_TRUE(window().view().hiddenLaps.empty());
    EXPECT_TRUE(ShownLaps(window().doc(), window().view()).empty());
}

TEST_F(LapHiding, TheListsCheckBoxCollapsesTheDataColumnWhichTheKeysCursorLeavesEmpty) {
    frame().Dispatch(cmd::Data);
    frame().Dispatch(cmd::Info);
    TDataWindow& data = *window().sideWindows().dataWindow();
    TReplayInfo& info = *window().sideWindows().infoWindow();
    const int width = data.header()->sectionSize(2);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent e(type, QPointF(8, 16 + 10), QPointF(), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, {});
        QApplication::sendEvent(info.viewport(), &e);  // row 1's check box
    }
    EXPECT_TRUE(LapHidden(window().view(), window().doc().laps().At(1).serial));
    EXPECT_EQ(data.header()->sectionSize(2), data.headerHeight());
    QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
    QApplication::sendEvent(window().graph(), &right);
    EXPECT_NE(data.columns().At(0).values[ChannelNumber(TelemetryChannel::Position)], kNoLapValue);
    EXPECT_EQ(data.columns().At(1).values, kNoLapValues);

    frame().Dispatch(cmd::ShowAllLaps);
    EXPECT_TRUE(info.LapShown(window().doc().laps().At(1)));
    EXPECT_EQ(data.header()->sectionSize(2), width);
}

}  // namespace
