#pragma once
// The lap curves of the graph, column by column over the plot, and the corner marks.
#include <QPolygon>
#include <vector>

#include "views/graph/GraphAxes.h"

class TReplay;

// One curve of one lap: the polylines between pen lifts, in pixel coordinates.
// second selects the second y-axis (lower half mapping).
std::vector<QPolygon> LapCurve(const TReplay& lap, const TGraphPaintInput& in, bool second);

void DrawGraphCurves(QPainter& p, const TGraphPaintInput& in);
void DrawCornerMarks(QPainter& p, const TGraphPaintInput& in, const TGraphFonts& fonts);
