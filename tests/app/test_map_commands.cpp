// The map's commands through the real main window on the sample document (the road course,
// three laps): Map and Graph keep the zoom, the picture-in-picture window follows the view
// and the cursor, the corner marks and the graph's cursor line become reachable, the speed
// comparison follows the laps, and clearing the document puts everything back.
#include <QAction>
#include <QImage>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStackedLayout>

#include "AppFixture.h"
#include "app/MapWindows.h"
#include "commands/CommandIds.h"
#include "commands/DocumentCommands.h"
#include "commands/LapAnalysisCommands.h"
#include "track/TrackList.h"
#include "views/graph/TGraphView.h"
#include "views/map/MapMarkers.h"
#include "views/map/TTrackMapView.h"
#include "views/windows/TPipWindow.h"

using namespace app_test;

namespace {

const QRgb kGreen = qRgb(0, 192, 0);

class MapCommands : public AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        NotFirstRun();
        ASSERT_TRUE(Start());
        frame().resize(900, 700);
        frame().show();
        window().OpenStartupDocument(Sample());
        ASSERT_EQ(window().doc().laps().Count(), 3);
        Settle();
    }
    static void Settle() {
        for (int i = 0; i < 3; ++i) QApplication::processEvents();
    }
    bool Enabled(int id) { return window().CommandEnabling(id).enabled; }
    bool Checked(int id) { return window().CommandEnabling(id).checked; }
    void Run(int id) {
        frame().Dispatch(id);
        Settle();
    }
    TTrackMapView& Map() { return *window().maps().map(); }
    TPipWindow& Pip() { return *window().maps().pip(); }
    TGraphView& Graph() { return *window().graph(); }
    static void MoveOver(QWidget* w, QPoint at, Qt::MouseButton button = Qt::NoButton,
                         QEvent::Type type = QEvent::MouseMove) {
        QMouseEvent e(type, QPointF(at), w->mapToGlobal(QPointF(at)), button,
                      type == QEvent::MouseButtonPress ? button : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
    static QImage Grab(QWidget* w) {
        return w->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    static int GreenPixels(const QImage& img, QRect r) {
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (img.pixel(x, y) == kGreen) ++n;
        return n;
    }
};

TEST_F(MapCommands, MapAndGraphSwitchViewsAndKeepTheZoomAndScroll) {
    EXPECT_TRUE(Enabled(cmd::Map));
    EXPECT_FALSE(Checked(cmd::Map));
    Run(cmd::Map);
    EXPECT_TRUE(Checked(cmd::Map));
    EXPECT_FALSE(Checked(cmd::Graph));
    EXPECT_TRUE(Map().isVisible());
    EXPECT_FALSE(Graph().isVisible());
    const double full = Map().State().fullMapScale;
    EXPECT_GT(full, 0);
    EXPECT_FALSE(Enabled(cmd::ZoomOut));
    EXPECT_FALSE(Enabled(cmd::FullSize));

    // A drag over a part of the track zooms in.
    QWidget* vp = Map().viewport();
    MoveOver(vp, {100, 100}, Qt::LeftButton, QEvent::MouseButtonPress);
    MoveOver(vp, {220, 180});
    MoveOver(vp, {220, 180}, Qt::LeftButton, QEvent::MouseButtonRelease);
    const double zoomed = Map().State().view.mapScale;
    EXPECT_GT(zoomed, full);
    EXPECT_TRUE(Enabled(cmd::ZoomOut));
    Map().horizontalScrollBar()->setValue(3);
    const TMapScroller before = Map().State().scroller;

    Run(cmd::Graph);
    EXPECT_TRUE(Graph().isVisible());
    EXPECT_FALSE(Enabled(cmd::ZoomOut));  // the graph is not zoomed
    Run(cmd::Map);
    EXPECT_EQ(Map().State().view.mapScale, zoomed);
    EXPECT_EQ(Map().State().scroller.x, before.x);
    EXPECT_EQ(Map().State().scroller.y, before.y);
    EXPECT_EQ(Map().horizontalScrollBar()->value(), before.x);

    Run(cmd::ZoomOut);
    EXPECT_LT(Map().State().view.mapScale, zoomed);
    Run(cmd::FullSize);
    EXPECT_EQ(Map().State().view.mapScale, full);
}

TEST_F(MapCommands, PointingAtTheTrackShowsTheReadoutAndMovesThePipCursor) {
    Run(cmd::PictureInPicture);
    EXPECT_TRUE(Pip().isVisible());
    EXPECT_EQ(Pip().windowTitle(), QStringLiteral("PiP"));
    Run(cmd::Map);
    EXPECT_EQ(Pip().State().scroller.rangeX, 1);  // it shows the graph now
    // The start/finish line's middle is on the track.
    const TTrackData& t = window().tracks().At(window().doc().currentTrack());
    const TPixel r = CanvasPoint(Map().State().view, t.edgeX[0][5], t.edgeY[0][5]);
    const TPixel o = CanvasPoint(Map().State().view, t.edgeX[1][5], t.edgeY[1][5]);
    MoveOver(Map().viewport(), {(r.x + o.x) / 2, (r.y + o.y) / 2});
    EXPECT_NE(window().view().cursorPosition, NoCursor);
    EXPECT_TRUE(window().statusText().startsWith(QStringLiteral("Length = ")));
    EXPECT_TRUE(window().statusText().endsWith(QStringLiteral(")")));
    // The picture-in-picture graph shows the cursor line at the same position.
    const QImage pip = Grab(Pip().viewport());
    EXPECT_GT(GreenPixels(pip, QRect(30, 25, pip.width() - 40, pip.height() - 50)), 10);

    // Off the track: no cursor, no readout.
    MoveOver(Map().viewport(), {2, 2});
    EXPECT_EQ(window().view().cursorPosition, NoCursor);
    EXPECT_TRUE(window().statusText().isEmpty());
}

// Regression: after Ctrl+T the map stopped following the pointer (a repaint flag shared with
// the hidden graph), and its readout outlived the picture it described.
TEST_F(MapCommands, TheMapFollowsThePointerAfterAGraphCommandAndDropsAStaleReadout) {
    Run(cmd::Map);
    const TTrackData& t = window().tracks().At(window().doc().currentTrack());
    auto onTrack = [&](int k) {
        const TPixel r = CanvasPoint(Map().State().view, t.edgeX[0][k], t.edgeY[0][k]);
        const TPixel o = CanvasPoint(Map().State().view, t.edgeX[1][k], t.edgeY[1][k]);
        return QPoint((r.x + o.x) / 2, (r.y + o.y) / 2);
    };
    ASSERT_TRUE(Enabled(cmd::TimeDelta));
    Run(cmd::TimeDelta);
    MoveOver(Map().viewport(), onTrack(5));
    const int32_t first = window().view().cursorPosition;
    EXPECT_NE(first, NoCursor);
    EXPECT_TRUE(window().statusText().startsWith(QStringLiteral("Length = ")));
    MoveOver(Map().viewport(), onTrack(40));
    EXPECT_NE(window().view().cursorPosition, NoCursor);
    EXPECT_NE(window().view().cursorPosition, first);

    Run(cmd::Graph);
    EXPECT_TRUE(window().statusText().isEmpty()) << window().statusText().toStdString();
}

TEST_F(MapCommands, TheGraphsCursorLineShowsWhileThePipWindowIsOpen) {
    QWidget* g = &Graph();
    const QPoint over(g->width() / 2, g->height() / 2);
    MoveOver(g, over);
    EXPECT_EQ(window().view().cursorPosition, NoCursor);
    Run(cmd::PictureInPicture);
    MoveOver(g, over);
    ASSERT_NE(window().view().cursorPosition, NoCursor);
    const QImage img = Grab(g);
    EXPECT_GT(GreenPixels(img, QRect(over.x() - 1, 40, 3, img.height() - 80)), img.height() / 2);
    // Closing the window takes the cursor away from both.
    Run(cmd::PictureInPicture);
    EXPECT_FALSE(Pip().isVisible());
    EXPECT_EQ(window().view().cursorPosition, NoCursor);
}

TEST_F(MapCommands, CornersDrawTheirMarksOnTheGraphOrSayTheTrackHasNone) {
    EXPECT_TRUE(Enabled(cmd::Corners));
    QImage before = Grab(&Graph());
    EXPECT_EQ(GreenPixels(before, QRect(0, 0, before.width(), 40)), 0);
    Run(cmd::Corners);
    EXPECT_TRUE(Checked(cmd::Corners));
    const QImage after = Grab(&Graph());
    EXPECT_GT(GreenPixels(after, QRect(0, 0, after.width(), 40)), 12 * 10);
    Run(cmd::Corners);
    EXPECT_FALSE(Checked(cmd::Corners));

    // In map mode only with the picture-in-picture window open.
    Run(cmd::Map);
    EXPECT_FALSE(Enabled(cmd::Corners));
    Run(cmd::PictureInPicture);
    EXPECT_TRUE(Enabled(cmd::Corners));
    Run(cmd::Graph);

    TTrackData& t = window().tracks().At(window().doc().currentTrack());
    t.cornerCount = 0;
    Run(cmd::Corners);
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back().title, "Show Corners");
    EXPECT_EQ(messages.back().text, "Kestrel Ridge Circuit currently has no corner information");
    EXPECT_EQ(messages.back().icon, TMsgIcon::Information);
    EXPECT_FALSE(Checked(cmd::Corners));
}

TEST_F(MapCommands, SpeedComparisonNeedsTwoLapsAndGoesOffWhenOneIsRemoved) {
    // Three laps: the reference (the fastest) against the fastest other, or the lap selected
    // in the lap list.
    ASSERT_TRUE(Enabled(cmd::SpeedComparison));
    Run(cmd::Map);
    Run(cmd::SpeedComparison);
    EXPECT_TRUE(Checked(cmd::SpeedComparison));
    const std::vector<uint8_t>& w = window().view().map.segmentWinner;
    const TComparedLaps three = ComparedLaps(window().context());
    ASSERT_GE(three.first, 0);
    ASSERT_GE(three.second, 0);
    EXPECT_NE(three.first, three.second);
    const TTrackData& t = window().tracks().At(window().doc().currentTrack());
    EXPECT_EQ(w, SegmentWinners(t, window().doc().laps().At(three.first),
                                window().doc().laps().At(three.second)));
    const int32_t other = 3 - three.first - three.second;  // the lap left out
    window().view().analysis.selectedSerial = window().doc().laps().At(other).serial;
    window().maps().ComparedLapsChanged();
    EXPECT_EQ(w, SegmentWinners(t, window().doc().laps().At(three.first),
                                window().doc().laps().At(other)));
    window().view().analysis.selectedSerial = -1;

    // Two laps: the first against the second, as always.
    window().doc().RemoveLap(2);
    AnnounceLapsChanged(window().context());
    ASSERT_TRUE(Checked(cmd::SpeedComparison));
    ASSERT_EQ(w.size(), 439u);
    EXPECT_EQ(w, SegmentWinners(t, window().doc().laps().At(0), window().doc().laps().At(1)));
    // Two complete laps: every segment has a winner.
    EXPECT_EQ(std::count(w.begin(), w.end(), 0), 0);
    window().doc().RemoveLap(1);
    AnnounceLapsChanged(window().context());
    EXPECT_FALSE(window().view().map.comparisonShown);
    EXPECT_FALSE(Checked(cmd::SpeedComparison));
}

TEST_F(MapCommands, OtherMarkersShowsTheExtraLines) {
    Run(cmd::Map);
    ASSERT_TRUE(Enabled(cmd::OtherMarkers));
    const TTrackData& t = window().tracks().At(window().doc().currentTrack());
    const Rgb c = Rgb::FromPacked(uint32_t(t.others[0]->colour));
    auto count = [&] {
        const QImage img = Grab(Map().viewport());
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (img.pixel(x, y) == qRgb(c.r, c.g, c.b)) ++n;
        return n;
    };
    EXPECT_EQ(count(), 0);
    Run(cmd::OtherMarkers);
    EXPECT_TRUE(Checked(cmd::OtherMarkers));
    EXPECT_GT(count(), 20);
}

TEST_F(MapCommands, LeavingTheMapHandsItsRegionToThePipAndClearingResetsEverything) {
    Run(cmd::Map);
    QWidget* vp = Map().viewport();
    MoveOver(vp, {100, 100}, Qt::LeftButton, QEvent::MouseButtonPress);
    MoveOver(vp, {300, 250}, Qt::LeftButton, QEvent::MouseButtonRelease);
    const double zoomed = Map().State().view.mapScale;
    Run(cmd::PictureInPicture);
    Run(cmd::Graph);
    const QSize main = Map().ClientSize(), small = Pip().ClientSize();
    const double ratio =
        std::min(double(small.height()) / main.height(), double(small.width()) / main.width());
    EXPECT_DOUBLE_EQ(Pip().State().view.mapScale, zoomed * ratio);
    // Regression: the resize Qt repeats on first showing scrolled the handed-over region away.
    // Handed over while the window is closed, kept when it opens.
    Run(cmd::PictureInPicture);
    Run(cmd::Map);
    Pip().State().scroller.ScrollTo(0, 0);
    Run(cmd::Graph);
    const TMapScroller handed = Pip().State().scroller;
    EXPECT_GT(handed.x + handed.y, 0);
    Run(cmd::PictureInPicture);
    EXPECT_DOUBLE_EQ(Pip().State().view.mapScale, zoomed * ratio);
    EXPECT_EQ(Pip().State().scroller.x, handed.x);
    EXPECT_EQ(Pip().State().scroller.y, handed.y);

    Run(cmd::Map);
    NewDocument(window().context());
    Settle();
    EXPECT_EQ(window().view().viewMode, ViewGraph);
    EXPECT_TRUE(Graph().isVisible());
    EXPECT_FALSE(Pip().isVisible());
    EXPECT_FALSE(window().view().side.pipShown);
    EXPECT_EQ(Map().State().view.mapScale, 0);
    EXPECT_FALSE(Enabled(cmd::Map));
    // Opening a document fits the whole map into the picture-in-picture window.
    window().OpenStartupDocument(Sample());
    const QSize s = Pip().ClientSize();
    EXPECT_DOUBLE_EQ(Pip().State().view.mapScale, FitScale(s.width(), s.height(), {111001, 79187}));
}

}  // namespace
