#include "views/map/MapView.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

// The largest scroll range kept: 16 times it still fits comfortably in an int, and no
// map of 32-bit coordinates at one pixel per unit needs more.
constexpr int32_t kMaxScrollRange = 1 << 26;

}  // namespace

int32_t TruncateToInt(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    if (v <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

int32_t Difference32(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

TPixel CanvasPoint(const MapView& view, int32_t x, int32_t y) {
    return {TruncateToInt(Difference32(x, view.mapOriginX) * view.mapScale),
            TruncateToInt(Difference32(view.mapOriginY, y) * view.mapScale)};
}

double FitScale(int32_t clientW, int32_t clientH, TMapExtent map) {
    double fit = std::numeric_limits<double>::infinity();
    if (map.height > 0)
        fit = std::min(fit, static_cast<double>(std::max(clientH - 16, 1)) / map.height);
    if (map.width > 0)
        fit = std::min(fit, static_cast<double>(std::max(clientW - 16, 1)) / map.width);
    if (!std::isfinite(fit) || !(fit > 0)) fit = 1.0;
    return fit;
}

void SetOriginByInvariant(MapView& view, int32_t mapHeight) {
    if (!(view.mapScale > 0)) {
        view.mapOriginX = 0;
        view.mapOriginY = mapHeight;
        return;
    }
    view.mapOriginX = TruncateToInt(-8 / view.mapScale);
    view.mapOriginY = TruncateToInt(mapHeight + 8 / view.mapScale);
}

TScrollRange MapScrollRange(TMapExtent map, double scale, int32_t clientW, int32_t clientH) {
    auto range = [](int32_t extent, double s, int32_t client) {
        const int32_t r = TruncateToInt((extent * s + 16 - client) * 0.0625);
        if (r < 0) return 0;
        return std::min(r, kMaxScrollRange - 16) + 16;
    };
    return {range(map.width, scale, clientW), range(map.height, scale, clientH)};
}

TrackPoint ClientToTrack(const MapView& view, int32_t scrollX, int32_t scrollY, int32_t px,
                         int32_t py) {
    const double cx = 16.0 * scrollX + px;
    const double cy = 16.0 * scrollY + py;
    return {TruncateToInt(cx / view.mapScale + view.mapOriginX),
            TruncateToInt(view.mapOriginY - cy / view.mapScale)};
}

int64_t MulDivRound(int64_t a, int64_t b, int64_t c) {
    if (c == 0) return 0;
    return (2 * a * b + c) / (2 * c);
}

TPixel RubberBandCorner(TPixel anchor, TPixel p, int32_t clientW, int32_t clientH) {
    const int64_t dx = int64_t{p.x} - anchor.x;
    const int64_t dy = int64_t{p.y} - anchor.y;
    const int64_t sx = dx > 0 ? 1 : -1;
    const int64_t sy = dy > 0 ? 1 : -1;
    int64_t ax = std::llabs(dx);
    int64_t ay = std::llabs(dy);
    // A window without area has no shape to keep: the band follows the pointer.
    if (clientW <= 0 || clientH <= 0) return p;
    if (ax == 0 || (ay != 0 && int64_t{clientH} * ax < int64_t{clientW} * ay))
        ax = MulDivRound(ay, clientW, clientH);
    else
        ay = MulDivRound(ax, clientH, clientW);
    auto clamp32 = [](int64_t v) {
        return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                        std::numeric_limits<int32_t>::max()));
    };
    return {clamp32(anchor.x + sx * ax), clamp32(anchor.y + sy * ay)};
}
