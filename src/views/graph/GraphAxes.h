#pragma once
// Frame, ticks, value labels, axis titles, units, zero lines and corner marks of the graph.
#include <QFont>
#include <QString>

#include "views/graph/GraphGeometry.h"

class QPainter;
class TTrackData;
class TDocument;
struct TViewState;

// What one drawing of the graph reads: the document, the view state, the current track (nullptr for
// none), the client size, the scale divisor, the screen's vertical dpi and the highlighted
// axis.
struct TGraphPaintInput {
    const TDocument& doc;
    const TViewState& view;
    const TTrackData* track;
    int width;
    int height;
    int d;
    int dpiY;
    TAxisKind highlighted;
    // A pane of the stacked graph draws with its own geometry and axes; nullptr for the
    // geometry of the whole client and the document's axes.
    const TGraphGeometry* paneGeometry = nullptr;
    const TGraphAxes* paneAxes = nullptr;

    TGraphAxes Axes() const;
    TGraphGeometry Geometry() const;
};

// "Arial" 14 and 10 points, weight 400; the vertical fonts are the same faces drawn
// rotated to read upwards.
struct TGraphFonts {
    QFont f14, f10;
    int h14 = 0, h10 = 0;  // magnitudes of the font heights in pixels
};
TGraphFonts GraphFonts(int scaleDivisor, int logicalDpiY);

// "%-7.2f"
QString GraphLabel(double v);

// Text with its cell's top-left at (x, y), horizontally or reading upwards from (x, y).
void DrawTextAt(QPainter& p, int x, int y, const QString& text);
void DrawTextUp(QPainter& p, int x, int y, const QString& text);

void DrawGraphAxes(QPainter& p, const TGraphPaintInput& in);
