// The mouse over the graph: readouts and hints, the highlighted title, the cursor line,
// rubber-band zoom, the pop-up menus, axis changes and the zoom commands' enabling.
#include <gtest/gtest.h>

#include <QMenu>
#include <QMouseEvent>
#include <QScreen>

#include <cmath>
#include <functional>
#include <vector>

#include "commands/DocumentCommands.h"
#include "views/GraphTestSupport.h"
#include "views/graph/GraphCommands.h"
#include "views/graph/TGraphView.h"

namespace {

const Rgb kLap{200, 0, 100};

// Answers pop-up menus from a script and records what they offered.
class TScriptedGraphView : public TGraphView {
  public:
    using TGraphView::TGraphView;
    int answer = 0;
    int menus = 0;
    QStringList texts;
    QStringList checked;
    QStringList disabled;

  protected:
    int ExecPopupMenu(QMenu& menu, const QPoint&) override {
        ++menus;
        texts.clear();
        checked.clear();
        disabled.clear();
        for (QAction* a : menu.actions()) {
            texts << a->text();
            if (a->isChecked()) checked << a->text();
            if (!a->isEnabled()) disabled << a->text();
        }
        return answer;
    }
};

void SendMouse(QWidget& w, QEvent::Type type, int x, int y, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
    const QPointF local(x, y);
    QMouseEvent e(type, local, w.mapToGlobal(local), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(&w, &e);
}
void Move(QWidget& w, int x, int y, Qt::MouseButtons held = Qt::NoButton) {
    SendMouse(w, QEvent::MouseMove, x, y, Qt::NoButton, held);
}
void Press(QWidget& w, int x, int y, Qt::MouseButton b = Qt::LeftButton) {
    SendMouse(w, QEvent::MouseButtonPress, x, y, b, b);
}
void Release(QWidget& w, int x, int y, Qt::MouseButton b = Qt::LeftButton) {
    SendMouse(w, QEvent::MouseButtonRelease, x, y, b, Qt::NoButton);
}

// What the view signalled, in order.
struct TSignalLog {
    std::vector<int32_t> cursor;
    std::vector<std::pair<double, int>> values;
    int state = 0;
    explicit TSignalLog(TGraphView& v) {
        QObject::connect(&v, &TGraphView::cursorChanged,
                         [this](int32_t p) { cursor.push_back(p); });
        QObject::connect(&v, &TGraphView::showLapValues, [this](double x, TelemetryChannel kind) {
            values.emplace_back(x, ChannelNumber(kind));
        });
        QObject::connect(&v, &TGraphView::stateChanged, [this] { ++state; });
    }
};

bool Red(QRgb p) {
    return qRed(p) > 200 && qGreen(p) < 80 && qBlue(p) < 80;
}

// 800 x 600, x on Position 0..10000 ft, y on Time -1/3..7 s (see the render tests).
class GraphMouse : public ::testing::Test, public TGraphFixtureState {
  protected:
    void SetUp() override {
        UseTrack();
        SetAxis(doc, &TAxes::x, TelemetryChannel::Position);
        SetAxis(doc, &TAxes::y, TelemetryChannel::Time);
        SetAxis(doc, &TAxes::y2, TelemetryChannel::None);
        doc.TakeAxesSnapshot();
        AddLap(MakeLinearLap(101, 0, 100, kLap));
        view = std::make_unique<TScriptedGraphView>(ctx);
        view->ResetRanges();
        view->resize(800, 600);
        QObject::connect(view.get(), &TGraphView::statusText, [this](const QString& s) {
            status = s;
            ++statusCount;
        });
        Paint();
    }
    QImage Paint() { return Render(*view); }

    std::unique_ptr<TScriptedGraphView> view;
    QString status;
    int statusCount = 0;
};

TEST_F(GraphMouse, ReadoutOverThePlot) {
    Move(*view, 240, 418);
    EXPECT_EQ(status, "Position = 2500.00, Time =    1.67");
    SetAxis(doc, &TAxes::y2, TelemetryChannel::Position);
    view->ResetRanges();
    view->FullRepaint();
    Paint();
    // With a second axis the plot is 40 pixels narrower: column 240 of 720 - 40.
    Move(*view, 240, 430);
    EXPECT_EQ(status, "Position = 2647.06, Time =   -4.00, Position = 5000.00");
}

TEST_F(GraphMouse, NoReadoutWithoutTrackAndNoneWhileARepaintIsPending) {
    doc.SetCurrentTrack(-1);
    Move(*view, 240, 418);
    EXPECT_EQ(status, "");
    doc.SetCurrentTrack(0);
    view->FullRepaint();
    const int before = statusCount;
    Move(*view, 300, 300);
    EXPECT_EQ(statusCount, before);  // ignored until the paint
    Paint();
    Move(*view, 300, 300);
    EXPECT_EQ(statusCount, before + 1);
}

TEST_F(GraphMouse, MarginHintsAndTheHighlightedTitle) {
    const QRect yTitle(15, 150, 45, 300);
    EXPECT_EQ(CountIn(Paint(), yTitle, Red), 0);
    Move(*view, 300, 300);
    Move(*view, 30, 300);
    EXPECT_EQ(status, "Right click to change y-axis");
    EXPECT_EQ(view->HighlightedAxis(), TAxisKind::Y);
    EXPECT_GT(CountIn(Paint(), yTitle, Red), 20);
    Move(*view, 400, 590);
    EXPECT_EQ(status, "Right click to change x-axis");
    const QImage x = Paint();
    EXPECT_EQ(CountIn(x, yTitle, Red), 0);
    EXPECT_GT(CountIn(x, QRect(300, 561, 200, 39), Red), 20);
    Move(*view, 790, 300);
    EXPECT_EQ(status, "Right click to change second y-axis");
    EXPECT_EQ(view->HighlightedAxis(), TAxisKind::Y2);
    Move(*view, 30, 590);
    EXPECT_EQ(status, "");
    EXPECT_EQ(view->HighlightedAxis(), TAxisKind::None);
    Move(*view, 30, 300);
    Move(*view, 300, 300);  // back over the plot: black again
    EXPECT_EQ(view->HighlightedAxis(), TAxisKind::None);
    EXPECT_EQ(CountIn(Paint(), yTitle, Red), 0);
}

TEST_F(GraphMouse, CursorLineFollowsThePointerAndLeavesNoTrace) {
    viewState.side.pipShown = true;
    TSignalLog log(*view);
    const QImage before = Paint();
    Move(*view, 240, 300);
    EXPECT_EQ(viewState.cursorPosition, 2500);
    ASSERT_EQ(log.cursor.size(), 1u);
    EXPECT_EQ(log.cursor.back(), 2500);
    ASSERT_GE(log.values.size(), 1u);
    EXPECT_DOUBLE_EQ(log.values.back().first, 2500);
    EXPECT_EQ(log.values.back().second, 1);
    QImage img = Paint();
    EXPECT_EQ(img.pixel(240, 100), kGreen);
    EXPECT_EQ(img.pixel(240, 550), kGreen);
    EXPECT_EQ(img.pixel(240, 559), qRgb(255, 63, 255));  // over the bottom tick
    EXPECT_EQ(img.pixel(240, 560), before.pixel(240, 560));
    EXPECT_EQ(img.pixel(240, 40), qRgb(255, 63, 255));  // inverted over the black frame

    Move(*view, 420, 300);
    img = Paint();
    EXPECT_EQ(img.pixel(240, 100), kWhite);
    EXPECT_EQ(img.pixel(420, 100), kGreen);

    Move(*view, 420, 20);  // the top strip: off the plot
    EXPECT_EQ(viewState.cursorPosition, NoCursor);
    EXPECT_EQ(log.cursor.back(), NoCursor);
    EXPECT_DOUBLE_EQ(log.values.back().first, -1);
    EXPECT_EQ(Paint(), before);
}

TEST_F(GraphMouse, NoCursorLineWithoutPictureInPictureOrOnTime) {
    Move(*view, 240, 300);
    EXPECT_EQ(viewState.cursorPosition, NoCursor);
    EXPECT_NE(Paint().pixel(240, 100), kGreen);

    viewState.side.pipShown = true;
    SetAxis(doc, &TAxes::x, TelemetryChannel::Time);
    view->ResetRanges();
    view->FullRepaint();
    Paint();
    Move(*view, 240, 300);
    EXPECT_EQ(viewState.cursorPosition, NoCursor);
}

TEST_F(GraphMouse, FullRepaintDropsTheCursor) {
    viewState.side.pipShown = true;
    Move(*view, 240, 300);
    ASSERT_EQ(viewState.cursorPosition, 2500);
    view->FullRepaint();
    EXPECT_NE(Paint().pixel(240, 100), kGreen);
    EXPECT_EQ(viewState.cursorPosition, NoCursor);
}

TEST_F(GraphMouse, CursorSetElsewhereIsDrawn) {
    viewState.cursorPosition = 7500;
    view->CursorMoved();
    EXPECT_EQ(Paint().pixel(600, 300), kGreen);
    // Outside the shown range: no line.
    viewState.graph.viewRange.x.max = 5000;
    viewState.cursorPosition = 7500;
    view->CursorMoved();
    EXPECT_EQ(CountIn(Paint(), QRect(0, 100, 800, 1), [](QRgb p) { return p == kGreen; }), 0);
}

// Regression: rendering the hidden view repeated its resize event, which cancelled the drag.
TEST_F(GraphMouse, RubberBandZoom) {
    TSignalLog log(*view);
    EXPECT_FALSE(view->CanZoomOut());
    EXPECT_FALSE(view->CanFullSize());
    const QImage before = Paint();
    Press(*view, 240, 170);
    EXPECT_TRUE(viewState.graph.dragging);
    Move(*view, 420, 430, Qt::LeftButton);
    QImage band = Paint();
    EXPECT_TRUE(viewState.graph.dragging);
    EXPECT_EQ(band.pixel(300, 170), qRgb(0, 0, 0));  // white inverted
    EXPECT_EQ(band.pixel(240, 300), qRgb(0, 0, 0));
    EXPECT_EQ(band.pixel(300, 300), before.pixel(300, 300));  // inside stays
    Release(*view, 420, 430);
    EXPECT_FALSE(viewState.graph.dragging);
    EXPECT_TRUE(viewState.graph.dragEnabled);
    EXPECT_TRUE(viewState.graph.repaintPending);
    EXPECT_DOUBLE_EQ(viewState.graph.viewRange.x.min, 2500);
    EXPECT_DOUBLE_EQ(viewState.graph.viewRange.x.max, 5000);
    EXPECT_NEAR(viewState.graph.viewRange.y.max, 7 - 22.0 / 3 * 0.25, 1e-9);
    EXPECT_NEAR(viewState.graph.viewRange.y.min, 7 - 22.0 / 3 * 0.75, 1e-9);
    EXPECT_GE(log.state, 1);
    EXPECT_TRUE(view->CanZoomOut());
    EXPECT_TRUE(view->CanFullSize());
    const QImage zoomed = Paint();
    EXPECT_NE(zoomed, before);
    EXPECT_FALSE(viewState.graph.repaintPending);

    view->ZoomOut();
    EXPECT_DOUBLE_EQ(viewState.graph.viewRange.x.min, 1250);
    EXPECT_DOUBLE_EQ(viewState.graph.viewRange.x.max, 6250);
    view->FullSize();
    EXPECT_EQ(viewState.graph.viewRange, viewState.graph.fullRange);
    EXPECT_FALSE(view->CanZoomOut());
    view->ZoomOut();
    EXPECT_EQ(viewState.graph.viewRange, viewState.graph.fullRange);
    EXPECT_EQ(Paint(), before);
}

// What the screen shows of a window once the paints it asked for are done: unlike grab(),
// which paints the whole widget afresh, only what was repainted has changed.
QImage OnScreen(QWidget& w) {
    QApplication::processEvents();
    return w.screen()->grabWindow(w.winId()).toImage().convertToFormat(QImage::Format_RGB32);
}

// Regression: the band's right and bottom edges did not show while dragging nor all erase.
TEST_F(GraphMouse, RubberBandShowsAllFourEdgesWhileDraggingAndErasesThemExactly) {
    view->show();
    const QImage before = OnScreen(*view);
    ASSERT_EQ(before.size(), view->size());
    Press(*view, 240, 170);
    Move(*view, 300, 250, Qt::LeftButton);
    OnScreen(*view);
    Move(*view, 420, 430, Qt::LeftButton);
    const QImage band = OnScreen(*view);
    // The rectangle from (240, 170) to (420, 430) without its right and bottom edge, every
    // edge inverted on the screen, and nothing else changed (the smaller band is gone).
    const QRegion edges = QRegion(240, 170, 180, 260) - QRegion(241, 171, 178, 258);
    for (int y = 0; y < band.height(); ++y) {
        for (int x = 0; x < band.width(); ++x) {
            const QRgb expected = edges.contains(QPoint(x, y))
                                      ? (~before.pixel(x, y) & 0xffffffu) | 0xff000000u
                                      : before.pixel(x, y);
            ASSERT_EQ(band.pixel(x, y), expected) << x << ", " << y;
        }
    }
    Release(*view, 600, 20);  // outside the plot: no zoom, the band goes
    EXPECT_EQ(OnScreen(*view), before);
}

TEST_F(GraphMouse, DragsThatDoNotZoom) {
    const auto full = viewState.graph.viewRange;
    // A click at the anchor.
    Press(*view, 300, 300);
    Release(*view, 300, 300);
    EXPECT_EQ(viewState.graph.viewRange, full);
    // No height.
    Press(*view, 100, 300);
    Move(*view, 500, 300, Qt::LeftButton);
    Release(*view, 500, 300);
    EXPECT_EQ(viewState.graph.viewRange, full);
    EXPECT_FALSE(viewState.graph.dragging);
    // Released outside the plot.
    Press(*view, 100, 100);
    Release(*view, 790, 300);
    EXPECT_EQ(viewState.graph.viewRange, full);
    EXPECT_FALSE(viewState.graph.dragging);
    // Without a current track.
    doc.SetCurrentTrack(-1);
    Press(*view, 100, 100);
    Release(*view, 300, 300);
    EXPECT_EQ(viewState.graph.viewRange, full);
    doc.SetCurrentTrack(0);
    // Pressed outside the plot: no drag at all.
    Press(*view, 30, 300);
    EXPECT_FALSE(viewState.graph.dragging);
    // Not enabled (as after clearing the document).
    viewState.graph.dragEnabled = false;
    Press(*view, 100, 100);
    EXPECT_FALSE(viewState.graph.dragging);
}

TEST_F(GraphMouse, ZeroHeightZoomWithSecondAxisIsRefused) {
    SetAxis(doc, &TAxes::y2, TelemetryChannel::Speed);
    view->ResetRanges();
    view->FullRepaint();
    Paint();
    const auto full = viewState.graph.viewRange;
    Press(*view, 100, 300);
    Release(*view, 400, 300);
    EXPECT_EQ(viewState.graph.viewRange, full);
    const TAxisRanges& shown = viewState.graph.viewRange;
    for (const TRange& r : {shown.x, shown.y, shown.y2}) {
        EXPECT_TRUE(std::isfinite(r.min));
        EXPECT_TRUE(std::isfinite(r.max));
    }
}

TEST_F(GraphMouse, RightClickAndResizeEndADrag) {
    view->answer = 0;
    Press(*view, 100, 100);
    Move(*view, 200, 200, Qt::LeftButton);
    Release(*view, 200, 200, Qt::RightButton);
    EXPECT_FALSE(viewState.graph.dragging);
    EXPECT_TRUE(viewState.graph.dragEnabled);
    EXPECT_EQ(view->menus, 1);  // over the plot: Full Size, Zoom Out
    EXPECT_EQ(view->texts, QStringList({"Full Size", "Zoom Out"}));
    // Nothing is zoomed: the commands' enabling offers neither.
    EXPECT_EQ(view->disabled, QStringList({"Full Size", "Zoom Out"}));
    Release(*view, 200, 200);  // the left release after the cancel does nothing
    EXPECT_EQ(viewState.graph.viewRange, viewState.graph.fullRange);

    Press(*view, 100, 100);
    view->resize(700, 500);
    Paint();
    EXPECT_FALSE(viewState.graph.dragging);
    EXPECT_TRUE(viewState.graph.dragEnabled);
}

TEST_F(GraphMouse, AxisPopupMenus) {
    Move(*view, 30, 300);
    view->answer = 7128;
    Release(*view, 30, 300, Qt::RightButton);
    EXPECT_EQ(view->texts, QStringList({"Time", "Position", "Speed", "Line", "In-line Force",
                                        "Lateral Force", "Slip Angle"}));
    EXPECT_EQ(view->checked, QStringList({"Time"}));
    EXPECT_TRUE(view->disabled.isEmpty());
    EXPECT_EQ(doc.axes().y, TelemetryChannel::Speed);

    Paint();
    Move(*view, 790, 300);
    view->answer = 21692;
    Release(*view, 790, 300, Qt::RightButton);
    EXPECT_EQ(view->texts, QStringList({"None", "Time", "Position", "Speed", "Line",
                                        "In-line Force", "Lateral Force", "Slip Angle"}));
    EXPECT_EQ(view->checked, QStringList({"None"}));
    EXPECT_EQ(doc.axes().y2, TelemetryChannel::LateralForce);

    Paint();
    Move(*view, 400, 590);
    view->answer = 0;
    Release(*view, 400, 590, Qt::RightButton);
    EXPECT_EQ(view->texts, QStringList({"Time", "Position"}));
    EXPECT_EQ(view->checked, QStringList({"Position"}));
    EXPECT_EQ(doc.axes().x, TelemetryChannel::Position);

    // The top strip is neither an axis nor the plot.
    const int menus = view->menus;
    Move(*view, 400, 20);
    Release(*view, 400, 20, Qt::RightButton);
    EXPECT_EQ(view->menus, menus);
}

TEST_F(GraphMouse, PopupFullSizeAndZoomOutRunTheirCommands) {
    viewState.graph.viewRange.x.min = 1000;
    viewState.graph.viewRange.x.max = 2000;
    view->answer = 5685;
    Release(*view, 300, 300, Qt::RightButton);
    EXPECT_TRUE(view->disabled.isEmpty()) << view->disabled.join(", ").toStdString();
    EXPECT_EQ(viewState.graph.viewRange, viewState.graph.fullRange);
    EXPECT_FALSE(view->RunCommand(4242));
}

class GraphAxes : public GraphMouse {};

TEST_F(GraphAxes, ChoosingTheSameChannelKeepsTheZoom) {
    viewState.graph.viewRange.x.min = 1000;
    view->SetAxis(TAxisKind::Y, TelemetryChannel::Time);
    view->SetAxes(TelemetryChannel::Position, TelemetryChannel::Time, TelemetryChannel::None);
    EXPECT_DOUBLE_EQ(viewState.graph.viewRange.x.min, 1000);
    EXPECT_EQ(prompts.lapsChanged, 0);
}

TEST_F(GraphAxes, ChangingAnAxisResetsRangesWithoutMarkingTheDocument) {
    viewState.graph.viewRange.x.min = 1000;
    TSignalLog log(*view);
    view->SetAxis(TAxisKind::Y, TelemetryChannel::Speed);
    EXPECT_EQ(doc.axes().y, TelemetryChannel::Speed);
    EXPECT_EQ(viewState.graph.viewRange, viewState.graph.fullRange);
    EXPECT_DOUBLE_EQ(viewState.graph.viewRange.x.min, 0);
    EXPECT_EQ(prompts.lapsChanged, 1);
    EXPECT_TRUE(viewState.graph.repaintPending);
    EXPECT_FALSE(doc.dirty());
    EXPECT_TRUE(doc.AxesChanged());
    EXPECT_TRUE(SaveEnabled(doc));
    EXPECT_GE(log.state, 1);
    view->SetAxis(TAxisKind::Y, TelemetryChannel::Time);
    EXPECT_FALSE(doc.AxesChanged());
}

TEST_F(GraphAxes, ChannelsAnAxisCannotHoldAreIgnored) {
    view->SetAxis(TAxisKind::X, TelemetryChannel::Speed);
    view->SetAxis(TAxisKind::Y, TelemetryChannel::None);
    view->SetAxis(TAxisKind::Y2, static_cast<TelemetryChannel>(8));
    view->SetAxis(static_cast<TAxisKind>(4), TelemetryChannel::Position);
    view->SetAxes(static_cast<TelemetryChannel>(-1), static_cast<TelemetryChannel>(9),
                  static_cast<TelemetryChannel>(12));
    EXPECT_EQ(doc.axes().x, TelemetryChannel::Position);
    EXPECT_EQ(doc.axes().y, TelemetryChannel::Time);
    EXPECT_EQ(doc.axes().y2, TelemetryChannel::None);
    EXPECT_EQ(prompts.lapsChanged, 0);
}

TEST_F(GraphAxes, TimeOnTheXAxisTakesTheCursorAway) {
    viewState.side.pipShown = true;
    Move(*view, 240, 300);
    ASSERT_NE(viewState.cursorPosition, NoCursor);
    TSignalLog log(*view);
    view->SetAxis(TAxisKind::X, TelemetryChannel::Time);
    EXPECT_EQ(viewState.cursorPosition, NoCursor);
    ASSERT_GE(log.cursor.size(), 1u);
    EXPECT_EQ(log.cursor.front(), NoCursor);
    ASSERT_GE(log.values.size(), 1u);
    EXPECT_DOUBLE_EQ(log.values.front().first, -1);
    EXPECT_DOUBLE_EQ(viewState.graph.fullRange.x.max, 100.0 / 15);
}

TEST_F(GraphAxes, EmptyDocumentIsClearedAndStillCountsTheAxisChange) {
    RemoveAllLaps(doc);
    view->ResetRanges();
    view->SetAxis(TAxisKind::Y, TelemetryChannel::Speed);
    EXPECT_EQ(prompts.switchToGraph, 1);  // the document-clearing operation ran
    EXPECT_EQ(doc.axes().y, TelemetryChannel::Speed);
    EXPECT_TRUE(doc.AxesChanged());
    view->SetAxis(TAxisKind::Y, TelemetryChannel::Time);
    EXPECT_FALSE(doc.AxesChanged());
}

TEST_F(GraphAxes, ZoomEnablingNeedsATrackAndIgnoresTheSecondAxis) {
    viewState.graph.viewRange.y2.min += 0.001;
    EXPECT_FALSE(view->CanZoomOut());
    viewState.graph.viewRange.y.min += 0.001;
    EXPECT_TRUE(view->CanZoomOut());
    doc.SetCurrentTrack(-1);
    EXPECT_FALSE(view->CanZoomOut());
    EXPECT_FALSE(view->CanFullSize());
}

TEST(GraphCommands, EnabledUnlessMapWithoutPictureInPicture) {
    TTrackList tracks;
    TDocument doc(tracks);
    TViewState viewState;
    EXPECT_TRUE(AxisCommandEnabled(viewState));
    viewState.viewMode = ViewMap;
    EXPECT_FALSE(AxisCommandEnabled(viewState));
    viewState.side.pipShown = true;
    EXPECT_TRUE(AxisCommandEnabled(viewState));

    SetAxis(doc, &TAxes::y2, TelemetryChannel::None);
    int checked = 0;
    for (const TAxisCommand& c : kAxisCommands) checked += AxisCommandChecked(doc, c) ? 1 : 0;
    EXPECT_EQ(checked, 3);  // one per axis
    ASSERT_NE(FindAxisCommand(21686), nullptr);
    EXPECT_TRUE(AxisCommandChecked(doc, *FindAxisCommand(21686)));
    EXPECT_EQ(FindAxisCommand(1), nullptr);
}

}  // namespace

namespace {

// Sizes below the layout's margins, laps without samples, a track without a scale and
// axes outside their channels: drawn and hovered without a fault.
TEST(GraphOddInputs, TinyWindowsEmptyLapsAndBadScalesDoNoHarm) {
    TGraphFixtureState s;
    s.UseTrack();
    s.tracks.At(0).inchesPerUnit = 0;
    s.AddLap(MakeLinearLap(101, 0, 100, kLap));
    auto empty = std::make_unique<TReplay>("Empty", 1);
    empty->endFrame = 10;
    empty->endPosition = 5000;
    empty->inchesPerUnit = 12;
    s.AddLap(std::move(empty));
    SetAxis(s.doc, &TAxes::y2, TelemetryChannel::LateralForce);
    s.viewState.side.pipShown = true;
    TScriptedGraphView view(s.ctx);
    view.ResetRanges();
    for (QSize size :
         {QSize(1, 1), QSize(70, 50), QSize(80, 80), QSize(121, 81), QSize(320, 240)}) {
        view.resize(size);
        EXPECT_EQ(Render(view).size(), size);
        for (QPoint p : {QPoint(0, 0), QPoint(60, 40), QPoint(size.width() - 1, size.height() - 1)})
            Move(view, p.x(), p.y());
    }
    EXPECT_EQ(s.viewState.cursorPosition, NoCursor);  // no scale: no position to put it at
    SetAxis(s.doc, &TAxes::y, static_cast<TelemetryChannel>(42));
    SetAxis(s.doc, &TAxes::x, static_cast<TelemetryChannel>(-3));
    view.FullRepaint();
    EXPECT_EQ(Render(view).pixel(60, 40), qRgb(0, 0, 0));
}

}  // namespace
