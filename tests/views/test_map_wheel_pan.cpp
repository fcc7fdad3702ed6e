// The map's wheel zoom and panning: the scale and scroll steps the rectangle zoom and the
// scroll bars use, within the full scale, one pixel per track unit and the scroll range.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "views/map/MapNavigation.h"
#include "views/map/MapView.h"

namespace {

const TMapExtent kBig{8000, 3000};  // fits 416 x 316 at 0.05

TEST(MapWheel, ZoomKeepsThePointUnderThePointerAndStaysBetweenFullScaleAndOnePixelPerUnit) {
    TMapNavigation s;
    MapEnter(s, 416, 316, kBig);
    ASSERT_EQ(s.fullMapScale, 0.05);
    const TPixel pointer{300, 100};  // over the map, which fills 8..408 x 8..158
    int held = 0;
    for (int i = 0; i < 30; ++i) {
        const TrackPoint under = ClientToTrack(s.view, s.scroller.x, s.scroller.y, 300, 100);
        MapWheelZoom(s, 416, 316, kBig, pointer, 1);
        // Scroll positions are whole 16-pixel units: each notch keeps the point under the
        // pointer to within half a unit (and truncation) wherever the scroll range lets it.
        const TrackPoint now = ClientToTrack(s.view, s.scroller.x, s.scroller.y, 300, 100);
        const double slack = 9 / s.view.mapScale + 1;
        if (s.scroller.x > 0 && s.scroller.x < s.scroller.rangeX) {
            EXPECT_LE(std::abs(now.x - under.x), slack) << i;
            ++held;
        }
        if (s.scroller.y > 0 && s.scroller.y < s.scroller.rangeY) {
            EXPECT_LE(std::abs(now.y - under.y), slack) << i;
            ++held;
        }
        EXPECT_EQ(s.view.mapOriginX, TruncateToInt(-8 / s.view.mapScale));
    }
    EXPECT_GT(held, 20);
    EXPECT_EQ(s.view.mapScale, 1.0);  // capped, as the rectangle zoom is
    EXPECT_FALSE(MapWheelZoom(s, 416, 316, kBig, pointer, 1));
    EXPECT_TRUE(MapCanZoomOut(s));

    EXPECT_TRUE(MapWheelZoom(s, 416, 316, kBig, pointer, -40));
    EXPECT_EQ(s.view.mapScale, s.fullMapScale);  // exactly the full scale, never below
    EXPECT_FALSE(MapCanZoomOut(s));
    EXPECT_FALSE(MapCanFullSize(s));
    EXPECT_FALSE(MapWheelZoom(s, 416, 316, kBig, pointer, -1));
}

TEST(MapWheel, AMapThatFitsAboveOnePixelPerUnitIsNotZoomedAndAnUnfittedMapIgnoresTheWheel) {
    TMapNavigation small;
    MapEnter(small, 416, 316, TMapExtent{80, 30});
    ASSERT_GT(small.fullMapScale, 1);
    EXPECT_FALSE(MapWheelZoom(small, 416, 316, TMapExtent{80, 30}, {10, 10}, 3));
    EXPECT_FALSE(MapWheelZoom(small, 416, 316, TMapExtent{80, 30}, {10, 10}, -3));
    TMapNavigation never;
    EXPECT_FALSE(MapWheelZoom(never, 416, 316, kBig, {10, 10}, 1));
    EXPECT_EQ(never.view.mapScale, 0);
}

TEST(MapPanning, FollowsThePointerInScrollUnitsAndStopsAtTheScrollRange) {
    TMapNavigation s;
    MapEnter(s, 416, 316, kBig);
    MapWheelZoom(s, 416, 316, kBig, {200, 150}, 10);
    const TMapScroller from = s.scroller;
    ASSERT_GT(from.x, 20);
    ASSERT_GT(from.y, 5);
    EXPECT_TRUE(MapPan(s, from, 160, 33));  // ten units right, two down: the map follows
    EXPECT_EQ(s.scroller.x, from.x - 10);
    EXPECT_EQ(s.scroller.y, from.y - 2);
    EXPECT_FALSE(MapPan(s, from, 160, 33));  // the same place again
    MapPan(s, from, 1000000, 1000000);
    EXPECT_EQ(s.scroller.x, 0);
    EXPECT_EQ(s.scroller.y, 0);
    MapPan(s, from, -1000000, -1000000);
    EXPECT_EQ(s.scroller.x, s.scroller.rangeX);
    EXPECT_EQ(s.scroller.y, s.scroller.rangeY);
    EXPECT_EQ(s.view.mapScale, 0.05 * std::pow(1.25, 10));  // panning never zooms
}

}  // namespace
