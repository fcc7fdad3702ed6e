#pragma once
// The time delta strip under the graph's plot (View > Time Delta, x on Position): every
// lap's time minus the reference lap's time at each pixel column of the graph's x range, in
// the lap's colour, on its own zero line and scale. It draws the running delta, the delta
// from the left edge of the shown range, or the delta rate (TDeltaMode). The graph above
// keeps its own geometry, computed for the client height less the strip's rows.
#include <QImage>
#include <QString>
#include <vector>

#include "views/graph/GraphAxes.h"

struct TCommandContext;

// Rows the strip takes at the bottom of a client area of this height: a quarter of it,
// 80 to 240 rows; 0 when what would be left for the graph is under 240 rows.
int DeltaStripHeight(int clientHeight);

// Whether the strip is shown for this document and view: Time Delta on, x on Position,
// a current track and a reference lap.
bool DeltaStripShown(const TDocument& doc, const TViewState& view, const TTrackData* track);

struct TDeltaStripGeometry {
    int top = 0, bottom = 0;  // the strip's rows: top to bottom - 1
    int left = 0, right = 0;  // the plot's frame, the graph's columns
    int plotTop = 0, plotBottom = 0;
    int plotWidth = 0;  // the graph's curve columns
};
// graph: the graph's geometry (computed for the height above the strip).
TDeltaStripGeometry DeltaStripGeometry(const TGraphGeometry& graph, int stripTop, int stripHeight);

// The strip's scale: low to high, the smallest to the largest value in the shown x range and
// zero, with 5 % of that span added at either end; at least 0.02 wide.
struct TDeltaCurves {
    double low = -0.01, high = 0.01;
    // Per lap (document order): the delta at each plot column, NaN where it is not defined;
    // empty for a lap hidden from the views.
    std::vector<std::vector<double>> deltas;
};
// in: the graph's paint input (height above the strip); the mode is in.view.analysis.
TDeltaCurves ComputeDeltaCurves(const TGraphPaintInput& in, int reference);

// The scale for values from lowest to highest (NaN for none).
void ScaleDeltaCurves(TDeltaCurves& curves, double lowest, double highest);

// Row of a delta value in the strip.
int DeltaRow(double delta, const TDeltaCurves& scale, const TDeltaStripGeometry& g);

// The strip's title: "Delta (s)", or "Rate (s/100 ft)" for the delta rate.
QString DeltaStripTitle(TDeltaMode mode);

// Draws the strip into rows top..bottom of image: frame, zero line, "Delta (s)" and its tick
// values, and the curves. in is the graph's paint input.
void DrawDeltaStrip(QImage& image, const TGraphPaintInput& in, const TDeltaStripGeometry& g,
                    int reference);

// The status-line addition for a position (feet): ", Delta: name +0.123, ..." for each lap
// shown in the views with a delta there; empty when none has one.
QString DeltaReadout(const TDocument& doc, const TViewState& view, int reference, double feet);
