#pragma once
// The graph drawn through any QPainter (an SVG generator, a printer): the same axes, labels,
// curves, time-delta strip and legend as the screen's picture, with each lap's curve as one stroked
// path instead of pixels written straight into an image, so that a vector file keeps lines as
// lines.
#include <QSize>

class QPainter;
struct TCommandContext;

void PaintGraphVector(QPainter& p, const TCommandContext& ctx, QSize size, int dpiY);
