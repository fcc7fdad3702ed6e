#pragma once
// View > Cursor Line on the map: where each lap shown was at the cursor, a dot of the lap's
// colour, so that the laps' lines can be told apart at the cursor even in the small
// picture-in-picture window.
#include <QRect>
#include <QRgb>
#include <vector>

#include "views/map/MapDrawing.h"

class QPainter;

struct TMapLapDot {
    TPixel at;  // client pixels
    QRgb colour = 0;
};

// The dots for the cursor at position (track units), in the canvas from offset onward: one
// per lap not hidden that covers the position, in document order.
std::vector<TMapLapDot> MapLapDots(const TMapScene& scene, const MapView& view, TPixel offset,
                                   int32_t position);

// Each dot a filled circle of this radius with a black rim; the rectangle they take.
void PaintLapDots(QPainter& p, const std::vector<TMapLapDot>& dots, int radius);
QRect LapDotsRect(const std::vector<TMapLapDot>& dots, int radius);

inline constexpr int kMainDotRadius = 4;
inline constexpr int kPipDotRadius = 3;
