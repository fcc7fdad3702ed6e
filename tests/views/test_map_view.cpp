// The map's arithmetic: fit, origin, scroll ranges, zoom to a rectangle, Zoom Out, Full
// Size, resizing, switching views, the rubber band's shape and the picture-in-picture map.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "views/map/MapNavigation.h"
#include "views/map/MapView.h"

namespace {

const TMapExtent kMap{800, 300};

TMapNavigation Fitted(int w, int h, TMapExtent map) {
    TMapNavigation s;
    MapEnter(s, w, h, map);
    return s;
}

TEST(MapView, FitsWithEightPixelsOfMarginAndPutsTheCornerAtEightEight) {
    const TMapNavigation s = Fitted(416, 316, kMap);
    EXPECT_EQ(s.view.mapScale, 0.5);
    EXPECT_EQ(s.fullMapScale, 0.5);
    EXPECT_EQ(s.view.mapOriginX, -16);
    EXPECT_EQ(s.view.mapOriginY, 316);
    EXPECT_EQ(CanvasPoint(s.view, 0, 300), (TPixel{8, 8}));
    EXPECT_EQ(CanvasPoint(s.view, 800, 0), (TPixel{408, 158}));
    // 400 + 16 - 416 = 0 is not negative: 16 units beyond; the height has none.
    EXPECT_EQ(s.scroller.rangeX, 16);
    EXPECT_EQ(s.scroller.rangeY, 0);
    EXPECT_EQ(s.scroller.x, 0);
}

TEST(MapView, CanvasTransformTruncatesTowardZeroAndWrapsDifferencesIn32Bits) {
    const MapView v{-16, 316, 0.3};
    // (5 + 16) * 0.3 = 6.3 -> 6; (316 - 320) * 0.3 = -1.2 -> -1 (not -2).
    EXPECT_EQ(CanvasPoint(v, 5, 320), (TPixel{6, -1}));
    // The difference is a 32-bit one: INT32_MAX - (-16) wraps to a large negative value.
    const MapView w{-16, 0, 1e-9};
    const TPixel p = CanvasPoint(w, std::numeric_limits<int32_t>::max(), 0);
    EXPECT_EQ(p.x, static_cast<int32_t>(double(std::numeric_limits<int32_t>::min() + 15) * 1e-9));
    EXPECT_EQ(ClientToTrack(MapView{-16, 316, 0.5}, 1, 2, 8, 8), (TrackPoint{32, 236}));
}

TEST(MapView, DegenerateMapsAndTinyClientsKeepAPositiveFiniteScale) {
    struct Case {
        int w, h;
        TMapExtent map;
    } cases[] = {{416, 316, {0, 300}}, {416, 316, {800, 0}}, {416, 316, {0, 0}},
                 {10, 316, kMap},      {416, 5, kMap},       {0, 0, kMap},
                 {-3, -9, kMap},       {16, 16, {1, 1}},     {416, 316, {-5, -5}}};
    for (const Case& c : cases) {
        TMapNavigation s = Fitted(c.w, c.h, c.map);
        EXPECT_TRUE(std::isfinite(s.view.mapScale) && s.view.mapScale > 0)
            << c.w << "x" << c.h << " map " << c.map.width << "x" << c.map.height;
        EXPECT_GE(s.scroller.rangeX, 0);
        EXPECT_GE(s.scroller.rangeY, 0);
        MapResize(s, c.w, c.h, c.map);
        MapZoomOut(s, c.w, c.h, c.map);
        EXPECT_TRUE(std::isfinite(s.view.mapScale) && s.view.mapScale > 0);
    }
    // A map without height fits by its width alone.
    EXPECT_EQ(FitScale(416, 316, {800, 0}), 0.5);
}

TEST(MapView, RectangleZoomIsCappedAtOnePixelPerUnitAndScrollsToItsCorner) {
    TMapNavigation s = Fitted(416, 316, kMap);
    // (100, 100) is track (184, 116); (105, 105) is (194, 106): a 10-unit square.
    ASSERT_TRUE(MapZoomToRect(s, 416, 316, kMap, {100, 100}, {105, 105}));
    EXPECT_EQ(s.view.mapScale, 1.0);
    EXPECT_EQ(s.fullMapScale, 0.5);
    EXPECT_EQ(s.view.mapOriginX, -8);
    EXPECT_EQ(s.view.mapOriginY, 308);
    EXPECT_EQ(s.scroller.rangeX, 41);  // trunc(400 / 16) + 16
    EXPECT_EQ(s.scroller.rangeY, 16);
    EXPECT_EQ(s.scroller.x, 12);  // trunc((184 + 8) / 16)
    EXPECT_EQ(s.scroller.y, 12);  // trunc((308 - 116) / 16)
    EXPECT_TRUE(MapCanZoomOut(s));
    EXPECT_TRUE(MapCanFullSize(s));
}

TEST(MapView, RectangleZoomRefusesWhatWouldShowMoreThanTheMapOrHasNoArea) {
    TMapNavigation s = Fitted(416, 316, kMap);
    const TMapNavigation before = s;
    auto same = [&before](const TMapNavigation& now) {
        return now.view.mapScale == before.view.mapScale &&
               now.view.mapOriginX == before.view.mapOriginX &&
               now.scroller.x == before.scroller.x && now.scroller.y == before.scroller.y;
    };
    // 1000 x 800 units would show at min(316 / 800, 416 / 1000) < 0.5.
    EXPECT_FALSE(MapZoomToRect(s, 416, 316, kMap, {0, 0}, {500, 400}));
    EXPECT_TRUE(same(s));
    // A rectangle without width in track units.
    EXPECT_FALSE(MapZoomToRect(s, 416, 316, kMap, {100, 100}, {100, 150}));
    EXPECT_TRUE(same(s));
}

TEST(MapView, ZoomOutAtMostHalvesAndNeverGoesBelowTheFullScale) {
    const TMapExtent big{8000, 3000};
    TMapNavigation s = Fitted(416, 316, big);
    ASSERT_DOUBLE_EQ(s.fullMapScale, 0.05);
    s.view.mapScale = 1.0;
    SetOriginByInvariant(s.view, big.height);
    s.scroller.SetRange(MapScrollRange(big, 1.0, 416, 316));
    s.scroller.ScrollTo(100, 50);
    // Shown: x 1592..2008, y 1892..2208; doubled: 832 x 632 -> min(300/632, 400/832) < 0.5.
    MapZoomOut(s, 416, 316, big);
    EXPECT_EQ(s.view.mapScale, 0.5);
    EXPECT_EQ(s.scroller.x, 43);  // trunc((1384 + 16) * 0.5 / 16)
    EXPECT_EQ(s.scroller.y, 20);  // trunc((3016 - 2366) * 0.5 / 16)
    for (int i = 0; i < 10; ++i) MapZoomOut(s, 416, 316, big);
    EXPECT_EQ(s.view.mapScale, s.fullMapScale);
    EXPECT_FALSE(MapCanZoomOut(s));
    EXPECT_FALSE(MapCanFullSize(s));
}

TEST(MapView, ZoomOutFromThePartScrolledPastTheMapNeverZoomsIn) {
    TMapNavigation s = Fitted(416, 316, kMap);
    ASSERT_TRUE(MapZoomToRect(s, 416, 316, kMap, {100, 100}, {105, 105}));
    s.scroller.ScrollTo(41, 16);  // 256 pixels past the canvas's right and bottom
    // The doubled rectangle clipped to the map is 360 x 210 units, which would fit at 1.11.
    MapZoomOut(s, 416, 316, kMap);
    EXPECT_LE(s.view.mapScale, 1.0);
    EXPECT_GE(s.view.mapScale, 0.5);
}

TEST(MapView, FullSizeReturnsToTheFitOfTheMapCommand) {
    TMapNavigation s = Fitted(416, 316, kMap);
    ASSERT_TRUE(MapZoomToRect(s, 416, 316, kMap, {100, 100}, {105, 105}));
    MapFullSize(s, 416, 316, kMap);
    EXPECT_EQ(s.view.mapScale, 0.5);
    EXPECT_EQ(s.view.mapOriginX, -16);
    EXPECT_EQ(s.scroller.x, 0);
    EXPECT_EQ(s.scroller.y, 0);
}

TEST(MapView, GrowingRefitsButKeepsTheFullScaleAndShrinkingScrolls) {
    TMapNavigation s = Fitted(416, 316, kMap);
    MapResize(s, 816, 616, kMap);  // fit 1.0 > 0.5
    EXPECT_EQ(s.view.mapScale, 1.0);
    EXPECT_EQ(s.fullMapScale, 0.5);
    EXPECT_EQ(s.view.mapOriginX, -8);
    EXPECT_TRUE(MapCanZoomOut(s));
    MapResize(s, 216, 116, kMap);  // smaller: the scale stays, the canvas scrolls
    EXPECT_EQ(s.view.mapScale, 1.0);
    EXPECT_EQ(s.scroller.rangeX, 53);  // trunc(600 / 16) + 16
    EXPECT_EQ(s.scroller.rangeY, 28);  // trunc(200 / 16) + 16
    MapFullSize(s, 216, 116, kMap);
    EXPECT_EQ(s.view.mapScale, 0.5);
}

// Regression: a resize that set the scale before the first fit left Map without a full scale.
TEST(MapView, AResizeBeforeTheFirstFitLeavesTheMapCommandAFullScale) {
    TMapNavigation s;
    MapResize(s, 416, 316, kMap);
    MapEnter(s, 416, 316, kMap);
    EXPECT_EQ(s.fullMapScale, 0.5);
    ASSERT_TRUE(MapZoomToRect(s, 416, 316, kMap, {100, 100}, {105, 105}));
    MapFullSize(s, 416, 316, kMap);
    EXPECT_EQ(s.view.mapScale, 0.5);
}

TEST(MapView, LeavingAndComingBackRestoresZoomAndScrollUntilCleared) {
    TMapNavigation s = Fitted(416, 316, kMap);
    ASSERT_TRUE(MapZoomToRect(s, 416, 316, kMap, {100, 100}, {105, 105}));
    s.scroller.ScrollTo(20, 7);
    MapLeave(s);
    EXPECT_EQ(s.scroller.rangeX, 1);
    EXPECT_EQ(s.scroller.x, 0);
    MapEnter(s, 416, 316, kMap);
    EXPECT_EQ(s.view.mapScale, 1.0);
    EXPECT_EQ(s.scroller.x, 20);
    EXPECT_EQ(s.scroller.y, 7);
    MapLeave(s);
    MapClear(s);
    MapEnter(s, 416, 316, kMap);
    EXPECT_EQ(s.view.mapScale, 0.5);
    EXPECT_EQ(s.scroller.x, 0);
}

TEST(MapView, RubberBandKeepsTheWindowsAspectRatio) {
    const TPixel a{100, 100};
    // 100 to the right on 400 x 200: 100 x 50, and no vertical movement counts as upward.
    EXPECT_EQ(RubberBandCorner(a, {200, 100}, 400, 200), (TPixel{200, 50}));
    // Mostly downward: the width follows the height.
    EXPECT_EQ(RubberBandCorner(a, {110, 160}, 400, 200), (TPixel{220, 160}));
    // Up and left, rounding to the nearest: 33 * 200 / 400 = 16.5 -> 17.
    EXPECT_EQ(RubberBandCorner(a, {67, 90}, 400, 200), (TPixel{67, 83}));
    EXPECT_EQ(RubberBandCorner(a, a, 400, 200), a);
    // A window without area: the band follows the pointer rather than dividing by zero.
    EXPECT_EQ(RubberBandCorner(a, {150, 120}, 400, 0), (TPixel{150, 120}));
}

TEST(PipMapView, ShowsTheMainWindowsRegionScaledByTheSmallerRatio) {
    TMapNavigation main = Fitted(416, 316, kMap);
    ASSERT_TRUE(MapZoomToRect(main, 416, 316, kMap, {100, 100}, {105, 105}));
    TMapNavigation pip;
    // 208 / 416 = 0.5 and 170 / 316 = 0.54: the smaller ratio wins.
    PipShowMap(pip, 208, 170, main, 416, 316, kMap, main.view.mapScale);
    EXPECT_EQ(pip.view.mapScale, 0.5);
    EXPECT_EQ(pip.view.mapOriginX, -8);  // the main window's origin for its scale
    EXPECT_EQ(pip.view.mapOriginY, 308);
    // The main window's top-left is track (184, 116): trunc(192 * 0.5 / 16) = 6.
    EXPECT_EQ(pip.scroller.x, 6);
    EXPECT_EQ(pip.scroller.y, 6);

    TMapNavigation fitted;
    PipShowMap(fitted, 216, 166, main, 416, 316, kMap, 0);
    EXPECT_EQ(fitted.view.mapScale, 0.25);
    EXPECT_EQ(fitted.view.mapOriginX, -32);

    // And back: the main window (at scale 1) scrolled to the picture-in-picture corner.
    TMapNavigation other = Fitted(416, 316, kMap);
    other.view.mapScale = 1.0;
    SetOriginByInvariant(other.view, kMap.height);
    ScrollMainToPip(other, pip);
    EXPECT_EQ(other.scroller.x, 12);
    EXPECT_EQ(other.scroller.y, 12);
}

}  // namespace
