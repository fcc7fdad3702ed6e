// Full and view ranges: the reset from the extents, rubber-band zoom, Zoom Out, Full Size.
#include <gtest/gtest.h>

#include "commands/DocumentState.h"
#include "views/graph/GraphRanges.h"

namespace {

TDocumentState DocWithExtents() {
    TDocumentState doc;
    doc.xAxis = 1;
    doc.yAxis = 2;
    doc.y2Axis = 7;
    doc.extents.minimum = {0, 0, 40, -10, -2, -3, 0};
    doc.extents.maximum = {90, 12000, 140, 10, 1, 3, 0};
    return doc;
}

TEST(GraphRanges, ResetUsesExtentsWithMarginsOnYOnly) {
    TDocumentState doc = DocWithExtents();
    doc.viewRange = {1, 2, 3, 4, 5, 6};
    ResetGraphRanges(doc);
    EXPECT_DOUBLE_EQ(doc.fullRange[0], 0);
    EXPECT_DOUBLE_EQ(doc.fullRange[1], 12000);
    EXPECT_DOUBLE_EQ(doc.fullRange[2], 35);
    EXPECT_DOUBLE_EQ(doc.fullRange[3], 145);
    // A "None" second axis ends as [-0.01, 0.01].
    EXPECT_DOUBLE_EQ(doc.fullRange[4], -0.01);
    EXPECT_DOUBLE_EQ(doc.fullRange[5], 0.01);
    EXPECT_EQ(doc.viewRange, doc.fullRange);  // any zoom is discarded

    doc.xAxis = 0;
    doc.y2Axis = 5;
    ResetGraphRanges(doc);
    EXPECT_DOUBLE_EQ(doc.fullRange[0], 0);
    EXPECT_DOUBLE_EQ(doc.fullRange[1], 90);
    EXPECT_DOUBLE_EQ(doc.fullRange[4], -3.3);
    EXPECT_DOUBLE_EQ(doc.fullRange[5], 3.3);
}

TEST(GraphRanges, ConstantChannelGetsRangeOfTwoHundredthsCentred) {
    TDocumentState doc = DocWithExtents();
    doc.yAxis = 6;  // slip angle 0 everywhere
    doc.y2Axis = 6;
    ResetGraphRanges(doc);
    EXPECT_DOUBLE_EQ(doc.fullRange[2], -0.01);
    EXPECT_DOUBLE_EQ(doc.fullRange[3], 0.01);
    EXPECT_DOUBLE_EQ(doc.fullRange[4], -0.01);
    EXPECT_DOUBLE_EQ(doc.fullRange[5], 0.01);
    doc.extents.minimum[6] = doc.extents.maximum[6] = 4;
    ResetGraphRanges(doc);
    EXPECT_DOUBLE_EQ(doc.fullRange[2], 3.99);
    EXPECT_DOUBLE_EQ(doc.fullRange[3], 4.01);
}

TEST(GraphRanges, ZoomedLooksAtXAndYOnly) {
    TDocumentState doc = DocWithExtents();
    ResetGraphRanges(doc);
    EXPECT_FALSE(GraphZoomed(doc));
    doc.viewRange[4] = -0.005;
    EXPECT_FALSE(GraphZoomed(doc));
    doc.viewRange[3] = 100;
    EXPECT_TRUE(GraphZoomed(doc));
    doc.viewRange = doc.fullRange;
    doc.viewRange[0] = 1;
    EXPECT_TRUE(GraphZoomed(doc));
}

TEST(GraphRanges, ZoomOutDoublesAboutTheCentreInsideTheFullRange) {
    TDocumentState doc = DocWithExtents();
    ResetGraphRanges(doc);
    doc.viewRange[0] = 4000;
    doc.viewRange[1] = 5000;
    doc.viewRange[2] = 40;
    doc.viewRange[3] = 60;
    ZoomOutRanges(doc);
    EXPECT_DOUBLE_EQ(doc.viewRange[0], 3500);
    EXPECT_DOUBLE_EQ(doc.viewRange[1], 5500);
    EXPECT_DOUBLE_EQ(doc.viewRange[2], 35);  // held at the full minimum
    EXPECT_DOUBLE_EQ(doc.viewRange[3], 70);

    // Zoom Out after Full Size changes nothing.
    doc.viewRange = doc.fullRange;
    ZoomOutRanges(doc);
    EXPECT_EQ(doc.viewRange, doc.fullRange);
}

class GraphZoom : public ::testing::Test {
  protected:
    void SetUp() override {
        doc = DocWithExtents();
        doc.extents.minimum[2] = 0;
        doc.extents.maximum[2] = 100;
        doc.extents.minimum[5] = -1;
        doc.extents.maximum[5] = 1;
        doc.fullRange = {0, 7200, 0, 100, -1, 1};
        doc.viewRange = doc.fullRange;
    }
    TDocumentState doc;
    // 800 x 600: plot columns 60..780 (P = 720), rows 40..560 (height 520).
    const TGraphGeometry one = GraphGeometry(800, 600, 1, false);
    const TGraphGeometry two = GraphGeometry(840, 600, 1, true);
};

TEST_F(GraphZoom, RectangleBecomesTheViewRange) {
    ASSERT_TRUE(ZoomToRect(doc, 420, 170, 240, 430, one));
    EXPECT_DOUBLE_EQ(doc.viewRange[0], 1800);  // column 240
    EXPECT_DOUBLE_EQ(doc.viewRange[1], 3600);  // column 420
    EXPECT_DOUBLE_EQ(doc.viewRange[3], 75);    // row 170
    EXPECT_DOUBLE_EQ(doc.viewRange[2], 25);    // row 430
    EXPECT_DOUBLE_EQ(doc.fullRange[1], 7200);  // the full range stays
}

TEST_F(GraphZoom, NarrowDragKeepsAThousandthOfTheFullXRange) {
    ASSERT_TRUE(ZoomToRect(doc, 300, 100, 300, 200, one));
    EXPECT_DOUBLE_EQ(doc.viewRange[0], 2400);
    EXPECT_NEAR(doc.viewRange[1] - doc.viewRange[0], 7.2, 1e-9);
    // A second narrow zoom is held to the same minimum, measured on the full range.
    ASSERT_TRUE(ZoomToRect(doc, 300, 100, 301, 200, one));
    EXPECT_NEAR(doc.viewRange[1] - doc.viewRange[0], 7.2, 1e-9);
}

TEST_F(GraphZoom, RectangleWithoutHeightIsRefusedLikeAClick) {
    const auto before = doc.viewRange;
    EXPECT_FALSE(ZoomToRect(doc, 100, 300, 500, 300, one));
    EXPECT_EQ(doc.viewRange, before);
    EXPECT_FALSE(ZoomToRect(doc, 100, 300, 500, 300, two));  // the half test would divide by 0
    EXPECT_EQ(doc.viewRange, before);
    EXPECT_FALSE(ZoomToRect(doc, 100, 300, 100, 300, one));
    EXPECT_EQ(doc.viewRange, before);
}

TEST_F(GraphZoom, SecondAxisRectangleZoomsTheHalfItMostlyLiesIn) {
    // Rows 40..560; the middle line is row 300. Mostly upper, crossing the middle.
    ASSERT_TRUE(ZoomToRect(doc, 100, 105, 200, 365, two));
    EXPECT_DOUBLE_EQ(doc.viewRange[3], 75);  // lo' = 2 * 0.125
    EXPECT_DOUBLE_EQ(doc.viewRange[2], 0);   // hi' clipped to 1: the part below the middle
    EXPECT_DOUBLE_EQ(doc.viewRange[4], -1);
    EXPECT_DOUBLE_EQ(doc.viewRange[5], 1);

    doc.viewRange = doc.fullRange;
    // Mostly lower: rows 235..495 (f 0.375..0.875).
    ASSERT_TRUE(ZoomToRect(doc, 100, 495, 200, 235, two));
    EXPECT_DOUBLE_EQ(doc.viewRange[2], 0);
    EXPECT_DOUBLE_EQ(doc.viewRange[3], 100);
    EXPECT_DOUBLE_EQ(doc.viewRange[5], 1);     // lo' clipped to 0
    EXPECT_DOUBLE_EQ(doc.viewRange[4], -0.5);  // hi' = 0.75
}

TEST_F(GraphZoom, SecondAxisRectangleInTheUpperHalfOnly) {
    ASSERT_TRUE(ZoomToRect(doc, 100, 40, 200, 170, two));
    EXPECT_DOUBLE_EQ(doc.viewRange[3], 100);
    EXPECT_DOUBLE_EQ(doc.viewRange[2], 50);
    EXPECT_DOUBLE_EQ(doc.viewRange[4], -1);
    EXPECT_DOUBLE_EQ(doc.viewRange[5], 1);
}

}  // namespace
