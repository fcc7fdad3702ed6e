#include "views/graph/GraphCurves.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

#include "channels/Channels.h"
#include "commands/DocumentState.h"

namespace {

// The x span a lap covers: its start to end in feet on Position, 0 to its duration on Time.
void Coverage(const TReplay& lap, int xAxis, double& from, double& to) {
    if (xAxis == ChannelPosition) {
        from = lap.startPosition * lap.inchesPerUnit / 12;
        to = lap.endPosition * lap.inchesPerUnit / 12;
    } else {
        from = 0;
        to = LapDuration(lap);
    }
}

}  // namespace

std::vector<QPolygon> LapCurve(const TReplay& lap, const TGraphPaintInput& in, bool second) {
    std::vector<QPolygon> lines;
    const TGraphGeometry g = in.Geometry();
    const TGraphAxes a = in.Axes();
    const std::array<double, 6>& v = in.doc.viewRange;
    const int channel = second ? a.y2 : a.y;
    const double lo = second ? v[4] : v[2];
    const double hi = second ? v[5] : v[3];
    const int P = g.plotWidth;
    if (P <= 0) return lines;
    const double step = (v[1] - v[0]) / P;
    double from = 0, to = 0;
    Coverage(lap, a.x, from, to);

    bool penDown = false;
    double x = v[0];
    for (int i = 0; i < P; ++i, x += step) {
        if (x < from || x > to) continue;  // not covered: skipped, the pen stays as it is
        const double value = ChannelValue(lap, x, a.x, channel, in.track);
        if (!(value >= lo && value <= hi)) {  // out of range (or not a number) lifts the pen
            penDown = false;
            continue;
        }
        const QPoint pt(g.left + i, second ? Y2Row(value, v, g) : YRow(value, v, g));
        if (!penDown) {
            lines.emplace_back();
            penDown = true;
        }
        lines.back().append(pt);
    }
    return lines;
}

void DrawGraphCurves(QPainter& p, const TGraphPaintInput& in) {
    const bool second = in.Axes().HasSecond();
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    for (int n = 0; n < in.doc.laps.Count(); ++n) {
        const TReplay& lap = in.doc.laps.At(n);
        p.setPen(QPen(QColor(lap.colour.r, lap.colour.g, lap.colour.b), 0));
        for (int pass = 0; pass < (second ? 2 : 1); ++pass) {
            for (const QPolygon& line : LapCurve(lap, in, pass == 1)) {
                if (line.size() == 1)
                    p.drawPoint(line.front());
                else
                    p.drawPolyline(line);
            }
        }
    }
    p.restore();
}

void DrawCornerMarks(QPainter& p, const TGraphPaintInput& in, const TGraphFonts& fonts) {
    if (!in.doc.cornersShown || in.Axes().x != ChannelPosition || in.track == nullptr) return;
    const TGraphGeometry g = in.Geometry();
    const std::array<double, 6>& v = in.doc.viewRange;
    if (g.plotWidth <= 0) return;
    const double step = (v[1] - v[0]) / g.plotWidth;
    if (!(step > 0)) return;  // an empty x range has no columns to place corners in
    const double origin = v[0] - step * (60 / g.d);
    const int top = 40 / g.d;
    const TTrackData& track = *in.track;
    const size_t count = std::min(track.cornerNames.size(), track.cornerPositions.size());

    p.save();
    p.setFont(fonts.f10);
    const QFontMetrics fm(fonts.f10);
    for (size_t c = 0; c < count; ++c) {
        const double col = (track.cornerPositions[c] - origin) / step;
        if (!(col >= 60 / g.d && col < g.right + 1)) continue;
        const int q = static_cast<int>(col);
        if (q < 60 / g.d || q > g.right) continue;
        p.setPen(QPen(QColor(0, 192, 0), 0));
        for (int j = 1; j <= 4; ++j)  // j = 0 would be an empty line
            p.drawLine(q - j, top - j - 3, q + j - 1, top - j - 3);
        p.setPen(QColor(0, 0, 0));
        const QString name = QString::fromStdString(track.cornerNames[c]);
        DrawTextAt(p, q - fm.horizontalAdvance(name) / 2, 33 / g.d - fm.height(), name);
    }
    p.restore();
}
