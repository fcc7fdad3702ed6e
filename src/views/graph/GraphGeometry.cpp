#include "views/graph/GraphGeometry.h"

#include <cmath>

#include "commands/Document.h"

TGraphAxes GraphAxesOf(const TDocument& doc) {
    const TAxes d = doc.axes();
    TGraphAxes a;
    a.x = ChannelFromNumber(ChannelNumber(d.x), TelemetryChannel::Position).value_or(a.x);
    a.y = ChannelFromNumber(ChannelNumber(d.y), TelemetryChannel::SlipAngle).value_or(a.y);
    a.y2 = ChannelFromNumber(ChannelNumber(d.y2), TelemetryChannel::None).value_or(a.y2);
    return a;
}

TGraphGeometry GraphGeometry(int width, int height, int scaleDivisor, bool secondAxis) {
    TGraphGeometry g;
    const int d = scaleDivisor < 1 ? 1 : scaleDivisor;
    g.W = width;
    g.H = height;
    g.d = d;
    g.second = secondAxis;
    g.E = d == 1 && secondAxis ? 40 : 0;
    g.left = 60 / d;
    g.top = 40 / d;
    g.right = width - 20 / d - g.E;
    g.bottom = height - 40 / d;
    g.plotWidth = width - 80 / d - g.E;
    g.plotHeight = height - 80 / d;
    return g;
}

int GraphFontHeight(int points, int scaleDivisor, int logicalDpiY) {
    const int d = scaleDivisor < 1 ? 1 : scaleDivisor;
    return -((points / d) * logicalDpiY) / 72;
}

bool InMousePlot(int x, int y, const TGraphGeometry& g) {
    return x >= 60 && x <= g.W - g.E - 20 && y >= 40 && y <= g.H - 40;
}

TAxisKind AxisAt(int x, int y, const TGraphGeometry& g) {
    if (y < g.H - 40 && x < 60) return TAxisKind::Y;
    if (y > g.H - 40 && x > 60) return TAxisKind::X;
    if (y < g.H - 40 && x > g.W - g.E - 20) return TAxisKind::Y2;
    return TAxisKind::None;
}

const char* AxisHint(TAxisKind axis) {
    switch (axis) {
        case TAxisKind::X:
            return "Right click to change x-axis";
        case TAxisKind::Y:
            return "Right click to change y-axis";
        case TAxisKind::Y2:
            return "Right click to change second y-axis";
        case TAxisKind::None:
            break;
    }
    return "";
}

TGraphReadout ReadoutAt(int x, int y, const TAxisRanges& r, const TGraphGeometry& g) {
    const double k = g.second ? 2.0 : 1.0;
    TGraphReadout out;
    out.x = (r.x.max - r.x.min) * (x - 60) / (g.W - g.E - 80) + r.x.min;
    out.y = r.y.max - (r.y.max - r.y.min) * (y - 40) / (g.H - 80) * k;
    out.y2 = (r.y2.max - r.y2.min) * (g.H - y - 40) / (g.H - 80) * 2 + r.y2.min;
    return out;
}

int CursorColumn(double feet, const TAxisRanges& r, const TGraphGeometry& g) {
    if (feet < r.x.min || feet > r.x.max || !(r.x.max > r.x.min)) return -1;
    return static_cast<int>((feet - r.x.min) * (g.W - 80 - g.E) / (r.x.max - r.x.min) + 60);
}
