#pragma once
// Pixel geometry of the graph for a client area of any size, and the mappings between
// channel values and pixels that the axes, the curves, the cursor and the mouse share.
// Pixel constants are divided by the scale divisor (1 main window, 2 picture-in-picture)
// with integer division, as the layout was designed for.
#include <array>
#include <cstdint>

#include "channels/Channels.h"
#include "commands/ViewState.h"

class TDocument;

// The graph's axes, as the axis commands, the pop-up menus and the highlight name them.
enum class TAxisKind : int { None = 0, X = 1, Y = 2, Y2 = 3 };

// The three axes, clamped to channels they can hold so that a bad settings value can never
// index past the channel tables.
struct TGraphAxes {
    TelemetryChannel x = TelemetryChannel::Position;
    TelemetryChannel y = TelemetryChannel::Speed;
    TelemetryChannel y2 = TelemetryChannel::None;
    bool HasSecond() const { return y2 != TelemetryChannel::None; }
};
TGraphAxes GraphAxesOf(const TDocument& doc);

struct TGraphGeometry {
    int W = 0, H = 0;  // client width and height
    int d = 1;         // scale divisor
    int E = 0;         // second-axis margin: 40 with d 1 and a second y-axis
    bool second = false;
    int left = 0, top = 0, right = 0, bottom = 0;
    int plotWidth = 0;  // pixel columns used for curves
    int plotHeight = 0;
};
TGraphGeometry GraphGeometry(int width, int height, int scaleDivisor, bool secondAxis);

// Font height for p points: -(p/d) * dpi / 72, integer multiply-then-divide.
int GraphFontHeight(int points, int scaleDivisor, int logicalDpiY);

// Rows beyond any screen are clamped before the integer conversion, so that a degenerate
// range can never turn into an out-of-range conversion.
inline int TruncRow(double r) {
    if (!(r > -1e7)) return -10000000;
    if (r > 1e7) return 10000000;
    return static_cast<int>(r);
}

// Curve rows (truncated toward zero). r is the view range. Inline: the curves
// ask for one row per pixel column and lap.
inline int YRow(double v, const TAxisRanges& r, const TGraphGeometry& g) {
    const double k = g.second ? 0.5 : 1.0;
    return TruncRow((1.0 - (v - r.y.min) / (r.y.max - r.y.min)) * g.plotHeight * k + g.top);
}
inline int Y2Row(double v, const TAxisRanges& r, const TGraphGeometry& g) {
    const double k = g.second ? 0.5 : 1.0;
    return TruncRow((1.0 - k * (v - r.y2.min) / (r.y2.max - r.y2.min)) * g.plotHeight + g.top);
}

// The mouse's plot area (main window): 60 <= x <= W - E - 20 and 40 <= y <= H - 40.
bool InMousePlot(int x, int y, const TGraphGeometry& g);

// Which axis margin a point outside the plot belongs to: None, X, Y or the second y (Y2).
TAxisKind AxisAt(int x, int y, const TGraphGeometry& g);
const char* AxisHint(TAxisKind axis);  // "" for None

// Values under a pointer inside the plot, from the view range.
struct TGraphReadout {
    double x = 0, y = 0, y2 = 0;
};
TGraphReadout ReadoutAt(int x, int y, const TAxisRanges& range, const TGraphGeometry& g);

// Column of the cursor line for a position p in feet, or -1 when p lies outside the shown
// x range (or the range is empty).
int CursorColumn(double feet, const TAxisRanges& range, const TGraphGeometry& g);
