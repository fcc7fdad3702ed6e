#pragma once
// The map's view state and the steps that change it: fitting, resizing, zooming to a
// rectangle, Zoom Out, Full Size, leaving the map, and the picture-in-picture window's own
// map view. Client sizes are in pixels, scroll positions and ranges in 16-pixel units.
#include <array>
#include <cstdint>

#include "views/map/MapView.h"

// The scroll position and range of a map window, as its scroll bars show them. Positions
// stay within 0 to the range.
struct TMapScroller {
    int32_t x = 0, y = 0;
    int32_t rangeX = 1, rangeY = 1;
    int32_t pageX = 0, pageY = 0;  // the client size in whole units

    void SetPage(int32_t clientW, int32_t clientH);
    void SetRange(int32_t rx, int32_t ry);
    void SetRange(const TScrollRange& r) { SetRange(r.x, r.y); }
    void ScrollTo(int64_t nx, int64_t ny);
    // What a window showing no map has: range (1, 1), position (0, 0).
    void Reset();
};

struct TMapNavigation {
    MapView view;
    double fullMapScale = 0;  // the scale at which the whole map fits, as the Map command set it
    TMapScroller scroller;
    std::array<int32_t, 2> savedMapScroll{0, 0};  // kept while the window shows the graph
};

// Entering the map: fit when the map was never fitted or the window would now show it larger;
// otherwise keep the zoom and go back to the saved scroll position.
void MapEnter(TMapNavigation& s, int32_t clientW, int32_t clientH, TMapExtent map);
// Leaving it for the graph: the scroll position is saved and the scroller reset.
void MapLeave(TMapNavigation& s);
// Clearing the document: leave, and fit again next time.
void MapClear(TMapNavigation& s);
// The window changed size: refit only when it grew beyond the map at the current scale.
void MapResize(TMapNavigation& s, int32_t clientW, int32_t clientH, TMapExtent map);
// Zoom to the rectangle between two client points. False (and the view unchanged) when the
// rectangle has no width or height in track units or would show more than the full map.
bool MapZoomToRect(TMapNavigation& s, int32_t clientW, int32_t clientH, TMapExtent map,
                   TPixel anchor, TPixel release);
void MapZoomOut(TMapNavigation& s, int32_t clientW, int32_t clientH, TMapExtent map);
void MapFullSize(TMapNavigation& s, int32_t clientW, int32_t clientH, TMapExtent map);
bool MapCanZoomOut(const TMapNavigation& s);
bool MapCanFullSize(const TMapNavigation& s);

// The track point at a window's top-left corner.
TrackPoint TopLeftTrackPoint(const TMapNavigation& s);

// The picture-in-picture window's map. mainScale not 0: the region the main window shows
// (main is its state and mainW x mainH its client), scaled down by the smaller of the two
// size ratios; 0: the whole map fitted into the window.
void PipShowMap(TMapNavigation& pip, int32_t pipW, int32_t pipH, const TMapNavigation& main,
                int32_t mainW, int32_t mainH, TMapExtent map, double mainScale);
// The main window scrolled so that the point at the picture-in-picture window's top-left
// comes to its own top-left (at the main window's current scale).
void ScrollMainToPip(TMapNavigation& main, const TMapNavigation& pip);
// Resizing the picture-in-picture window while it shows the map.
void PipResize(TMapNavigation& pip, int32_t pipW, int32_t pipH, TMapExtent map);
