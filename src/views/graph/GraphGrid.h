#pragma once
// View > Grid: round ticks on the graph's axes, a light grid behind the curves, and tick
// labels without needless decimals. Drawn in place of the three quarter ticks and the
// "%-7.2f" labels while the grid is on; off, the axes are drawn exactly as before.
#include <QColor>
#include <QFont>

#include "commands/ViewState.h"

class QPainter;

inline const QColor kGridColour(228, 228, 228);

// Labels closer than this (pixels, at scale 1) would run into each other.
inline constexpr int kGridMinPixelsX = 70;
inline constexpr int kGridMinPixelsY = 28;

// Rows or columns a label must keep clear of: a title and its unit on the same side.
struct TGridKeepOut {
    int from = 0, to = -1;  // empty while to < from
};

// The vertical grid lines and x labels: columns left..right span values x.min..x.max (the
// curves' column mapping, right being the frame's last column); lines from top + 1 to
// bottom - 1, short ticks on both frame edges, labels centred under their column with
// their top at labelY (no labels when labelY is negative).
void DrawXGrid(QPainter& p, const TRange& x, int left, int right, int top, int bottom, int labelY,
               const QFont& font, TGridKeepOut keepOut, int scaleDivisor);

// The horizontal grid lines and y labels of one y scale: value y.max at rowTop and y.min
// at rowTop + rowSpan (the curves' row mapping), lines only strictly inside lineTop..
// lineBottom, from left + 1 to right - 1, ticks on the frame's left (or, for a right-hand
// scale, right) edge; labels left-aligned at labelX, vertically centred on their row, or
// with labelX negative inside the plot just above their line, beside the frame (where the
// margin holds the axis title that would hide most of them).
void DrawYGrid(QPainter& p, const TRange& y, double rowTop, double rowSpan, int left, int right,
               int lineTop, int lineBottom, int labelX, bool rightHand, const QFont& font,
               TGridKeepOut keepOut, int scaleDivisor);
