#pragma once
// The G-G plot: each lap's Lateral Force against its In-line Force, frame by frame, over the
// stretch of the lap that the graph's x range shows, on the friction circle's grid (circles
// every 0.5 g), with each lap's point at the cursor marked.
#include <QImage>
#include <QPoint>
#include <QRect>
#include <cstdint>
#include <vector>

#include "commands/CommandContext.h"
#include "document/LapList.h"
#include "document/TReplay.h"

class QPainter;

// One lap's forces at each frame, computed once per lap.
struct TGGLapPoints {
    const TReplay* lap = nullptr;
    int32_t serial = -1;
    int32_t sampleCount = 0;
    std::vector<double> time, position;  // seconds from the lap's start; feet
    std::vector<float> lateral, inLine;  // g's
};

class TGGPoints {
  public:
    // The points of every lap of the list, recomputed for the laps that changed.
    const std::vector<TGGLapPoints>& For(const TLapList& laps);

  private:
    std::vector<TGGLapPoints> laps_;
};

// The plot's square and scale: g's per pixel from the centre.
struct TGGGeometry {
    QRect square;
    QPoint centre;
    double gPerPixel = 0;
    double radius = 1;  // the outermost circle, g's
};
TGGGeometry GGGeometry(QSize client, double radius);

// The outermost circle: the largest force shown, rounded up to 0.5 g, at least 1 g.
double GGRadius(const std::vector<TGGLapPoints>& points, const TCommandContext& ctx);

// Draws the grid, the labels and every shown lap's points into image (filled white first).
void RenderGGPlot(QImage& image, const std::vector<TGGLapPoints>& points,
                  const TCommandContext& ctx);
// The cursor's point of each lap that covers the cursor, in the plot's pixels, with colours.
struct TGGCursorPoint {
    QPoint at;
    QRgb colour = 0;
};
std::vector<TGGCursorPoint> GGCursorPoints(const std::vector<TGGLapPoints>& points,
                                           const TCommandContext& ctx, QSize client);
