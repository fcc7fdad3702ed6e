#pragma once
// Drawing the track map: the speed comparison fill, the track edges, the extra lines, the
// start/finish line and the laps' lines, in that order, and the cursor line across the
// track. One routine serves the main window and the picture-in-picture window, each with
// its own view.
#include <QImage>
#include <QRgb>

#include <cstdint>
#include <vector>

#include "commands/ViewState.h"
#include "document/LapList.h"
#include "track/TTrackData.h"
#include "views/map/LapLine.h"
#include "views/map/MapView.h"

// What the map shows besides the view: the track, the laps, and the markers' state.
struct TMapScene {
    const TTrackData* track = nullptr;  // the document's track; nothing is drawn without geometry
    const TLapList* laps = nullptr;
    bool comparisonShown = false;
    const std::vector<uint8_t>* segmentWinner = nullptr;
    // The laps the comparison compares: the first two, or with more laps the reference and
    // the selected (or fastest other) lap; with more than two a legend box names them.
    int32_t comparedFirst = 0, comparedSecond = 1;
    bool comparisonLegend = false;
    bool extraLinesShown = false;    // the track's extra lines (Other Markers)
    TLapLineCache* lines = nullptr;  // the laps' world points; computed afresh when absent
    // Serials of laps hidden from the views: their lines are not drawn, and while the first
    // or second lap is hidden neither is the speed comparison's colouring.
    const std::vector<int32_t>* hiddenLaps = nullptr;
    // View > Colour Map By: the lap drawn three pixels wide through the colour map (-1 for
    // none), the lap Time Delta measures it against, and whether the legend is drawn.
    TMapColour colour = TMapColour::Laps;
    int32_t colouredLap = -1;
    int32_t deltaReference = -1;
    bool legendShown = false;
    bool cornerNamesShown = false;  // View > Corner Names, the main window's map
};

// Draws the whole map into image, which holds the canvas from pixel offset (the scroll
// position times 16) onward; the image is filled white first.
void DrawTrackMap(QImage& image, TPixel offset, const MapView& view, const TMapScene& scene);

// The same map painted with lines, polygons and text, for a vector picture of size pixels:
// each lap's line is one path.
class QPainter;
class QSize;
void PaintTrackMap(QPainter& p, QSize size, TPixel offset, const MapView& view,
                   const TMapScene& scene);

// The pixels a one-pixel pen sets for a line from a to b: every pixel but the end one.
std::vector<TPixel> LinePixels(TPixel a, TPixel b);
// Sets those of them that lie in the image (32-bit RGB) to colour.
void DrawLinePixels(QImage& image, TPixel a, TPixel b, QRgb colour);

// The cursor line across the track at position (canvas pixels from offset), and its pen.
struct TMapCursorLine {
    bool shown = false;
    TPixel from, to;
    QRgb colour = 0;
};
TMapCursorLine MapCursorLine(const TMapScene& scene, const MapView& view, TPixel offset,
                             int32_t position);
