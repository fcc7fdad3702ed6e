// The graph rendered offscreen: pixels where the geometry puts the frame, the ticks, the
// labels, a known curve point, the zero line, corner marks and the highlighted title.
#include <gtest/gtest.h>

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <vector>

#include "views/GraphTestSupport.h"
#include "views/graph/GraphCurves.h"
#include "views/graph/GraphRanges.h"
#include "views/graph/TGraphView.h"

namespace {

// The laps of these tests: 101 samples, 100 units (= feet) apart: 0 to 10000 feet in 100
// frames, so t = feet / 1500.
class GraphRender : public TGraphRenderTest {};

TEST_F(GraphRender, FrameAndInwardTicks) {
    AddLap(MakeLinearLap(101, 0, 100, kLapA));
    TGraphView view(ctx);
    Prepare(view, 800, 600);
    const QImage img = Render(view);
    ASSERT_EQ(img.size(), QSize(800, 600));
    for (QPoint p : {QPoint(60, 40), QPoint(780, 40), QPoint(60, 560), QPoint(780, 560),
                     QPoint(420, 40), QPoint(60, 200), QPoint(780, 300), QPoint(500, 560)})
        EXPECT_EQ(img.pixel(p), kBlack) << p.x() << "," << p.y();
    EXPECT_EQ(img.pixel(61, 41), kWhite);
    // Ticks at 0.25 left + 0.75 right = 600, and at 0.75/0.25 = 240, five pixels long.
    for (int tx : {240, 420, 600}) {
        for (int k = 1; k <= 4; ++k) {
            EXPECT_EQ(img.pixel(tx, 40 + k), kBlack) << tx;
            EXPECT_EQ(img.pixel(tx, 560 - k), kBlack) << tx;
        }
        EXPECT_EQ(img.pixel(tx, 45), kWhite) << tx;
        EXPECT_NE(img.pixel(tx + 1, 41), kBlack);
    }
    for (int ty : {170, 300, 430}) {
        for (int k = 1; k <= 4; ++k) EXPECT_EQ(img.pixel(780 - k, ty), kBlack) << ty;
        EXPECT_EQ(img.pixel(775, ty), kWhite) << ty;
    }
    EXPECT_EQ(img.pixel(64, 170), kBlack);
    EXPECT_EQ(img.pixel(65, 170), kWhite);
}

TEST_F(GraphRender, KnownCurvePointAndZeroLine) {
    AddLap(MakeLinearLap(101, 0, 100, kLapA));
    TGraphView view(ctx);
    Prepare(view, 800, 600);
    // y range: 0 .. 6.667 s with 5 % margins = -1/3 .. 7.
    ASSERT_NEAR(viewState.graph.viewRange.y.min, -1.0 / 3, 1e-9);
    ASSERT_NEAR(viewState.graph.viewRange.y.max, 7.0, 1e-9);
    const QImage img = Render(view);
    // Column 240 is 2500 ft, t = 5/3 s: row trunc((1 - 2/7.333) * 520 + 40) = 418.
    EXPECT_EQ(img.pixel(240, 418), Of(kLapA));
    // Column 600 is 7500 ft, t = 5 s: row trunc((1 - 5.333/7.333) * 520 + 40) = 181.
    EXPECT_EQ(img.pixel(600, 181), Of(kLapA));
    // The zero line: row trunc((1 - 0.333/7.333) * 520 + 40) = 536, grey to the column
    // before the right edge, which stays black.
    EXPECT_EQ(img.pixel(700, 536), kGrey);
    EXPECT_EQ(img.pixel(779, 536), kGrey);
    EXPECT_EQ(img.pixel(780, 536), kBlack);
    // Curve pixels stay inside the plot.
    EXPECT_EQ(CountIn(img, QRect(0, 0, 800, 40), [](QRgb p) { return p == Of(kLapA); }), 0);
    EXPECT_EQ(CountIn(img, QRect(0, 561, 800, 39), [](QRgb p) { return p == Of(kLapA); }), 0);
}

TEST_F(GraphRender, WithoutTrackNoLabelsAndNoZeroLine) {
    AddLap(MakeLinearLap(101, 0, 100, kLapA));
    TGraphView view(ctx);
    Prepare(view, 800, 600);
    const QRect yLabel(2, 40, 50, 14);
    auto dark = [](QRgb p) { return qGray(p) < 128; };
    const QImage with = Render(view);
    EXPECT_GT(CountIn(with, yLabel, dark), 10);
    // The last x label ends at the plot's right edge ("10000.00" is wider than 7 places);
    // the middle one is left out for the title.
    EXPECT_GT(CountIn(with, QRect(720, 564, 60, 14), dark), 10);
    EXPECT_EQ(CountIn(with, QRect(781, 564, 19, 14), dark), 0);
    EXPECT_GT(CountIn(with, QRect(60, 564, 60, 14), dark), 10);  // "0.00   "

    doc.SetCurrentTrack(-1);
    view.FullRepaint();
    const QImage without = Render(view);
    EXPECT_EQ(CountIn(without, yLabel, dark), 0);
    EXPECT_EQ(without.pixel(700, 536), kWhite);
    // The frame and the titles are still there.
    EXPECT_EQ(without.pixel(60, 40), kBlack);
    EXPECT_GT(CountIn(without, QRect(300, 564, 200, 36), dark), 10);
}

TEST_F(GraphRender, ZeroLineAtAQuarterWithSecondAxis) {
    AddLap(MakeLinearLap(101, 0, 100, kLapA));
    TGraphView view(ctx);
    SetAxis(doc, &TAxes::y2, TelemetryChannel::Position);
    Prepare(view, 840, 600);
    viewState.graph.viewRange.y.min = viewState.graph.fullRange.y.min = -1;
    viewState.graph.viewRange.y.max = viewState.graph.fullRange.y.max = 1;
    view.FullRepaint();
    const QImage img = Render(view);
    EXPECT_EQ(img.pixel(700, 170), kGrey);
    EXPECT_NE(img.pixel(700, 300), kGrey);
}

TEST_F(GraphRender, SecondAxisCurvesInTheLowerHalf) {
    AddLap(MakeLinearLap(101, 0, 100, kLapA));
    TGraphView view(ctx);
    SetAxis(doc, &TAxes::y2,
            TelemetryChannel::Position);  // position: 0 .. 10000 ft, shown as -500 .. 10500
    Prepare(view, 840, 600);              // plot width stays 720
    const QImage img = Render(view);
    // Column 240 = 2500 ft: time row trunc(0.7273 * 260 + 40) = 229 in the upper half,
    // position row trunc((1 - 0.5 * 0.2727) * 520 + 40) = 489 in the lower half.
    EXPECT_EQ(img.pixel(240, 229), Of(kLapA));
    EXPECT_EQ(img.pixel(240, 489), Of(kLapA));
    for (int x = 61; x < 780; ++x) {
        const QImage column = img.copy(x, 0, 1, 600);
        EXPECT_EQ(CountIn(column, QRect(0, 0, 1, 40), [](QRgb p) { return p == Of(kLapA); }), 0);
    }
    // Second-axis labels and title sit in the right margin.
    auto dark = [](QRgb p) { return qGray(p) < 128; };
    EXPECT_GT(CountIn(img, QRect(785, 40, 55, 520), dark), 20);
}

TEST_F(GraphRender, NoSecondAxisLeavesTheRightMarginEmpty) {
    AddLap(MakeLinearLap(101, 0, 100, kLapA));
    TGraphView view(ctx);
    Prepare(view, 800, 600);
    const QImage img = Render(view);
    auto dark = [](QRgb p) { return qGray(p) < 128; };
    EXPECT_EQ(CountIn(img, QRect(781, 0, 19, 600), dark), 0);
}

TEST_F(GraphRender, OutOfRangeValuesLiftThePen) {
    // The line is 1000 ft off for samples 30..60: shown range -1..1 breaks the curve there.
    auto lap = MakeLinearLap(101, 0, 100, kLapA);
    for (int k = 30; k <= 60; ++k) lap->lines[size_t(k)] = 1000;
    AddLap(std::move(lap));
    SetAxis(doc, &TAxes::y, TelemetryChannel::Line);
    TGraphView view(ctx);
    Prepare(view, 800, 600);
    viewState.graph.viewRange.y.min = -1;
    viewState.graph.viewRange.y.max = 1;
    view.FullRepaint();
    const QImage img = Render(view);
    const QRgb c = Of(kLapA);
    EXPECT_EQ(img.pixel(168, 300), c);             // 1500 ft, before the break
    EXPECT_FALSE(HasColourInColumn(img, 384, c));  // 4500 ft, off the line
    EXPECT_EQ(img.pixel(636, 300), c);             // 8000 ft, the curve resumes
    // No connecting line in any column of the break.
    for (int x = 270; x <= 490; ++x) EXPECT_FALSE(HasColourInColumn(img, x, c));
}

TEST_F(GraphRender, CoverageByPositionAndByTime) {
    // Position: a lap starting at 3000 ft begins its curve there.
    AddLap(MakeLinearLap(71, 3000, 100, kLapA));
    SetAxis(doc, &TAxes::y, TelemetryChannel::Speed);
    TGraphView view(ctx);
    Prepare(view, 800, 600);
    QImage img = Render(view);
    EXPECT_FALSE(HasColourInColumn(img, 200, Of(kLapA)));  // 1944 ft
    EXPECT_TRUE(HasColourInColumn(img, 300, Of(kLapA)));   // 3333 ft

    // Time: a lap shorter than the shown range ends at its duration, the longer goes on.
    RemoveAllLaps(doc);
    AddLap(MakeLinearLap(101, 0, 100, kLapA));  // 6.667 s
    AddLap(MakeLinearLap(51, 0, 100, kLapB));   // 3.333 s
    SetAxis(doc, &TAxes::x, TelemetryChannel::Time);
    SetAxis(doc, &TAxes::y, TelemetryChannel::Position);
    view.ResetRanges();
    view.FullRepaint();
    img = Render(view);
    EXPECT_TRUE(HasColourInColumn(img, 300, Of(kLapB)));   // 2.2 s
    EXPECT_FALSE(HasColourInColumn(img, 600, Of(kLapB)));  // 5 s
    EXPECT_TRUE(HasColourInColumn(img, 600, Of(kLapA)));
}

TEST_F(GraphRender, CornerMarksAboveThePlot) {
    AddLap(MakeLinearLap(101, 0, 100, kLapA));
    TGraphView view(ctx);
    Prepare(view, 800, 600);
    auto green = [](QRgb p) { return p == kGreen; };
    EXPECT_EQ(CountIn(Render(view), QRect(0, 0, 800, 40), green), 0);
    viewState.cornersShown = true;
    view.FullRepaint();
    const QImage img = Render(view);
    // "Hook" at 2500 ft is column 240 (or 239 by rounding): rows 36 down to 33.
    EXPECT_EQ(img.pixel(238, 33), kGreen);
    EXPECT_EQ(img.pixel(241, 33), kGreen);
    EXPECT_EQ(img.pixel(239, 36), kGreen);
    EXPECT_EQ(CountIn(img, QRect(230, 20, 20, 20), green), 20);  // 2 + 4 + 6 + 8
    auto dark = [](QRgb p) { return qGray(p) < 128; };
    EXPECT_GT(CountIn(img, QRect(215, 5, 50, 25), dark), 5);  // its name above

    // No corner marks on a time axis.
    SetAxis(doc, &TAxes::x, TelemetryChannel::Time);
    view.ResetRanges();
    view.FullRepaint();
    EXPECT_EQ(CountIn(Render(view), QRect(0, 0, 800, 40), green), 0);
}

// Regression: an empty x range still drew corner marks.
TEST_F(GraphRender, EmptyXRangeDrawsNoCornerMarksAndNoCurves) {
    AddLap(MakeLinearLap(101, 0, 100, kLapA));
    TGraphView view(ctx);
    Prepare(view, 800, 600);
    viewState.cornersShown = true;
    viewState.graph.viewRange.x.min = viewState.graph.viewRange.x.max = 2500;
    view.FullRepaint();
    const QImage img = Render(view);
    EXPECT_EQ(CountIn(img, QRect(0, 0, 800, 40), [](QRgb p) { return p == kGreen; }), 0);
    EXPECT_EQ(img.pixel(60, 40), kBlack);
}

TEST_F(GraphRender, EmptyDocumentDrawsFrameAndTitlesOnly) {
    TGraphView view(ctx);
    Prepare(view, 400, 300);
    const QImage img = Render(view);
    EXPECT_EQ(img.pixel(60, 40), kBlack);
    EXPECT_EQ(img.pixel(380, 260), kBlack);
    auto dark = [](QRgb p) { return qGray(p) < 128; };
    EXPECT_GT(CountIn(img, QRect(100, 264, 240, 36), dark), 10);  // x title and unit
}

TEST(GraphPaint, PictureInPictureScaleHasHalfMarginsAndNoUnits) {
    TGraphFixtureState s;
    s.UseTrack();
    s.AddLap(MakeLinearLap(101, 0, 100, kLapA));
    SetAxis(s.doc, &TAxes::y2, TelemetryChannel::Speed);
    ResetGraphRanges(s.doc, s.viewState.graph);
    QImage img(300, 200, QImage::Format_RGB32);
    img.fill(Qt::red);
    {
        QPainter p(&img);
        PaintGraph(p, s.ctx, QRect(0, 0, 300, 200), 2);
    }
    EXPECT_EQ(img.pixel(30, 20), kBlack);
    EXPECT_EQ(img.pixel(290, 180), kBlack);
    EXPECT_EQ(img.pixel(291, 100), kWhite);  // no second-axis margin
    auto dark = [](QRgb p) { return qGray(p) < 128; };
    EXPECT_EQ(CountIn(img, QRect(291, 0, 9, 200), dark), 0);  // no second-axis labels

    // A client rectangle away from the origin moves the whole picture.
    img.fill(Qt::red);
    {
        QPainter p(&img);
        PaintGraph(p, s.ctx, QRect(10, 5, 250, 150), 2);
    }
    EXPECT_EQ(img.pixel(40, 25), kBlack);
    EXPECT_EQ(img.pixel(250, 135), kBlack);
    EXPECT_EQ(img.pixel(5, 5), qRgb(255, 0, 0));
    EXPECT_EQ(img.pixel(260, 100), qRgb(255, 0, 0));
}

TEST(GraphPaint, PolylinesLeaveOutTheirLastPixelAndHaveNoGaps) {
    QImage img(20, 20, QImage::Format_RGB32);
    img.fill(Qt::white);
    const QRgb c = qRgb(1, 2, 3);
    DrawPolylinePixels(img, QPolygon({QPoint(5, 5)}), c);
    EXPECT_EQ(img.pixel(5, 5), kWhite);  // one point: nothing, as a move without a line
    DrawPolylinePixels(img, QPolygon({QPoint(2, 2), QPoint(3, 12), QPoint(4, 12)}), c);
    for (int y = 2; y <= 12; ++y)
        EXPECT_EQ(CountIn(img, QRect(2, y, 2, 1), [c](QRgb p) { return p == c; }), 1) << y;
    EXPECT_EQ(img.pixel(4, 12), kWhite);                                   // the end pixel
    DrawPolylinePixels(img, QPolygon({QPoint(-5, 1), QPoint(30, 1)}), c);  // clipped
    EXPECT_EQ(CountIn(img, QRect(0, 1, 20, 1), [c](QRgb p) { return p == c; }), 20);
}

TEST(GraphPaint, SegmentPixelsAreTheRoundedLinePoints) {
    const QRgb c = qRgb(9, 9, 9);
    const auto drawn = [c](QPoint a, QPoint b) {
        QImage img(40, 40, QImage::Format_RGB32);
        img.fill(Qt::white);
        DrawPolylinePixels(img, QPolygon({a, b}), c);
        std::vector<QPoint> pixels;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (img.pixel(x, y) == c) pixels.emplace_back(x, y);
        return pixels;
    };
    // Every segment, steep or flat, in every direction: one pixel per step along the longer
    // axis, from the start up to but not including the end, each within half a pixel of the
    // true line across it.
    for (int dx = -6; dx <= 6; ++dx) {
        for (int dy = -9; dy <= 9; ++dy) {
            const QPoint a(20, 20), b(20 + dx, 20 + dy);
            const std::vector<QPoint> pixels = drawn(a, b);
            const int n = std::max(std::abs(dx), std::abs(dy));
            ASSERT_EQ(int(pixels.size()), n) << dx << "," << dy;
            std::vector<int> steps;
            for (const QPoint& p : pixels) {
                const bool flat = std::abs(dx) >= std::abs(dy);
                const int along = flat ? (p.x() - a.x()) * (dx < 0 ? -1 : 1)
                                       : (p.y() - a.y()) * (dy < 0 ? -1 : 1);
                const double across = flat ? p.y() - (a.y() + double(along) * dy / n)
                                           : p.x() - (a.x() + double(along) * dx / n);
                EXPECT_TRUE(along >= 0 && along < n) << dx << "," << dy;
                EXPECT_LE(std::abs(across), 0.5) << dx << "," << dy << " step " << along;
                steps.push_back(along);
            }
            std::sort(steps.begin(), steps.end());
            EXPECT_EQ(std::unique(steps.begin(), steps.end()), steps.end()) << dx << "," << dy;
        }
    }
    // Half-way points go to the larger coordinate, whichever way the segment runs.
    EXPECT_EQ(drawn({20, 20}, {22, 21}), (std::vector<QPoint>{{20, 20}, {21, 21}}));
    EXPECT_EQ(drawn({20, 20}, {18, 19}), (std::vector<QPoint>{{19, 20}, {20, 20}}));
    EXPECT_EQ(drawn({20, 20}, {21, 22}), (std::vector<QPoint>{{20, 20}, {21, 21}}));
    EXPECT_EQ(drawn({20, 20}, {19, 18}), (std::vector<QPoint>{{20, 19}, {20, 20}}));
}

TEST(GraphPaint, CurvesOfTheSecondAxisFollowTheirMapping) {
    TGraphFixtureState s;
    s.UseTrack();
    s.AddLap(MakeLinearLap(101, 0, 100, kLapA));
    SetAxis(s.doc, &TAxes::x, TelemetryChannel::Position);
    SetAxis(s.doc, &TAxes::y, TelemetryChannel::Time);
    SetAxis(s.doc, &TAxes::y2, TelemetryChannel::Time);
    s.viewState.graph.viewRange = {0, 10000, 0, 10, 0, 10};
    const TGraphPaintInput in{s.doc, s.viewState, CurrentTrack(s.ctx), 840, 600,
                              1,     96,          TAxisKind::None};
    const auto upper = LapCurve(s.doc.laps().At(0), in, false);
    const auto lower = LapCurve(s.doc.laps().At(0), in, true);
    ASSERT_EQ(upper.size(), 1u);
    ASSERT_EQ(lower.size(), 1u);
    ASSERT_EQ(upper[0].size(), 720);
    for (int i = 0; i < 720; ++i) {
        EXPECT_EQ(upper[0][i].x(), 60 + i);
        EXPECT_GE(upper[0][i].y(), 40);
        EXPECT_LE(upper[0][i].y(), 300);
        EXPECT_GE(lower[0][i].y(), 300);
        EXPECT_LE(lower[0][i].y(), 560);
    }
}

}  // namespace
