#include "views/graph/GraphGeometry.h"

#include <cmath>

#include "commands/DocumentState.h"

TGraphAxes GraphAxesOf(const TDocumentState& doc) {
    TGraphAxes a;
    a.x = doc.xAxis == 0 || doc.xAxis == 1 ? doc.xAxis : 1;
    a.y = doc.yAxis >= 0 && doc.yAxis <= 6 ? doc.yAxis : 2;
    a.y2 = doc.y2Axis >= 0 && doc.y2Axis <= 7 ? doc.y2Axis : 7;
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

int AxisAt(int x, int y, const TGraphGeometry& g) {
    if (y < g.H - 40 && x < 60) return 2;
    if (y > g.H - 40 && x > 60) return 1;
    if (y < g.H - 40 && x > g.W - g.E - 20) return 3;
    return 0;
}

const char* AxisHint(int axis) {
    switch (axis) {
        case 1:
            return "Right click to change x-axis";
        case 2:
            return "Right click to change y-axis";
        case 3:
            return "Right click to change second y-axis";
        default:
            return "";
    }
}

TGraphReadout ReadoutAt(int x, int y, const std::array<double, 6>& r, const TGraphGeometry& g) {
    const double k = g.second ? 2.0 : 1.0;
    TGraphReadout out;
    out.x = (r[1] - r[0]) * (x - 60) / (g.W - g.E - 80) + r[0];
    out.y = r[3] - (r[3] - r[2]) * (y - 40) / (g.H - 80) * k;
    out.y2 = (r[5] - r[4]) * (g.H - y - 40) / (g.H - 80) * 2 + r[4];
    return out;
}

int CursorColumn(double feet, const std::array<double, 6>& r, const TGraphGeometry& g) {
    if (feet < r[0] || feet > r[1] || !(r[1] > r[0])) return -1;
    return static_cast<int>((feet - r[0]) * (g.W - 80 - g.E) / (r[1] - r[0]) + 60);
}
