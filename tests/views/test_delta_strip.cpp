// The time delta strip: nothing of the graph changes while it is off; while it is on, the
// graph lays out in the rows above it and the strip shows its frame, zero line and each
// lap's delta where the geometry puts them; the hover readout adds the deltas.
#include <gtest/gtest.h>

#include <QMenu>
#include <QMouseEvent>

#include "commands/CommandIds.h"
#include "views/GraphTestSupport.h"
#include "views/graph/DeltaStrip.h"
#include "views/graph/TGraphView.h"

namespace {

// x on Position, y on Time. Ann: 0 to 6100 feet at 100 feet a frame (a partial lap); Bo:
// the whole 10000 feet at 80 feet a frame. With Ann as the reference, Bo's delta at x feet
// is x / 1200 - x / 1500 = x / 6000 seconds, up to 6100 feet.
class DeltaStripTest : public TGraphRenderTest {
  protected:
    void SetUp() override {
        TGraphRenderTest::SetUp();
        auto a = MakeLinearLap(62, 0, 100, kLapA);
        a->SetDriverName("Ann");
        annSerial = a->serial;
        AddLap(std::move(a));
        auto b = MakeLinearLap(126, 0, 80, kLapB);
        b->SetDriverName("Bo");
        AddLap(std::move(b));
        viewState.analysis.referenceSerial = annSerial;
    }
    int32_t annSerial = -1;
};

TEST_F(DeltaStripTest, OffOrOnTimeTheGraphIsPixelForPixelAsWithoutIt) {
    TGraphView view(ctx);
    view.ResetRanges();
    view.resize(1000, 800);
    const int dpi = view.logicalDpiY();
    QImage plain(1000, 800, QImage::Format_RGB32);
    RenderGraph(plain, ctx, 1, TAxisKind::None, dpi);
    EXPECT_EQ(RenderAt(view, 1000, 800), plain);
    EXPECT_EQ(view.StripHeight(), 0);

    viewState.analysis.deltaShown = true;
    SetAxis(doc, &TAxes::x, TelemetryChannel::Time);
    view.ResetRanges();
    view.FullRepaint();
    RenderGraph(plain, ctx, 1, TAxisKind::None, dpi);
    EXPECT_EQ(RenderAt(view, 1000, 800), plain);
    EXPECT_EQ(view.StripHeight(), 0);
}

TEST_F(DeltaStripTest, StripUnderTheGraphWithZeroLineAndCurvePoint) {
    viewState.analysis.deltaShown = true;
    TGraphView view(ctx);
    const QImage img = RenderAt(view, 1000, 800);
    // A quarter of 800 rows: the graph keeps 600 and is drawn as in a window that high.
    ASSERT_EQ(view.StripHeight(), 200);
    QImage graph(1000, 600, QImage::Format_RGB32);
    RenderGraph(graph, ctx, 1, TAxisKind::None, view.logicalDpiY());
    EXPECT_EQ(img.copy(0, 0, 1000, 600), graph);

    // The strip's frame: columns 60 and 980 (the graph's), rows 610 and 780.
    for (QPoint p : {QPoint(60, 610), QPoint(980, 610), QPoint(60, 780), QPoint(980, 780),
                     QPoint(60, 700), QPoint(500, 780)})
        EXPECT_EQ(img.pixel(p), kBlack) << p.x() << "," << p.y();
    // The scale: Bo's largest delta in the 920 columns is at column 561 (6097.8 feet),
    // 1.01630 s, the smallest Ann's 0; with 5 % of that span more at either end the strip
    // runs from -0.05082 to 1.06712 s over rows 780 up to 610. Zero: row
    // trunc(1.06712 / 1.11793 * 170 + 610) = 772. Past 6100 feet no lap has a delta and the
    // grey zero line shows; before it, the reference lap lies on it.
    EXPECT_EQ(img.pixel(60 + 700, 772), kGrey);
    EXPECT_EQ(img.pixel(60 + 276, 772), Of(kLapA));
    // Column 276 is 3000 feet, where Bo is 0.5 s behind: row
    // trunc(0.56712 / 1.11793 * 170 + 610) = 696.
    EXPECT_EQ(img.pixel(60 + 276, 696), Of(kLapB));

    // Too short a window leaves no room: the graph takes it all again.
    view.resize(1000, 300);
    EXPECT_EQ(view.StripHeight(), 0);
}

// Zoomed to 3000..6000 feet, from the left edge: Bo's x / 6000 s less its 0.5 s at 3000
// feet; at column 230 (3750 feet) 0.125 s on a scale of -0.025 .. 0.525 s, row
// trunc(0.4 / 0.55 * 170 + 610) = 733. As a rate: Bo loses 100 / 80 / 15 - 100 / 100 / 15 =
// 1/60 s per 100 feet everywhere; the span 0 .. 0.0175 is widened to 0.02, -0.00167 ..
// 0.01833, so Bo lies on row trunc(0.00167 / 0.02 * 170 + 610) = 624 and Ann on zero, 765.
TEST_F(DeltaStripTest, FromTheLeftEdgeStartsAtZeroAndTheRatePeaksWhereTimeGoes) {
    viewState.analysis.deltaShown = true;
    viewState.analysis.deltaMode = TDeltaMode::FromLeftEdge;
    TGraphView view(ctx);
    Prepare(view, 1000, 800);
    viewState.graph.viewRange.x = {3000, 6000};
    view.FullRepaint();
    QImage img = Render(view);
    EXPECT_EQ(img.pixel(60 + 230, 733), Of(kLapB));
    EXPECT_EQ(img.pixel(60 + 230, 772), Of(kLapA));  // the reference on zero
    EXPECT_EQ(img.pixel(60 + 1, 772), Of(kLapB));    // both start on zero

    // Through the strip's own command, as its menu runs it.
    EXPECT_TRUE(view.RunCommand(cmd::DeltaRate));
    EXPECT_EQ(viewState.analysis.deltaMode, TDeltaMode::Rate);
    img = RenderAt(view, 1000, 800);
    for (int column : {10, 276, 550}) {
        EXPECT_EQ(img.pixel(60 + column, 624), Of(kLapB)) << column;
        EXPECT_EQ(img.pixel(60 + column, 765), Of(kLapA)) << column;
    }

    // The strip's right-click menu offers the three, the current one checked.
    QMenu menu;
    view.FillDeltaStripMenu(menu);
    ASSERT_EQ(menu.actions().size(), 3);
    EXPECT_EQ(menu.actions()[0]->text(), QStringLiteral("Running delta"));
    EXPECT_EQ(menu.actions()[1]->text(), QStringLiteral("Delta from the left edge"));
    EXPECT_EQ(menu.actions()[2]->text(), QStringLiteral("Delta rate"));
    EXPECT_TRUE(menu.actions()[2]->isChecked());
    EXPECT_FALSE(menu.actions()[0]->isChecked());
}

TEST_F(DeltaStripTest, HoverReadoutAddsEachLapsDeltaWhereItHasOne) {
    EXPECT_EQ(DeltaReadout(doc, TViewState{}, 0, 3000),
              QStringLiteral(", Delta: Ann +0.000, Bo +0.500"));
    EXPECT_EQ(DeltaReadout(doc, TViewState{}, 0, 8000), QString());  // Ann does not reach 8000 feet
    EXPECT_EQ(DeltaReadout(doc, TViewState{}, 1, 8000), QStringLiteral(", Delta: Bo +0.000"));
    TViewState boHidden;
    boHidden.hiddenLaps.push_back(doc.laps().At(1).serial);
    EXPECT_EQ(DeltaReadout(doc, boHidden, 0, 3000), QStringLiteral(", Delta: Ann +0.000"));

    viewState.analysis.deltaShown = true;
    TGraphView view(ctx);
    QString status;
    QObject::connect(&view, &TGraphView::statusText, [&](const QString& s) { status = s; });
    auto move = [&](int x, int y) {
        const QPointF local(x, y);
        QMouseEvent e(QEvent::MouseMove, local, view.mapToGlobal(local), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(&view, &e);
    };
    RenderAt(view, 1000, 800);
    move(336, 300);  // column 276 of the plot: 3000 feet
    EXPECT_TRUE(status.startsWith(QStringLiteral("Position = 3000.00, Time = ")));
    EXPECT_TRUE(status.endsWith(QStringLiteral(", Delta: Ann +0.000, Bo +0.500")))
        << status.toStdString();
    move(336, 700);  // the same column over the strip
    EXPECT_EQ(status, QStringLiteral("Position = 3000.00, Delta: Ann +0.000, Bo +0.500"));

    viewState.analysis.deltaShown = false;
    view.FullRepaint();
    RenderAt(view, 1000, 800);
    move(336, 300);
    EXPECT_EQ(status.indexOf(QStringLiteral("Delta")), -1) << status.toStdString();
}

}  // namespace
