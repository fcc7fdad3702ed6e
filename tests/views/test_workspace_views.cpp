// The reading aids beyond the single graph: the cursor line without the picture-in-picture
// window, corner names that move up a row instead of overlapping, each lap's dot on the map
// at the cursor, and the G-G plot.
#include <QMouseEvent>

#include "views/GraphTestSupport.h"
#include "views/MapTestSupport.h"
#include "views/graph/GraphRanges.h"
#include "views/map/MapLapDots.h"
#include "views/windows/GGPlot.h"

namespace {

void MoveTo(QWidget& w, int x, int y) {
    const QPointF at(x, y);
    QMouseEvent e(QEvent::MouseMove, at, w.mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                  Qt::NoModifier);
    QApplication::sendEvent(&w, &e);
}

using WorkspaceGraph = TGraphRenderTest;

TEST_F(WorkspaceGraph, CursorLineFollowsThePointerOnlyWhenChosen) {
    AddLap(MakeLinearLap(1000, 0, 10, kLapA));
    TGraphView view(ctx);
    Prepare(view, 1000, 500);
    Render(view);
    MoveTo(view, 520, 300);
    EXPECT_EQ(viewState.cursorPosition, NoCursor);  // the Part's way: no PiP, no line
    viewState.graph.cursorLineShown = true;
    MoveTo(view, 521, 300);
    MoveTo(view, 520, 300);
    // Column 520 is 5000 ft of 0 to 10000, and a foot is a unit on the test track.
    EXPECT_EQ(viewState.cursorPosition, 5000);
    const QImage img = Render(view);
    EXPECT_EQ(img.pixel(520, 45), kGreen);
    EXPECT_EQ(img.pixel(520, 455), kGreen);
}

TEST_F(WorkspaceGraph, ACornerNameThatWouldOverlapItsNeighbourMovesUpARow) {
    AddLap(MakeLinearLap(1000, 0, 10, kLapA));
    viewState.cornersShown = true;
    TGraphView view(ctx);
    auto black = [](QRgb c) { return c == kBlack; };
    // "Bend" at 7500 ft is far from "Hook": both in the row above the marks (rows 18 to 32).
    QImage img = RenderAt(view, 1000, 500);
    const int bend = 60 + static_cast<int>(7500 * 920 / 10000.0);
    EXPECT_GT(CountIn(img, QRect(bend - 20, 19, 40, 13), black), 0);
    EXPECT_EQ(CountIn(img, QRect(0, 0, 1000, 17), black), 0);
    // 40 ft after "Hook" it would overlap it: it goes up to the second row.
    tracks.Clear();
    auto t = MakeTestTrack(true);
    t->cornerPositions = {2500, 2540};
    doc.SetCurrentTrack(tracks.Insert(std::move(t)));
    view.FullRepaint();
    img = Render(view);
    const int hook = 60 + static_cast<int>(2500 * 920 / 10000.0);
    EXPECT_GT(CountIn(img, QRect(hook - 30, 0, 64, 17), black), 0);
    EXPECT_GT(CountIn(img, QRect(hook - 20, 19, 30, 13), black), 0);
}

TEST(MapLapDots, EachShownLapCoveringTheCursorAtItsOwnLine) {
    TTrackList tracks;
    const TTrackData* track = &tracks.At(tracks.Insert(MakeStraightTrack()));
    TLapList laps;
    laps.Add(MakeLapThrough(Steps(0, 9000, 90), Rgb{200, 0, 100}));
    laps.Add(MakeLapThrough(Steps(0, 9000, 90), Rgb{0, 0, 255}, 30));
    laps.Add(MakeLapThrough(Steps(0, 4000, 40), Rgb{0, 128, 0}));  // ends before the cursor
    auto hidden = MakeLapThrough(Steps(0, 9000, 90), Rgb{9, 9, 9});
    hidden->serial = 77;
    laps.Add(std::move(hidden));
    const std::vector<int32_t> hiddenLaps = {77};
    TMapScene scene;
    scene.track = track;
    scene.laps = &laps;
    scene.hiddenLaps = &hiddenLaps;
    const MapView view{0, 100, 0.1};
    const std::vector<TMapLapDot> dots = MapLapDots(scene, view, {0, 0}, 5000);
    ASSERT_EQ(dots.size(), 2u);
    // The middle of the track (y = 50) at x 5000: canvas (500, 5); 30 ft across is 3 pixels.
    EXPECT_EQ(dots[0].at.x, 500);
    EXPECT_EQ(dots[0].at.y, 5);
    EXPECT_EQ(dots[0].colour, qRgb(200, 0, 100));
    EXPECT_EQ(dots[1].at.x, 500);
    EXPECT_EQ(std::abs(dots[1].at.y - 5), 3);
    EXPECT_TRUE(MapLapDots(scene, view, {0, 0}, NoCursor).empty());
}

TEST_F(WorkspaceGraph, GGPlotMarksTheCursorAndFollowsTheShownStretch) {
    AddLap(MakeLinearLap(1000, 0, 10, kLapA));  // steady on a straight: no force at all
    ResetGraphRanges(doc, viewState);
    TGGPoints points;
    const std::vector<TGGLapPoints>& p = points.For(doc.laps());
    ASSERT_EQ(p.size(), 1u);
    EXPECT_EQ(p[0].time.size(), 1000u);
    EXPECT_EQ(GGRadius(p, ctx), 1.0);
    // 300 x 300 leaves a square of 244 from (28, 28): its centre is (149, 149).
    viewState.cursorPosition = 5000;
    const std::vector<TGGCursorPoint> marks = GGCursorPoints(p, ctx, QSize(300, 300));
    ASSERT_EQ(marks.size(), 1u);
    EXPECT_EQ(marks[0].at, QPoint(149, 149));
    QImage img(300, 300, QImage::Format_RGB32);
    RenderGGPlot(img, p, ctx);
    EXPECT_EQ(img.pixel(149, 149), Of(kLapA));
    // A shown x range beyond the lap leaves nothing of it to plot.
    viewState.graph.viewRange.x = {20000, 30000};
    RenderGGPlot(img, p, ctx);
    EXPECT_EQ(CountIn(img, img.rect(), [](QRgb c) { return c == Of(kLapA); }), 0);
    // The points are kept while the lap stays.
    EXPECT_EQ(&points.For(doc.laps()), &p);
    EXPECT_EQ(points.For(doc.laps())[0].time.data(), p[0].time.data());
}

}  // namespace
