// View > Stacked Channels: the panes' rows and ranges, their curves, reading a pane under the
// pointer, its channel menu, the x-only zoom, and the settings' form of the channel list.
#include <QMenu>
#include <QMouseEvent>

#include "views/GraphTestSupport.h"
#include "views/graph/StackedGraph.h"

namespace {

void Mouse(QWidget& w, QEvent::Type type, int x, int y, Qt::MouseButton b, Qt::MouseButtons held) {
    const QPointF at(x, y);
    QMouseEvent e(type, at, w.mapToGlobal(at), b, held, Qt::NoModifier);
    QApplication::sendEvent(&w, &e);
}

// 1000 x 500 with Position over Line: plot rows 40 to 460 less a 10-row gap make two panes
// of 205 rows, 40 to 245 and 255 to 460.
class StackedGraph : public TGraphRenderTest {
  protected:
    void SetUp() override {
        TGraphRenderTest::SetUp();
        AddLap(MakeLinearLap(1000, 0, 10, kLapA));  // on the centre line; x runs 0 to 10000 ft
        viewState.graph.stacked = true;
        viewState.graph.stackedChannels = {TelemetryChannel::Position, TelemetryChannel::Line};
    }
};

TEST_F(StackedGraph, PanesShareTheColumnsAndKeepTheirRows) {
    const std::vector<TStackedPane> panes = StackedPanes(doc, viewState, 1000, 500);
    ASSERT_EQ(panes.size(), 2u);
    EXPECT_EQ(panes[0].g.top, 40);
    EXPECT_EQ(panes[0].g.bottom, 245);
    EXPECT_EQ(panes[1].g.top, 255);
    EXPECT_EQ(panes[1].g.bottom, 460);
    EXPECT_EQ(panes[1].g.left, 60);
    EXPECT_EQ(panes[1].g.right, 980);
    // Position 0 to 10000 with 5 % margins; a constant Line 0.02 wide about its value.
    EXPECT_DOUBLE_EQ(panes[0].y.min, -500);
    EXPECT_DOUBLE_EQ(panes[0].y.max, 10500);
    EXPECT_NEAR(panes[1].y.max - panes[1].y.min, 0.02, 1e-12);
    EXPECT_EQ(StackedPaneAt(panes, 250), 0);  // in the gap: the nearer pane
    EXPECT_EQ(StackedPaneAt(panes, 251), 1);
    EXPECT_EQ(StackedPaneAt(panes, 5), 0);
    EXPECT_EQ(StackedPaneAt(panes, 499), 1);
}

TEST_F(StackedGraph, EachCurveIsDrawnInItsPaneAndNoneInTheGap) {
    TGraphView view(ctx);
    const QImage img = RenderAt(view, 1000, 500);
    // Column 520 is 5000 ft: Position at trunc(0.5 * 205 + 40) = 142, the constant Line at
    // its pane's middle, trunc(0.5 * 205 + 255) = 357.
    EXPECT_EQ(img.pixel(520, 142), Of(kLapA));
    EXPECT_EQ(img.pixel(520, 357), Of(kLapA));
    auto lap = [](QRgb c) { return c == Of(kLapA); };
    EXPECT_EQ(CountIn(img, QRect(0, 246, 1000, 9), lap), 0);
    EXPECT_GT(CountIn(img, QRect(61, 41, 918, 203), lap), 800);
    // Each pane has its frame: the gap's edges are black at both ends.
    EXPECT_EQ(img.pixel(60, 245), kBlack);
    EXPECT_EQ(img.pixel(980, 255), kBlack);
    // Off, the single graph is back: the Time curve fills the whole plot.
    viewState.graph.stacked = false;
    view.FullRepaint();
    EXPECT_GT(CountIn(Render(view), QRect(0, 246, 1000, 9), lap), 0);
}

TEST_F(StackedGraph, ThePointerReadsItsPaneAndTheMenuChangesThePanesChannel) {
    TGraphView view(ctx);
    Prepare(view, 1000, 500);
    Render(view);
    QString status;
    QObject::connect(&view, &TGraphView::statusText, [&](const QString& s) { status = s; });
    Mouse(view, QEvent::MouseMove, 520, 357, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(status, QStringLiteral("Position = 5000.00, Line =    0.00"));
    Mouse(view, QEvent::MouseMove, 520, 100, Qt::NoButton, Qt::NoButton);
    EXPECT_TRUE(status.startsWith(QStringLiteral("Position = 5000.00, Position = ")));

    QMenu menu;
    view.FillPaneMenu(menu, 1, true);
    ASSERT_GE(menu.actions().size(), 7);
    EXPECT_TRUE(menu.actions()[3]->isChecked());  // Line
    EXPECT_EQ(menu.actions()[3]->text(), QStringLiteral("Line"));
    // Choosing Position for the lower pane trades it with the upper one.
    view.SetPaneChannel(1, TelemetryChannel::Position);
    EXPECT_EQ(viewState.graph.stackedChannels,
              (std::vector{TelemetryChannel::Line, TelemetryChannel::Position}));
}

TEST_F(StackedGraph, ARubberBandZoomsTheSharedXAxisOnly) {
    TGraphView view(ctx);
    Prepare(view, 1000, 500);
    Render(view);
    const TAxisRanges before = viewState.graph.viewRange;
    Mouse(view, QEvent::MouseButtonPress, 300, 100, Qt::LeftButton, Qt::LeftButton);
    Mouse(view, QEvent::MouseMove, 500, 400, Qt::NoButton, Qt::LeftButton);
    Mouse(view, QEvent::MouseButtonRelease, 500, 400, Qt::LeftButton, Qt::NoButton);
    // Columns 300 to 500 of 920 over 0 to 10000 ft.
    EXPECT_DOUBLE_EQ(viewState.graph.viewRange.x.min, 10000.0 * 240 / 920);
    EXPECT_DOUBLE_EQ(viewState.graph.viewRange.x.max - viewState.graph.viewRange.x.min,
                     10000.0 * 200 / 920);
    EXPECT_EQ(viewState.graph.viewRange.y, before.y);
}

TEST(StackedChannelsText, ReadsOnlyChannelsOnceEachAndFallsBackToTheDefault) {
    using C = TelemetryChannel;
    EXPECT_EQ(StackedChannelsText({C::Speed, C::Line, C::InlineForce, C::LateralForce}), "2,3,4,5");
    EXPECT_EQ(ParseStackedChannels("5,2,,x,9,2,3,-1,06"),
              (std::vector{C::LateralForce, C::Speed, C::Line, C::SlipAngle}));
    EXPECT_EQ(ParseStackedChannels(""), TGraphViewState::DefaultStackedChannels());
    EXPECT_EQ(ParseStackedChannels("7,8,99999999999"), TGraphViewState::DefaultStackedChannels());
}

}  // namespace
