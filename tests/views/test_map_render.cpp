// The map view and the picture-in-picture window rendered offscreen: pixels where the
// canvas transform puts the edges, the start/finish line, the laps and the extra lines, the
// comparison fill and the cursor over it, the zoom by dragging, and the picture-in-picture
// window's half-scale graph with its cursor.
#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QScrollBar>

#include "views/GraphTestSupport.h"
#include "views/MapTestSupport.h"
#include "views/map/MapMarkers.h"
#include "views/map/TTrackMapView.h"
#include "views/windows/TPipWindow.h"

namespace {

const Rgb kYellow{255, 255, 0};
const Rgb kBlue{0, 0, 255};

// The client area 1016 x 116 fits the 10000 x 100 map at 0.1 with the origin (-80, 180):
// track x maps to (x + 80) / 10, track y to (180 - y) / 10. Edge 1 (y = 100) is row 8,
// the middle (y = 50) row 13, edge 0 (y = 0) row 18.
class MapRender : public ::testing::Test, public TGraphFixtureState {
  protected:
    TLapLineCache lines;

    void SetUp() override {
        tracks.Clear();
        doc.SetCurrentTrack(tracks.Insert(MakeStraightTrack()));
    }
    TTrackData& Track() { return tracks.At(doc.currentTrack()); }

    template <typename W>
    void SizeClient(W& w, int cw, int ch) {
        w.resize(cw + w.verticalScrollBar()->sizeHint().width(),
                 ch + w.horizontalScrollBar()->sizeHint().height());
    }
    void ShowMap(TTrackMapView& view) {
        SizeClient(view, 1016, 116);
        view.show();
        viewState.viewMode = ViewMap;
        view.Enter();
    }
    QImage Grab(QAbstractScrollArea& w) {
        return w.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    void Move(TTrackMapView& view, QPoint at) {
        QMouseEvent e(QEvent::MouseMove, QPointF(at), view.viewport()->mapToGlobal(QPointF(at)),
                      Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(view.viewport(), &e);
    }
    void Click(TTrackMapView& view, QEvent::Type type, QPoint at, Qt::MouseButtons held) {
        QMouseEvent e(type, QPointF(at), view.viewport()->mapToGlobal(QPointF(at)), Qt::LeftButton,
                      held, Qt::NoModifier);
        QApplication::sendEvent(view.viewport(), &e);
    }
};

TEST_F(MapRender, EdgesStartLineAndLapsLieWhereTheCanvasTransformPutsThem) {
    AddLap(MakeLapThrough(Steps(0, 10000, 100), kBlue));
    TTrackMapView view(ctx, lines);
    ShowMap(view);
    ASSERT_EQ(view.ClientSize(), QSize(1016, 116));
    EXPECT_EQ(view.State().view.mapScale, 0.1);
    const QImage img = Grab(view);
    EXPECT_EQ(img.pixel(8, 8), kBlack);     // the map's corner (0, mapHeight)
    EXPECT_EQ(img.pixel(500, 8), kBlack);   // edge 1
    EXPECT_EQ(img.pixel(500, 18), kBlack);  // edge 0
    EXPECT_EQ(img.pixel(8, 12), kBlack);    // the start/finish line across the track
    EXPECT_EQ(img.pixel(500, 13), Of(kBlue));
    EXPECT_EQ(img.pixel(500, 11), kWhite);
    EXPECT_EQ(img.pixel(1008, 8), kWhite);  // a line's end pixel is not drawn
    EXPECT_EQ(img.pixel(1007, 8), kBlack);
}

TEST_F(MapRender, OtherMarkersShowAndHideTheTracksExtraLines) {
    auto other = std::make_unique<TTrackOther>();
    other->colour = 0x0000ff;  // red
    other->count = 2;
    other->xs = {1000, 5000};
    other->ys = {30, 30};  // row 15
    Track().others.push_back(std::move(other));
    TTrackMapView view(ctx, lines);
    ShowMap(view);
    EXPECT_EQ(Grab(view).pixel(300, 15), kWhite);
    viewState.map.otherMarkersShown = true;
    view.FullRepaint();
    EXPECT_EQ(Grab(view).pixel(300, 15), qRgb(255, 0, 0));
}

TEST_F(MapRender, ComparisonFillAndTheInvertingCursorOverIt) {
    // The yellow lap is faster over the first half, the blue one over the second.
    std::vector<int> pa = Steps(0, 5000, 50), pb = Steps(0, 5000, 100);
    const std::vector<int> ra = Steps(5000, 10000, 100), rb = Steps(5000, 10000, 50);
    pa.insert(pa.end(), ra.begin() + 1, ra.end());
    pb.insert(pb.end(), rb.begin() + 1, rb.end());
    AddLap(MakeLapThrough(pa, kYellow));
    AddLap(MakeLapThrough(pb, kBlue));
    viewState.map.comparisonShown = true;
    viewState.map.segmentWinner = SegmentWinners(Track(), doc.laps().At(0), doc.laps().At(1));
    TTrackMapView view(ctx, lines);
    ShowMap(view);
    QImage img = Grab(view);
    EXPECT_EQ(img.pixel(158, 11), qRgb(255, 255, 150));  // track x 1500: pale yellow
    EXPECT_EQ(img.pixel(858, 11), qRgb(202, 202, 255));  // track x 8500: pale blue
    EXPECT_EQ(img.pixel(158, 5), kWhite);                // outside the track

    QString status;
    QObject::connect(&view, &TTrackMapView::statusText,
                     [&status](const QString& s) { status = s; });
    Move(view, {158, 11});  // track (1500, 70)
    EXPECT_EQ(viewState.cursorPosition, 1500);
    EXPECT_EQ(status, QStringLiteral("Length =  1500.0 ft, Line =    70.0)"));
    img = Grab(view);
    EXPECT_EQ(img.pixel(158, 11), qRgb(255, 63, 255));  // inverted over its own colour
    EXPECT_EQ(img.pixel(158, 17), qRgb(255, 63, 255));
    EXPECT_EQ(img.pixel(158, 8), kBlack);  // the line stops short of the other edge

    Move(view, {158, 40});  // below the track: nothing found
    EXPECT_EQ(viewState.cursorPosition, NoCursor);
    EXPECT_TRUE(status.isEmpty());
    EXPECT_EQ(Grab(view).pixel(158, 11), qRgb(255, 255, 150));
}

// With three laps the comparison is the reference lap (here picked: yellow) against the lap
// selected in the lap list, else the fastest other lap (red, 125 frames against blue's 150);
// a box in the top-left corner names them. Red is slower than yellow over the first half
// and faster than both over the second.
TEST_F(MapRender, MoreThanTwoLapsCompareTheReferenceWithTheSelectedOrFastestOther) {
    std::vector<int> pa = Steps(0, 5000, 50), pb = Steps(0, 5000, 100), pr = Steps(0, 5000, 100);
    const std::vector<int> ra = Steps(5000, 10000, 100), rb = Steps(5000, 10000, 50),
                           rr = Steps(5000, 10000, 25);
    pa.insert(pa.end(), ra.begin() + 1, ra.end());
    pb.insert(pb.end(), rb.begin() + 1, rb.end());
    pr.insert(pr.end(), rr.begin() + 1, rr.end());
    const Rgb red{255, 0, 0};
    AddLap(MakeLapThrough(pr, red));
    AddLap(MakeLapThrough(pa, kYellow));
    AddLap(MakeLapThrough(pb, kBlue));
    viewState.analysis.referenceSerial = doc.laps().At(1).serial;
    viewState.map.comparisonShown = true;
    viewState.map.segmentWinner = SegmentWinners(Track(), doc.laps().At(1), doc.laps().At(0));
    TTrackMapView view(ctx, lines);
    ShowMap(view);
    QImage img = Grab(view);
    EXPECT_EQ(img.pixel(458, 11), qRgb(255, 255, 150));  // track x 3800: pale yellow
    EXPECT_EQ(img.pixel(858, 11), Of(PaleColour(red)));  // track x 8500: pale red
    EXPECT_EQ(img.pixel(8, 40), kBlack);  // the legend box's left side, below the track

    viewState.analysis.selectedSerial = doc.laps().At(2).serial;
    viewState.map.segmentWinner = SegmentWinners(Track(), doc.laps().At(1), doc.laps().At(2));
    view.FullRepaint();
    img = Grab(view);
    EXPECT_EQ(img.pixel(458, 11), qRgb(255, 255, 150));
    EXPECT_EQ(img.pixel(858, 11), qRgb(202, 202, 255));  // pale blue

    // Exactly two laps: the first against the second, and no box.
    doc.RemoveLap(0);
    viewState.analysis.selectedSerial = -1;
    viewState.map.segmentWinner = SegmentWinners(Track(), doc.laps().At(0), doc.laps().At(1));
    view.FullRepaint();
    img = Grab(view);
    EXPECT_EQ(img.pixel(158, 11), qRgb(255, 255, 150));
    EXPECT_EQ(img.pixel(858, 11), qRgb(202, 202, 255));
    EXPECT_EQ(img.pixel(8, 40), kWhite);
}

TEST_F(MapRender, CursorIsGreenOverWhiteWithoutTheComparison) {
    TTrackMapView view(ctx, lines);
    ShowMap(view);
    Grab(view);  // the full repaint that the Map command asked for
    Move(view, {158, 11});
    EXPECT_EQ(Grab(view).pixel(158, 11), kGreen);
    // A full repaint (here a zoom command) erases it.
    view.FullRepaint();
    EXPECT_EQ(viewState.cursorPosition, NoCursor);
}

TEST_F(MapRender, DraggingZoomsToTheRectangleAndTheScrollBarsFollow) {
    TTrackMapView view(ctx, lines);
    ShowMap(view);
    viewState.graph.repaintPending = false;
    // From track (1500, 100) to (1550, 80) at scale 0.1: capped at one pixel per unit.
    Click(view, QEvent::MouseButtonPress, {158, 8}, Qt::LeftButton);
    Click(view, QEvent::MouseButtonRelease, {163, 10}, Qt::NoButton);
    EXPECT_FALSE(viewState.graph.dragging);
    EXPECT_EQ(view.State().view.mapScale, 1.0);
    EXPECT_TRUE(view.CanZoomOut());
    EXPECT_EQ(view.horizontalScrollBar()->value(), view.State().scroller.x);
    EXPECT_EQ(view.horizontalScrollBar()->maximum(), view.State().scroller.rangeX);
    EXPECT_EQ(view.State().scroller.x, 94);  // trunc((1500 + 8) / 16)
    view.FullSize();
    EXPECT_EQ(view.State().view.mapScale, 0.1);
    EXPECT_EQ(view.horizontalScrollBar()->value(), 0);
    EXPECT_FALSE(view.CanFullSize());
}

// The readout reports feet, the cursor keeps track units: on a track of 6 inches a unit,
// the point at track (1500, 70) is 750 ft along and 35 ft across, and the cursor 1500.
TEST_F(MapRender, TheReadoutGivesFeetAndTheCursorTrackUnits) {
    Track().inchesPerUnit = 6;
    TTrackMapView view(ctx, lines);
    ShowMap(view);
    QString status;
    QObject::connect(&view, &TTrackMapView::statusText,
                     [&status](const QString& s) { status = s; });
    Grab(view);  // the full repaint that entering the map asked for
    Move(view, {158, 11});
    EXPECT_EQ(viewState.cursorPosition, 1500);
    EXPECT_EQ(status, QStringLiteral("Length =   750.0 ft, Line =    35.0)"));
    // Track (4170, 20): the column's x truncates to 4170 and the row's y to 20.
    Move(view, {425, 16});
    EXPECT_EQ(viewState.cursorPosition, 4170);
    EXPECT_EQ(status, QStringLiteral("Length =  2085.0 ft, Line =    10.0)"));
}

class PipRender : public MapRender {};

TEST_F(PipRender, HalfScaleGraphWithItsCursorWhileTheMainWindowShowsTheMap) {
    AddLap(MakeLapThrough(Steps(0, 10000, 100), kBlue));
    doc.SetAxes({TelemetryChannel::Position, TelemetryChannel::Speed, TelemetryChannel::None});
    viewState.graph.viewRange = {{0, 10000}, {0, 1}, {-0.01, 0.01}};
    viewState.viewMode = ViewMap;
    viewState.side.pipShown = true;
    viewState.cursorPosition = 2500;
    TPipWindow pip(ctx, lines);
    SizeClient(pip, 240, 160);
    pip.show();
    pip.RepaintRequest();
    const QImage img = Grab(pip);
    // x = trunc((240 - 40) * 0.25 + 30) = 80, from y = 20 to 139 (the end is not drawn).
    EXPECT_EQ(img.pixel(80, 20), kGreen);
    EXPECT_EQ(img.pixel(80, 70), kGreen);
    EXPECT_EQ(img.pixel(80, 139), kGreen);
    EXPECT_NE(img.pixel(80, 140), kGreen);
    EXPECT_NE(img.pixel(80, 19), kGreen);

    // Pointing into the plot moves the shared cursor: x 130 is 5000 feet.
    int32_t moved = 0;
    QObject::connect(&pip, &TPipWindow::cursorChanged, [&moved](int32_t p) { moved = p; });
    QMouseEvent e(QEvent::MouseMove, QPointF(130, 50),
                  pip.viewport()->mapToGlobal(QPointF(130, 50)), Qt::NoButton, Qt::NoButton,
                  Qt::NoModifier);
    QApplication::sendEvent(pip.viewport(), &e);
    EXPECT_EQ(viewState.cursorPosition, 5000);
    EXPECT_EQ(moved, 5000);
}

TEST_F(PipRender, PointingIntoItsMapMovesTheSharedCursorToThePointsPosition) {
    AddLap(MakeLapThrough(Steps(0, 10000, 100), kBlue));
    viewState.viewMode = ViewGraph;  // so the picture-in-picture window shows the map
    viewState.side.pipShown = true;
    TPipWindow pip(ctx, lines);
    SizeClient(pip, 1016, 116);
    pip.show();
    TMapNavigation none;
    pip.ShowMapInPip(0, none, QSize(1016, 116));
    ASSERT_EQ(pip.State().view.mapScale, 0.1);
    std::vector<int32_t> moved;
    std::vector<std::pair<double, TelemetryChannel>> shown;
    QObject::connect(&pip, &TPipWindow::cursorChanged, [&moved](int32_t p) { moved.push_back(p); });
    QObject::connect(&pip, &TPipWindow::showLapValues,
                     [&shown](double x, TelemetryChannel c) { shown.emplace_back(x, c); });
    auto point = [&pip](QPoint at) {
        QMouseEvent e(QEvent::MouseMove, QPointF(at), pip.viewport()->mapToGlobal(QPointF(at)),
                      Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(pip.viewport(), &e);
    };
    Grab(pip);  // the full repaint that showing the map asked for
    // Column 358, row 13: track (3500, 50), 3500 ft along the track.
    point({358, 13});
    EXPECT_EQ(viewState.cursorPosition, 3500);
    ASSERT_FALSE(moved.empty());
    EXPECT_EQ(moved.back(), 3500);
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back().second, TelemetryChannel::Position);
    // Its cursor mark is drawn across the track there, in green.
    const QImage img = Grab(pip);
    EXPECT_EQ(img.pixel(358, 10), kGreen);
    EXPECT_EQ(img.pixel(358, 16), kGreen);
    // Off the track: no cursor.
    point({358, 60});
    EXPECT_EQ(viewState.cursorPosition, NoCursor);
}

TEST_F(PipRender, ShowsTheWholeMapWhenOpenedAndTheMainWindowsRegionWhenItLeavesTheMap) {
    viewState.viewMode = ViewGraph;
    viewState.side.pipShown = true;
    TPipWindow pip(ctx, lines);
    SizeClient(pip, 1016, 116);
    pip.show();
    TMapNavigation none;
    pip.ShowMapInPip(0, none, QSize(1016, 116));
    EXPECT_EQ(pip.State().view.mapScale, 0.1);
    EXPECT_EQ(Grab(pip).pixel(8, 8), kBlack);

    TMapNavigation main;
    MapEnter(main, 1016, 116, {10000, 100});
    ASSERT_TRUE(MapZoomToRect(main, 1016, 116, {10000, 100}, {158, 8}, {163, 10}));
    pip.ShowMapInPip(main.view.mapScale, main, QSize(2032, 232));  // half the size
    EXPECT_EQ(pip.State().view.mapScale, 0.5);
    EXPECT_EQ(pip.horizontalScrollBar()->value(), pip.State().scroller.x);
    EXPECT_EQ(pip.State().scroller.x, 47);  // trunc((1500 + 8) * 0.5 / 16)
}

}  // namespace
