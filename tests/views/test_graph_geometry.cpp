// Plot geometry, font heights, value-to-pixel mappings and the margins' hit tests.
#include <gtest/gtest.h>

#include <cmath>

#include "commands/Document.h"
#include "support/DocumentEdits.h"
#include "track/TrackList.h"
#include "views/graph/GraphGeometry.h"

namespace {

TEST(GraphGeometry, MainWindowMarginsWithAndWithoutSecondAxis) {
    const TGraphGeometry g = GraphGeometry(800, 600, 1, false);
    EXPECT_EQ(g.left, 60);
    EXPECT_EQ(g.top, 40);
    EXPECT_EQ(g.right, 780);
    EXPECT_EQ(g.bottom, 560);
    EXPECT_EQ(g.plotWidth, 720);
    EXPECT_EQ(g.plotHeight, 520);
    EXPECT_EQ(g.E, 0);

    const TGraphGeometry s = GraphGeometry(800, 600, 1, true);
    EXPECT_EQ(s.E, 40);
    EXPECT_EQ(s.right, 740);
    EXPECT_EQ(s.plotWidth, 680);  // 40 columns fewer than without the second axis
    EXPECT_EQ(s.bottom, 560);
}

TEST(GraphGeometry, PictureInPictureHalvesMarginsAndHasNoSecondAxisMargin) {
    for (bool second : {false, true}) {
        const TGraphGeometry g = GraphGeometry(301, 201, 2, second);
        EXPECT_EQ(g.left, 30);
        EXPECT_EQ(g.top, 20);
        EXPECT_EQ(g.right, 291);
        EXPECT_EQ(g.bottom, 181);
        EXPECT_EQ(g.plotWidth, 261);
        EXPECT_EQ(g.plotHeight, 161);
        EXPECT_EQ(g.E, 0);
    }
}

TEST(GraphGeometry, FontHeightsMultiplyBeforeDividing) {
    EXPECT_EQ(GraphFontHeight(14, 1, 96), -18);
    EXPECT_EQ(GraphFontHeight(10, 1, 96), -13);
    EXPECT_EQ(GraphFontHeight(14, 2, 96), -9);  // 7 points
    EXPECT_EQ(GraphFontHeight(10, 2, 96), -6);  // 5 points
    EXPECT_EQ(GraphFontHeight(14, 1, 120), -23);
    EXPECT_EQ(GraphFontHeight(10, 1, 144), -20);
}

TEST(GraphGeometry, ZeroRowsInTheirHalves) {
    const TAxisRanges r{0, 100, -1, 1, -1, 1};
    const TGraphGeometry one = GraphGeometry(800, 600, 1, false);
    EXPECT_EQ(YRow(0, r, one), 300);  // the middle of the plot
    EXPECT_EQ(YRow(1, r, one), 40);
    EXPECT_EQ(YRow(-1, r, one), 560);

    const TGraphGeometry two = GraphGeometry(800, 600, 1, true);
    EXPECT_EQ(YRow(0, r, two), 170);  // a quarter of the plot height down
    EXPECT_EQ(YRow(1, r, two), 40);
    EXPECT_EQ(YRow(-1, r, two), 300);
    EXPECT_EQ(Y2Row(0, r, two), 430);
    EXPECT_EQ(Y2Row(1, r, two), 300);
    EXPECT_EQ(Y2Row(-1, r, two), 560);
}

TEST(GraphGeometry, RowsTruncateTowardZero) {
    const TAxisRanges r{0, 1, 0, 3, 0, 1};
    const TGraphGeometry g = GraphGeometry(100, 180, 1, false);  // plot height 100
    EXPECT_EQ(YRow(1, r, g), 106);                               // 66.67 + 40
    EXPECT_EQ(YRow(2, r, g), 73);                                // 33.33 + 40
}

TEST(GraphGeometry, DegenerateRangeGivesRowsFarOffTheRightSide) {
    // A range of one value: a value above it lies far above the plot, one below far below,
    // and the value itself (0/0) is drawn nowhere near the plot either.
    const TAxisRanges r{0, 1, 5, 5, 0, 0};
    const TGraphGeometry g = GraphGeometry(400, 300, 1, true);
    EXPECT_EQ(YRow(6, r, g), -10000000);
    EXPECT_EQ(YRow(4, r, g), 10000000);
    EXPECT_EQ(YRow(5, r, g), -10000000);
    EXPECT_EQ(Y2Row(1, r, g), -10000000);
    EXPECT_EQ(Y2Row(-1, r, g), 10000000);
    // A range narrow enough that a row overflows an int is clamped the same way.
    const TAxisRanges narrow{0, 1, 5, 5 + 1e-9, 0, 1e-9};
    EXPECT_EQ(YRow(6, narrow, g), -10000000);
    EXPECT_EQ(YRow(4, narrow, g), 10000000);
    EXPECT_EQ(Y2Row(1, narrow, g), -10000000);
    EXPECT_EQ(YRow(std::nan(""), narrow, g), -10000000);
}

TEST(GraphGeometry, MousePlotAndAxisMargins) {
    const TGraphGeometry g = GraphGeometry(800, 600, 1, false);
    EXPECT_TRUE(InMousePlot(60, 40, g));
    EXPECT_TRUE(InMousePlot(780, 560, g));
    EXPECT_FALSE(InMousePlot(59, 300, g));
    EXPECT_FALSE(InMousePlot(781, 300, g));
    EXPECT_FALSE(InMousePlot(400, 561, g));

    EXPECT_EQ(AxisAt(30, 300, g), TAxisKind::Y);
    EXPECT_EQ(AxisAt(400, 580, g), TAxisKind::X);
    EXPECT_EQ(AxisAt(790, 300, g), TAxisKind::Y2);
    EXPECT_EQ(AxisAt(30, 580, g), TAxisKind::None);   // bottom-left corner
    EXPECT_EQ(AxisAt(400, 560, g), TAxisKind::None);  // the line y = H - 40
    EXPECT_EQ(AxisAt(400, 10, g), TAxisKind::None);   // the top strip
    EXPECT_EQ(AxisAt(60, 580, g), TAxisKind::None);   // x = 60 belongs to neither margin
    EXPECT_STREQ(AxisHint(TAxisKind::Y), "Right click to change y-axis");
    EXPECT_STREQ(AxisHint(TAxisKind::X), "Right click to change x-axis");
    EXPECT_STREQ(AxisHint(TAxisKind::Y2), "Right click to change second y-axis");
    EXPECT_STREQ(AxisHint(TAxisKind::None), "");

    const TGraphGeometry s = GraphGeometry(800, 600, 1, true);
    EXPECT_EQ(AxisAt(750, 300, s), TAxisKind::Y2);
    EXPECT_FALSE(InMousePlot(750, 300, s));
}

TEST(GraphGeometry, ReadoutFromViewRange) {
    const TAxisRanges r{100, 820, 0, 52, 10, 30};
    const TGraphGeometry g = GraphGeometry(800, 600, 1, false);
    const TGraphReadout a = ReadoutAt(60, 40, r, g);
    EXPECT_DOUBLE_EQ(a.x, 100);
    EXPECT_DOUBLE_EQ(a.y, 52);
    const TGraphReadout b = ReadoutAt(420, 300, r, g);
    EXPECT_DOUBLE_EQ(b.x, 460);
    EXPECT_DOUBLE_EQ(b.y, 26);

    const TGraphGeometry s = GraphGeometry(800, 600, 1, true);
    const TGraphReadout c = ReadoutAt(60, 300, r, s);  // the middle line
    EXPECT_DOUBLE_EQ(c.y, 0);                          // y min is reached at the middle
    EXPECT_DOUBLE_EQ(c.y2, 30);                        // second-y max likewise
    EXPECT_DOUBLE_EQ(ReadoutAt(60, 560, r, s).y2, 10);
}

TEST(GraphGeometry, CursorColumnInsideShownRangeOnly) {
    const TAxisRanges r{1000, 2000, 0, 1, 0, 0};
    const TGraphGeometry g = GraphGeometry(800, 600, 1, false);
    EXPECT_EQ(CursorColumn(1000, r, g), 60);
    EXPECT_EQ(CursorColumn(1500, r, g), 420);
    EXPECT_EQ(CursorColumn(2000, r, g), 780);
    EXPECT_EQ(CursorColumn(999, r, g), -1);
    EXPECT_EQ(CursorColumn(2001, r, g), -1);
    const TAxisRanges empty{5, 5, 0, 1, 0, 0};
    EXPECT_EQ(CursorColumn(5, empty, g), -1);
}

TEST(GraphGeometry, AxesOutsideTheirChannelsFallBackToDefaults) {
    TTrackList tracks;
    TDocument doc(tracks);
    SetAxis(doc, &TAxes::x, TelemetryChannel::InlineForce);
    SetAxis(doc, &TAxes::y, static_cast<TelemetryChannel>(-1));
    SetAxis(doc, &TAxes::y2, static_cast<TelemetryChannel>(9));
    const TGraphAxes a = GraphAxesOf(doc);
    EXPECT_EQ(a.x, TelemetryChannel::Position);
    EXPECT_EQ(a.y, TelemetryChannel::Speed);
    EXPECT_EQ(a.y2, TelemetryChannel::None);
    SetAxis(doc, &TAxes::x, TelemetryChannel::Time);
    SetAxis(doc, &TAxes::y, TelemetryChannel::SlipAngle);
    SetAxis(doc, &TAxes::y2, TelemetryChannel::Time);
    const TGraphAxes b = GraphAxesOf(doc);
    EXPECT_EQ(b.x, TelemetryChannel::Time);
    EXPECT_EQ(b.y, TelemetryChannel::SlipAngle);
    EXPECT_EQ(b.y2, TelemetryChannel::Time);
    EXPECT_TRUE(b.HasSecond());
}

}  // namespace
