#pragma once
// The lap curves of the graph, column by column over the plot, and the corner marks.
#include <QImage>
#include <QPolygon>
#include <vector>

#include "views/graph/GraphAxes.h"

class TReplay;

// How the curves' values are found: by walking each lap along the columns (the program's
// way), or by asking ChannelValue afresh for every column (the reference the walk must
// equal pixel for pixel, kept for the tests and the benchmark).
enum class TCurveValues { Walk, PerColumn };

// One curve of one lap: the polylines between pen lifts, in pixel coordinates.
// second selects the second y-axis (lower half mapping).
std::vector<QPolygon> LapCurve(const TReplay& lap, const TGraphPaintInput& in, bool second,
                               TCurveValues values = TCurveValues::Walk);

// Draws every lap's curves straight into image (32-bit RGB), as a pen of width 1 does:
// each segment of a polyline without its end pixel, so a polyline of one point draws
// nothing. Writing the pixels directly keeps a full repaint of many laps within a frame.
void DrawGraphCurves(QImage& image, const TGraphPaintInput& in,
                     TCurveValues values = TCurveValues::Walk);
void DrawPolylinePixels(QImage& image, const QPolygon& line, QRgb colour);
void DrawCornerMarks(QPainter& p, const TGraphPaintInput& in, const TGraphFonts& fonts);
