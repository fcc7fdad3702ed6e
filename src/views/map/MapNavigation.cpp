#include "views/map/MapNavigation.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

int32_t Clamp32(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

void SetScaleAndRange(TMapNavigation& s, double scale, int32_t w, int32_t h, TMapExtent map) {
    s.view.mapScale = scale;
    SetOriginByInvariant(s.view, map.height);
    s.scroller.SetPage(w, h);
    s.scroller.SetRange(MapScrollRange(map, scale, w, h));
}

// The scroll position that brings track point (x, y) to a window's top-left corner.
void ScrollToTrackPoint(TMapNavigation& s, int32_t x, int32_t y) {
    const double scale = s.view.mapScale;
    s.scroller.ScrollTo(TruncateToInt(Difference32(x, s.view.mapOriginX) * scale / 16),
                        TruncateToInt(Difference32(s.view.mapOriginY, y) * scale / 16));
}

}  // namespace

void TMapScroller::SetPage(int32_t clientW, int32_t clientH) {
    pageX = std::max(clientW, 0) / kMapScrollUnit;
    pageY = std::max(clientH, 0) / kMapScrollUnit;
}

void TMapScroller::SetRange(int32_t rx, int32_t ry) {
    rangeX = std::max(rx, 0);
    rangeY = std::max(ry, 0);
    ScrollTo(x, y);
}

void TMapScroller::ScrollTo(int64_t nx, int64_t ny) {
    x = static_cast<int32_t>(std::clamp<int64_t>(nx, 0, rangeX));
    y = static_cast<int32_t>(std::clamp<int64_t>(ny, 0, rangeY));
}

void TMapScroller::Reset() {
    rangeX = rangeY = 1;
    x = y = 0;
}

void MapEnter(TMapNavigation& s, int32_t clientW, int32_t clientH, TMapExtent map) {
    const double fit = FitScale(clientW, clientH, map);
    // A scale that a resize set before the first fit has no full scale to go back to.
    if (s.view.mapScale == 0 || s.fullMapScale == 0 || fit > s.view.mapScale) {
        s.fullMapScale = fit;
        SetScaleAndRange(s, fit, clientW, clientH, map);
        return;
    }
    s.scroller.SetPage(clientW, clientH);
    s.scroller.SetRange(MapScrollRange(map, s.view.mapScale, clientW, clientH));
    s.scroller.ScrollTo(s.savedMapScroll[0], s.savedMapScroll[1]);
}

void MapLeave(TMapNavigation& s) {
    s.savedMapScroll = {s.scroller.x, s.scroller.y};
    s.scroller.Reset();
}

void MapClear(TMapNavigation& s) {
    s.view.mapScale = 0;
}

void MapResize(TMapNavigation& s, int32_t clientW, int32_t clientH, TMapExtent map) {
    s.scroller.ScrollTo(0, 0);
    s.scroller.SetPage(clientW, clientH);
    s.scroller.SetRange(MapScrollRange(map, s.view.mapScale, clientW, clientH));
    const double fit = FitScale(clientW, clientH, map);
    if (fit > s.view.mapScale) SetScaleAndRange(s, fit, clientW, clientH, map);
}

bool MapZoomToRect(TMapNavigation& s, int32_t clientW, int32_t clientH, TMapExtent map,
                   TPixel anchor, TPixel release) {
    const TrackPoint a = ClientToTrack(s.view, s.scroller.x, s.scroller.y, anchor.x, anchor.y);
    const TrackPoint b = ClientToTrack(s.view, s.scroller.x, s.scroller.y, release.x, release.y);
    const int32_t minX = std::min(a.x, b.x), maxX = std::max(a.x, b.x);
    const int32_t minY = std::min(a.y, b.y), maxY = std::max(a.y, b.y);
    if (minX == maxX || minY == maxY) return false;
    double scale = std::min(static_cast<double>(clientH) / (int64_t{maxY} - minY),
                            static_cast<double>(clientW) / (int64_t{maxX} - minX));
    scale = std::min(scale, 1.0);  // never more than one pixel per track unit
    if (!(scale >= s.fullMapScale) || !(scale > 0)) return false;
    SetScaleAndRange(s, scale, clientW, clientH, map);
    ScrollToTrackPoint(s, minX, maxY);
    return true;
}

void MapZoomOut(TMapNavigation& s, int32_t clientW, int32_t clientH, TMapExtent map) {
    const double scale = s.view.mapScale;
    if (!(scale > 0)) return;
    const double sx = 16.0 * s.scroller.x, sy = 16.0 * s.scroller.y;
    const int64_t left = TruncateToInt(sx / scale + s.view.mapOriginX);
    const int64_t top = TruncateToInt(s.view.mapOriginY - sy / scale);
    const int64_t right = TruncateToInt((sx + clientW) / scale + s.view.mapOriginX);
    const int64_t bottom = TruncateToInt(s.view.mapOriginY - (sy + clientH) / scale);
    const int64_t cx = (left + right) / 2, cy = (top + bottom) / 2;
    const int64_t sw = right - left, sh = top - bottom;
    const int64_t newLeft = std::max<int64_t>(0, cx - sw);
    const int64_t newRight = std::min<int64_t>(map.width, cx + sw);
    const int64_t newBottom = std::max<int64_t>(0, cy - sh);
    const int64_t newTop = std::min<int64_t>(map.height, cy + sh);

    // A rectangle without height or width (a map of no extent in that direction) has no
    // ratio to offer in that direction.
    double s2 = std::numeric_limits<double>::infinity();
    if (newTop - newBottom > 0)
        s2 = std::min(s2,
                      static_cast<double>(clientH - 16) / static_cast<double>(newTop - newBottom));
    if (newRight - newLeft > 0)
        s2 = std::min(s2,
                      static_cast<double>(clientW - 16) / static_cast<double>(newRight - newLeft));
    if (!std::isfinite(s2)) s2 = scale * 0.5;
    s2 = std::max(s2, scale * 0.5);
    // Clipping the doubled rectangle to the map can leave it smaller than what is shown
    // (the window scrolled past the map's edge); zooming out must never zoom in.
    s2 = std::min(s2, scale);
    s2 = std::max(s2, s.fullMapScale);
    SetScaleAndRange(s, s2, clientW, clientH, map);
    ScrollToTrackPoint(s, Clamp32(newLeft), Clamp32(newTop));
}

void MapFullSize(TMapNavigation& s, int32_t clientW, int32_t clientH, TMapExtent map) {
    if (!(s.fullMapScale > 0)) return;
    SetScaleAndRange(s, s.fullMapScale, clientW, clientH, map);
    s.scroller.ScrollTo(0, 0);
}

bool MapCanZoomOut(const TMapNavigation& s) {
    return s.view.mapScale > s.fullMapScale;
}

bool MapCanFullSize(const TMapNavigation& s) {
    return s.view.mapScale != s.fullMapScale;
}

TrackPoint TopLeftTrackPoint(const TMapNavigation& s) {
    return ClientToTrack(s.view, s.scroller.x, s.scroller.y, 0, 0);
}

void PipShowMap(TMapNavigation& pip, int32_t pipW, int32_t pipH, const TMapNavigation& main,
                int32_t mainW, int32_t mainH, TMapExtent map, double mainScale) {
    if (mainScale != 0 && mainW > 0 && mainH > 0) {
        const double ratio =
            std::min(static_cast<double>(pipH) / mainH, static_cast<double>(pipW) / mainW);
        const double scale = mainScale * ratio;
        if (scale > 0 && std::isfinite(scale)) {
            pip.view.mapScale = scale;
            pip.view.mapOriginX = TruncateToInt(-8 / mainScale);
            pip.view.mapOriginY = TruncateToInt(map.height + 8 / mainScale);
            pip.scroller.SetPage(pipW, pipH);
            pip.scroller.SetRange(MapScrollRange(map, scale, pipW, pipH));
            const TrackPoint corner = TopLeftTrackPoint(main);
            ScrollToTrackPoint(pip, corner.x, corner.y);
            return;
        }
    }
    const double fit = FitScale(pipW, pipH, map);
    SetScaleAndRange(pip, fit, pipW, pipH, map);
}

void ScrollMainToPip(TMapNavigation& main, const TMapNavigation& pip) {
    if (!(pip.view.mapScale > 0)) return;
    const TrackPoint corner = TopLeftTrackPoint(pip);
    const double scale = main.view.mapScale;
    // The main window still shows the graph and its range is about to be set for the map,
    // which clips this position; the range of the graph must not clip it first.
    main.scroller.x =
        std::max(0, TruncateToInt(Difference32(corner.x, main.view.mapOriginX) * scale / 16));
    main.scroller.y =
        std::max(0, TruncateToInt(scale * Difference32(main.view.mapOriginY, corner.y) / 16));
}

void PipResize(TMapNavigation& pip, int32_t pipW, int32_t pipH, TMapExtent map) {
    pip.scroller.ScrollTo(0, 0);
    pip.scroller.SetPage(pipW, pipH);
    pip.scroller.SetRange(MapScrollRange(map, pip.view.mapScale, pipW, pipH));
    const double fit = FitScale(pipW, pipH, map);
    if (fit > pip.view.mapScale) SetScaleAndRange(pip, fit, pipW, pipH, map);
}
