#pragma once
// The arithmetic of the track map's canvas: a view (origin and scale) turns track points
// into canvas pixels and back, the fit scale, the scroll ranges in 16-pixel units, and the
// rubber band's shape. No Qt here, so that every rule can be checked exactly.
#include <cstdint>

#include "track/Geometry.h"

// Canvas pixels per track unit and the track point at the canvas's top-left corner.
struct MapView {
    int32_t mapOriginX = 0;
    int32_t mapOriginY = 0;
    double mapScale = 0;  // 0: not fitted yet
};

// The extent of a track's map in track units (mapWidth, mapHeight).
struct TMapExtent {
    int32_t width = 0;
    int32_t height = 0;
};

struct TPixel {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const TPixel&, const TPixel&) = default;
};

// One scroll unit is 16 pixels.
inline constexpr int32_t kMapScrollUnit = 16;

// Real to integer toward zero; values beyond 32 bits (only from damaged data or absurd
// zooms) saturate instead of being undefined.
int32_t TruncateToInt(double v);
// a - b as a 32-bit integer difference (wrapping as the 32-bit arithmetic does).
int32_t Difference32(int32_t a, int32_t b);

// cx = trunc((x - originX) * scale), cy = trunc((originY - y) * scale).
TPixel CanvasPoint(const MapView& view, int32_t x, int32_t y);
inline TPixel CanvasPoint(const MapView& view, const TrackPoint& p) {
    return CanvasPoint(view, p.x, p.y);
}

// min((H - 16) / mapHeight, (W - 16) / mapWidth): 8 pixels of margin on every side. A map
// without width or height ignores that direction and a client under 17 pixels counts as
// one pixel, so the scale is always positive and finite.
double FitScale(int32_t clientW, int32_t clientH, TMapExtent map);

// The origin that puts the map's corner (0, mapHeight) 8 pixels in from the canvas's
// top-left: (trunc(-8 / scale), trunc(mapHeight + 8 / scale)).
void SetOriginByInvariant(MapView& view, int32_t mapHeight);

// Scroll range for a scale: trunc((extent * scale + 16 - client) / 16), 0 when negative,
// otherwise that value + 16.
struct TScrollRange {
    int32_t x = 0;
    int32_t y = 0;
};
TScrollRange MapScrollRange(TMapExtent map, double scale, int32_t clientW, int32_t clientH);

// The track point under client pixel (px, py) with the canvas scrolled to (scrollX,
// scrollY) units.
TrackPoint ClientToTrack(const MapView& view, int32_t scrollX, int32_t scrollY, int32_t px,
                         int32_t py);

// The rubber band's corner for the pointer at p: the window's aspect ratio kept, a zero
// movement counting as up or left.
TPixel RubberBandCorner(TPixel anchor, TPixel p, int32_t clientW, int32_t clientH);

// a * b / c rounded to the nearest integer in 64 bits (a, b, c positive).
int64_t MulDivRound(int64_t a, int64_t b, int64_t c);
