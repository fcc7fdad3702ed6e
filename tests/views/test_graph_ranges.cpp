// Full and view ranges: the reset from the extents, rubber-band zoom, Zoom Out, Full Size.
#include <gtest/gtest.h>

#include "commands/Document.h"
#include "views/graph/GraphRanges.h"

namespace {

// Extents and axes as a document would give them, and the graph state they reset.
struct TRangesCase {
    ChannelRange extents;
    TGraphAxes axes;
    TGraphViewState graph;
};

TRangesCase DocWithExtents() {
    TRangesCase doc;
    doc.axes = {TelemetryChannel::Position, TelemetryChannel::Speed, TelemetryChannel::None};
    doc.extents.minimum = {0, 0, 40, -10, -2, -3, 0};
    doc.extents.maximum = {90, 12000, 140, 10, 1, 3, 0};
    return doc;
}

void ResetGraphRanges(TRangesCase& doc) {
    ResetGraphRanges(doc.extents, doc.axes, doc.graph);
}

TEST(GraphRanges, ResetUsesExtentsWithMarginsOnYOnly) {
    TRangesCase doc = DocWithExtents();
    doc.graph.viewRange = {1, 2, 3, 4, 5, 6};
    ResetGraphRanges(doc);
    EXPECT_DOUBLE_EQ(doc.graph.fullRange.x.min, 0);
    EXPECT_DOUBLE_EQ(doc.graph.fullRange.x.max, 12000);
    EXPECT_DOUBLE_EQ(doc.graph.fullRange.y.min, 35);
    EXPECT_DOUBLE_EQ(doc.graph.fullRange.y.max, 145);
    // A "None" second axis ends as [-0.01, 0.01].
    EXPECT_DOUBLE_EQ(doc.graph.fullRange.y2.min, -0.01);
    EXPECT_DOUBLE_EQ(doc.graph.fullRange.y2.max, 0.01);
    EXPECT_EQ(doc.graph.viewRange, doc.graph.fullRange);  // any zoom is discarded

    doc.axes.x = TelemetryChannel::Time;
    doc.axes.y2 = TelemetryChannel::LateralForce;
    ResetGraphRanges(doc);
    EXPECT_DOUBLE_EQ(doc.graph.fullRange.x.min, 0);
    EXPECT_DOUBLE_EQ(doc.graph.fullRange.x.max, 90);
    EXPECT_DOUBLE_EQ(doc.graph.fullRange.y2.min, -3.3);
    EXPECT_DOUBLE_EQ(doc.graph.fullRange.y2.max, 3.3);
}

TEST(GraphRanges, ConstantChannelGetsRangeOfTwoHundredthsCentred) {
    TRangesCase doc = DocWithExtents();
    doc.axes.y = TelemetryChannel::SlipAngle;  // slip angle 0 everywhere
    doc.axes.y2 = TelemetryChannel::SlipAngle;
    ResetGraphRanges(doc);
    EXPECT_DOUBLE_EQ(doc.graph.fullRange.y.min, -0.01);
    EXPECT_DOUBLE_EQ(doc.graph.fullRange.y.max, 0.01);
    EXPECT_DOUBLE_EQ(doc.graph.fullRange.y2.min, -0.01);
    EXPECT_DOUBLE_EQ(doc.graph.fullRange.y2.max, 0.01);
    doc.extents.minimum[6] = doc.extents.maximum[6] = 4;
    ResetGraphRanges(doc);
    EXPECT_DOUBLE_EQ(doc.graph.fullRange.y.min, 3.99);
    EXPECT_DOUBLE_EQ(doc.graph.fullRange.y.max, 4.01);
}

TEST(GraphRanges, ZoomedLooksAtXAndYOnly) {
    TRangesCase doc = DocWithExtents();
    ResetGraphRanges(doc);
    EXPECT_FALSE(GraphZoomed(doc.graph));
    doc.graph.viewRange.y2.min = -0.005;
    EXPECT_FALSE(GraphZoomed(doc.graph));
    doc.graph.viewRange.y.max = 100;
    EXPECT_TRUE(GraphZoomed(doc.graph));
    doc.graph.viewRange = doc.graph.fullRange;
    doc.graph.viewRange.x.min = 1;
    EXPECT_TRUE(GraphZoomed(doc.graph));
}

TEST(GraphRanges, ZoomOutDoublesAboutTheCentreInsideTheFullRange) {
    TRangesCase doc = DocWithExtents();
    ResetGraphRanges(doc);
    doc.graph.viewRange.x.min = 4000;
    doc.graph.viewRange.x.max = 5000;
    doc.graph.viewRange.y.min = 40;
    doc.graph.viewRange.y.max = 60;
    ZoomOutRanges(doc.graph);
    EXPECT_DOUBLE_EQ(doc.graph.viewRange.x.min, 3500);
    EXPECT_DOUBLE_EQ(doc.graph.viewRange.x.max, 5500);
    EXPECT_DOUBLE_EQ(doc.graph.viewRange.y.min, 35);  // held at the full minimum
    EXPECT_DOUBLE_EQ(doc.graph.viewRange.y.max, 70);

    // Zoom Out after Full Size changes nothing.
    doc.graph.viewRange = doc.graph.fullRange;
    ZoomOutRanges(doc.graph);
    EXPECT_EQ(doc.graph.viewRange, doc.graph.fullRange);
}

class GraphZoom : public ::testing::Test {
  protected:
    void SetUp() override {
        doc = DocWithExtents();
        doc.extents.minimum[2] = 0;
        doc.extents.maximum[2] = 100;
        doc.extents.minimum[5] = -1;
        doc.extents.maximum[5] = 1;
        doc.graph.fullRange = {0, 7200, 0, 100, -1, 1};
        doc.graph.viewRange = doc.graph.fullRange;
    }
    TRangesCase doc;
    // 800 x 600: plot columns 60..780 (P = 720), rows 40..560 (height 520).
    const TGraphGeometry one = GraphGeometry(800, 600, 1, false);
    const TGraphGeometry two = GraphGeometry(840, 600, 1, true);
};

TEST_F(GraphZoom, RectangleBecomesTheViewRange) {
    ASSERT_TRUE(ZoomToRect(doc.graph, 420, 170, 240, 430, one));
    EXPECT_DOUBLE_EQ(doc.graph.viewRange.x.min, 1800);  // column 240
    EXPECT_DOUBLE_EQ(doc.graph.viewRange.x.max, 3600);  // column 420
    EXPECT_DOUBLE_EQ(doc.graph.viewRange.y.max, 75);    // row 170
    EXPECT_DOUBLE_EQ(doc.graph.viewRange.y.min, 25);    // row 430
    EXPECT_DOUBLE_EQ(doc.graph.fullRange.x.max, 7200);  // the full range stays
}

TEST_F(GraphZoom, NarrowDragKeepsAThousandthOfTheFullXRange) {
    ASSERT_TRUE(ZoomToRect(doc.graph, 300, 100, 300, 200, one));
    EXPECT_DOUBLE_EQ(doc.graph.viewRange.x.min, 2400);
    EXPECT_NEAR(doc.graph.viewRange.x.max - doc.graph.viewRange.x.min, 7.2, 1e-9);
    // A second narrow zoom is held to the same minimum, measured on the full range.
    ASSERT_TRUE(ZoomToRect(doc.graph, 300, 100, 301, 200, one));
    EXPECT_NEAR(doc.graph.viewRange.x.max - doc.graph.viewRange.x.min, 7.2, 1e-9);
}

TEST_F(GraphZoom, RectangleWithoutHeightIsRefusedLikeAClick) {
    const auto before = doc.graph.viewRange;
    EXPECT_FALSE(ZoomToRect(doc.graph, 100, 300, 500, 300, one));
    EXPECT_EQ(doc.graph.viewRange, before);
    EXPECT_FALSE(
        ZoomToRect(doc.graph, 100, 300, 500, 300, two));  // the half test would divide by 0
    EXPECT_EQ(doc.graph.viewRange, before);
    EXPECT_FALSE(ZoomToRect(doc.graph, 100, 300, 100, 300, one));
    EXPECT_EQ(doc.graph.viewRange, before);
}

TEST_F(GraphZoom, SecondAxisRectangleZoomsTheHalfItMostlyLiesIn) {
    // Rows 40..560; the middle line is row 300. Mostly upper, crossing the middle.
    ASSERT_TRUE(ZoomToRect(doc.graph, 100, 105, 200, 365, two));
    EXPECT_DOUBLE_EQ(doc.graph.viewRange.y.max, 75);  // lo' = 2 * 0.125
    EXPECT_DOUBLE_EQ(doc.graph.viewRange.y.min, 0);   // hi' clipped to 1: the part below the middle
    EXPECT_DOUBLE_EQ(doc.graph.viewRange.y2.min, -1);
    EXPECT_DOUBLE_EQ(doc.graph.viewRange.y2.max, 1);

    doc.graph.viewRange = doc.graph.fullRange;
    // Mostly lower: rows 235..495 (f 0.375..0.875).
    ASSERT_TRUE(ZoomToRect(doc.graph, 100, 495, 200, 235, two));
    EXPECT_DOUBLE_EQ(doc.graph.viewRange.y.min, 0);
    EXPECT_DOUBLE_EQ(doc.graph.viewRange.y.max, 100);
    EXPECT_DOUBLE_EQ(doc.graph.viewRange.y2.max, 1);     // lo' clipped to 0
    EXPECT_DOUBLE_EQ(doc.graph.viewRange.y2.min, -0.5);  // hi' = 0.75
}

TEST_F(GraphZoom, SecondAxisRectangleInTheUpperHalfOnly) {
    ASSERT_TRUE(ZoomToRect(doc.graph, 100, 40, 200, 170, two));
    EXPECT_DOUBLE_EQ(doc.graph.viewRange.y.max, 100);
    EXPECT_DOUBLE_EQ(doc.graph.viewRange.y.min, 50);
    EXPECT_DOUBLE_EQ(doc.graph.viewRange.y2.min, -1);
    EXPECT_DOUBLE_EQ(doc.graph.viewRange.y2.max, 1);
}

}  // namespace
