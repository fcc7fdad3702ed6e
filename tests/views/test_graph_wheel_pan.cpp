// Wheel zoom, panning and the arrow keys on the graph: they go through the same view range
// as the rubber band, so Zoom Out, Full Size and their enabling treat them alike.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <vector>

#include "views/GraphTestSupport.h"
#include "views/graph/GraphLegend.h"
#include "views/graph/GraphRanges.h"
#include "views/graph/TGraphView.h"

namespace {

void Wheel(QWidget& w, int x, int y, int notches, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    const QPointF local(x, y);
    QWheelEvent e(local, w.mapToGlobal(local), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                  mods, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&w, &e);
}
void Mouse(QWidget& w, QEvent::Type type, int x, int y, Qt::MouseButton button,
           Qt::MouseButtons held, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    const QPointF local(x, y);
    QMouseEvent e(type, local, w.mapToGlobal(local), button, held, mods);
    QApplication::sendEvent(&w, &e);
}
void Key(QWidget& w, int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QKeyEvent e(QEvent::KeyPress, key, mods);
    QApplication::sendEvent(&w, &e);
}

// 800 x 600: plot columns 60 to 780 (720 wide), x on Position 0..10000 ft.
class GraphWheel : public ::testing::Test, public TGraphFixtureState {
  protected:
    void SetUp() override {
        UseTrack();
        SetAxis(doc, &TAxes::x, TelemetryChannel::Position);
        SetAxis(doc, &TAxes::y, TelemetryChannel::Time);
        SetAxis(doc, &TAxes::y2, TelemetryChannel::None);
        AddLap(MakeLinearLap(101, 0, 100, Rgb{200, 0, 100}));
        view = std::make_unique<TGraphView>(ctx);
        view->ResetRanges();
        view->resize(800, 600);
        Render(*view);
    }
    TGraphGeometry Geometry() const {
        return GraphGeometry(800, 600, 1, doc.axes().y2 != TelemetryChannel::None);
    }
    double XAt(int column) const {
        return ReadoutAt(column, 300, viewState.graph.viewRange, Geometry()).x;
    }
    double Span() const {
        return viewState.graph.viewRange.x.max - viewState.graph.viewRange.x.min;
    }

    std::unique_ptr<TGraphView> view;
};

TEST_F(GraphWheel, ZoomKeepsTheValueUnderThePointerWithinTheMinimumSpanAndTheFullRange) {
    const TAxisRanges full = viewState.graph.fullRange;
    int states = 0;
    QObject::connect(view.get(), &TGraphView::stateChanged, [&] { ++states; });
    const double under = XAt(300);
    Wheel(*view, 300, 300, 1);
    EXPECT_NEAR(Span(), 10000 / 1.25, 1e-6);
    EXPECT_EQ(viewState.graph.viewRange.y, full.y);  // the plain wheel leaves y alone
    EXPECT_TRUE(viewState.graph.repaintPending);
    EXPECT_TRUE(view->CanZoomOut());
    EXPECT_GE(states, 1);
    // Deep in: the value under the pointer stays within one column; the span stops at a
    // thousandth of the full range, and more notches change nothing.
    for (int i = 0; i < 60; ++i) {
        Wheel(*view, 300, 300, 1);
        EXPECT_LE(std::abs(XAt(300) - under), Span() / 720) << i;
    }
    EXPECT_NEAR(Span(), 10, 1e-9);
    const TAxisRanges deepest = viewState.graph.viewRange;
    Render(*view);
    Wheel(*view, 300, 300, 3);
    EXPECT_EQ(viewState.graph.viewRange, deepest);
    EXPECT_FALSE(viewState.graph.repaintPending);

    // Out again near the left edge: the range is held inside the full range, and the last
    // notch shows exactly the full range, so the zoom commands are disabled again.
    Wheel(*view, 62, 300, -70);
    EXPECT_EQ(viewState.graph.viewRange, full);
    EXPECT_FALSE(view->CanZoomOut());
    Wheel(*view, 700, 300, 2);
    EXPECT_GE(viewState.graph.viewRange.x.min, full.x.min);
    Wheel(*view, 779, 300, -1);
    EXPECT_LE(viewState.graph.viewRange.x.max, full.x.max);
    view->FullSize();
    EXPECT_EQ(viewState.graph.viewRange, full);

    // Off the plot, or without a track, the wheel does nothing.
    Wheel(*view, 30, 300, 2);
    doc.SetCurrentTrack(-1);
    Wheel(*view, 300, 300, 2);
    EXPECT_EQ(viewState.graph.viewRange, full);
}

TEST_F(GraphWheel, CtrlWheelZoomsTheYAxisOfTheHalfUnderThePointer) {
    const TAxisRanges full = viewState.graph.fullRange;
    // Row 150 of a plot from 40 to 560: the value there keeps its place.
    const double under = ReadoutAt(300, 150, viewState.graph.viewRange, Geometry()).y;
    Wheel(*view, 300, 150, 2, Qt::ControlModifier);
    EXPECT_EQ(viewState.graph.viewRange.x, full.x);
    EXPECT_NEAR(viewState.graph.viewRange.y.max - viewState.graph.viewRange.y.min,
                (full.y.max - full.y.min) / 1.5625, 1e-9);
    EXPECT_NEAR(ReadoutAt(300, 150, viewState.graph.viewRange, Geometry()).y, under, 1e-9);
    EXPECT_TRUE(view->CanFullSize());

    SetAxis(doc, &TAxes::y2, TelemetryChannel::Position);
    view->ResetRanges();
    const TAxisRanges withSecond = viewState.graph.fullRange;
    Wheel(*view, 300, 500, 1, Qt::ControlModifier);  // lower half: the second y-axis only
    EXPECT_EQ(viewState.graph.viewRange.y, withSecond.y);
    EXPECT_NEAR(viewState.graph.viewRange.y2.max - viewState.graph.viewRange.y2.min,
                (withSecond.y2.max - withSecond.y2.min) / 1.25, 1e-9);
    Wheel(*view, 300, 100, 1, Qt::ControlModifier);  // upper half: the y-axis only
    EXPECT_NE(viewState.graph.viewRange.y, withSecond.y);
}

TEST_F(GraphWheel, MiddleAndShiftDragsPanAlongXAndStopAtTheFullRange) {
    Wheel(*view, 420, 300, 4);  // about the middle of the plot: 10000 / 2.44 ft shown
    const TRange zoomed = viewState.graph.viewRange.x;
    const double span = Span();
    Render(*view);
    Mouse(*view, QEvent::MouseButtonPress, 400, 300, Qt::MiddleButton, Qt::MiddleButton);
    Mouse(*view, QEvent::MouseMove, 472, 300, Qt::NoButton, Qt::MiddleButton);
    // 72 pixels to the right is a tenth of the plot: the graph follows the pointer.
    EXPECT_NEAR(viewState.graph.viewRange.x.min, zoomed.min - span / 10, 1e-9);
    EXPECT_NEAR(Span(), span, 1e-9);
    Mouse(*view, QEvent::MouseMove, 1500, 300, Qt::NoButton, Qt::MiddleButton);
    EXPECT_EQ(viewState.graph.viewRange.x.min, 0);  // stopped at the start
    EXPECT_NEAR(Span(), span, 1e-9);
    Mouse(*view, QEvent::MouseButtonRelease, 1500, 300, Qt::MiddleButton, Qt::NoButton);
    const TRange atStart = viewState.graph.viewRange.x;
    Mouse(*view, QEvent::MouseMove, 100, 300, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(viewState.graph.viewRange.x, atStart);  // released: moves read, not pan

    // Shift and the left button pan too, without a rubber band, and stop at the end.
    Render(*view);
    Mouse(*view, QEvent::MouseButtonPress, 700, 300, Qt::LeftButton, Qt::LeftButton,
          Qt::ShiftModifier);
    EXPECT_FALSE(viewState.graph.dragging);
    Mouse(*view, QEvent::MouseMove, 61, 300, Qt::NoButton, Qt::LeftButton, Qt::ShiftModifier);
    Mouse(*view, QEvent::MouseMove, -900, 300, Qt::NoButton, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(viewState.graph.viewRange.x.max, 10000);
    EXPECT_NEAR(Span(), span, 1e-9);
    Mouse(*view, QEvent::MouseButtonRelease, -900, 300, Qt::LeftButton, Qt::NoButton,
          Qt::ShiftModifier);
    EXPECT_FALSE(viewState.graph.dragging);

    // Unzoomed there is nothing to slide.
    view->FullSize();
    Render(*view);
    Mouse(*view, QEvent::MouseButtonPress, 400, 300, Qt::MiddleButton, Qt::MiddleButton);
    Mouse(*view, QEvent::MouseMove, 500, 300, Qt::NoButton, Qt::MiddleButton);
    EXPECT_EQ(viewState.graph.viewRange, viewState.graph.fullRange);
    EXPECT_FALSE(viewState.graph.repaintPending);
}

TEST_F(GraphWheel, ArrowKeysStepTheCursorByColumnsWithinThePlot) {
    std::vector<std::pair<double, TelemetryChannel>> values;
    std::vector<int32_t> cursor;
    QObject::connect(view.get(), &TGraphView::showLapValues,
                     [&](double x, TelemetryChannel kind) { values.emplace_back(x, kind); });
    QObject::connect(view.get(), &TGraphView::cursorChanged,
                     [&](int32_t p) { cursor.push_back(p); });
    Mouse(*view, QEvent::MouseMove, 240, 300, Qt::NoButton, Qt::NoButton);
    EXPECT_TRUE(cursor.empty());  // the pointer shows no cursor line without the small window
    Key(*view, Qt::Key_Right);
    ASSERT_FALSE(values.empty());
    EXPECT_DOUBLE_EQ(values.back().first, XAt(241));  // units and feet agree on this track
    EXPECT_EQ(values.back().second, TelemetryChannel::Position);
    ASSERT_FALSE(cursor.empty());
    EXPECT_EQ(cursor.back(), static_cast<int32_t>(XAt(241)));
    const QImage line = Render(*view);
    int green = 0;
    for (int x = 235; x < 246; ++x) green += line.pixel(x, 45) == qRgb(0, 192, 0) ? 1 : 0;
    EXPECT_EQ(green, 1);
    Key(*view, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_DOUBLE_EQ(values.back().first, XAt(231));
    for (int i = 0; i < 30; ++i) Key(*view, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_DOUBLE_EQ(values.back().first, XAt(60));  // held at the plot's edge
    // The pointer takes over again, and the keys' line goes with it.
    Mouse(*view, QEvent::MouseMove, 500, 300, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(viewState.cursorPosition, NoCursor);
    EXPECT_DOUBLE_EQ(values.back().first, XAt(500));
}

TEST_F(GraphWheel, LegendOnlyWhenTurnedOnAndTwoOrMoreLapsAreShown) {
    const QImage plain = Render(*view);
    viewState.graph.legendShown = true;
    view->FullRepaint();
    EXPECT_EQ(Render(*view), plain);  // one lap: no legend
    auto second = MakeLinearLap(51, 0, 200, Rgb{0, 90, 250});
    second->SetDriverName("Second Driver");
    AddLap(std::move(second));
    viewState.graph.legendShown = false;
    view->FullRepaint();
    const QImage two = Render(*view);
    viewState.graph.legendShown = true;
    view->FullRepaint();
    const QImage legend = Render(*view);
    // The box sits in the plot's top-right corner, inside the frame, with both colours.
    const TGraphPaintInput in{doc, viewState, CurrentTrack(ctx),   800,
                              600, 1,         view->logicalDpiY(), TAxisKind::None};
    const QRect box = GraphLegendRect(in);
    ASSERT_FALSE(box.isEmpty());
    EXPECT_EQ(box.right(), 780 - 7);
    EXPECT_EQ(box.top(), 40 + 6);
    auto count = [&](QRgb colour) {
        int n = 0;
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x) n += legend.pixel(x, y) == colour;
        return n;
    };
    EXPECT_GE(count(qRgb(200, 0, 100)), 18 * 3);
    EXPECT_GE(count(qRgb(0, 90, 250)), 18 * 3);
    // Everything outside the box is the picture without the legend.
    for (int y = 0; y < 600; y += 3) {
        for (int x = 0; x < 800; x += 3) {
            if (!box.contains(x, y)) {
                ASSERT_EQ(legend.pixel(x, y), two.pixel(x, y)) << x << "," << y;
            }
        }
    }
}

}  // namespace
