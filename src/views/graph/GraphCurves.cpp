#include "views/graph/GraphCurves.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <system_error>
#include <thread>

#include "channels/ChannelWalk.h"
#include "commands/Document.h"
#include "commands/LapVisibility.h"

namespace {

// The x span a lap covers: its start to end in feet on Position, 0 to its duration on Time.
void Coverage(const TReplay& lap, TelemetryChannel xAxis, double& from, double& to) {
    if (xAxis == TelemetryChannel::Position) {
        from = lap.startPosition * lap.inchesPerUnit / 12;
        to = lap.endPosition * lap.inchesPerUnit / 12;
    } else {
        from = 0;
        to = LapDuration(lap);
    }
}

}  // namespace

namespace {

// One curve being walked: its polylines and whether the pen is down.
struct TCurveWalk {
    TelemetryChannel channel;
    double lo, hi;
    bool second;
    std::vector<QPolygon>* lines;
    bool penDown = false;

    // room: columns left in the plot, so that a polyline never grows by reallocation.
    void Column(int pixelX, double value, const TAxisRanges& v, const TGraphGeometry& g, int room) {
        if (!(value >= lo && value <= hi)) {  // out of range (or not a number) lifts the pen
            penDown = false;
            return;
        }
        const QPoint pt(pixelX, second ? Y2Row(value, v, g) : YRow(value, v, g));
        if (!penDown) {
            lines->emplace_back();
            lines->back().reserve(room);
            penDown = true;
        }
        lines->back().append(pt);
    }

    // The same for all covered columns at once (values[k] at plot column columns[k]): each
    // run of values in range becomes one polyline, made at its final size.
    void Columns(const std::vector<int>& columns, const std::vector<double>& values,
                 const TAxisRanges& v, const TGraphGeometry& g) {
        const size_t count = values.size();
        auto inRange = [&](size_t k) { return values[k] >= lo && values[k] <= hi; };
        for (size_t k = 0; k < count;) {
            if (!inRange(k)) {
                ++k;
                continue;
            }
            size_t end = k + 1;
            while (end < count && inRange(end)) ++end;
            QPoint* out = lines->emplace_back(qsizetype(end - k)).data();
            for (; k < end; ++k, ++out)
                *out = QPoint(g.left + columns[k],
                              second ? Y2Row(values[k], v, g) : YRow(values[k], v, g));
        }
    }
};

// Both curves of a lap in one walk over the columns. The lap time of a column is found
// once and serves both channels.
void WalkLap(const TReplay& lap, const TGraphPaintInput& in, std::vector<QPolygon>* upper,
             std::vector<QPolygon>* lower, TCurveValues values) {
    const TGraphGeometry g = in.Geometry();
    const TGraphAxes a = in.Axes();
    const TAxisRanges& v = in.view.graph.viewRange;
    const int P = g.plotWidth;
    if (P <= 0) return;
    TCurveWalk walks[2] = {{a.y, v.y.min, v.y.max, false, upper},
                           {a.y2, v.y2.min, v.y2.max, true, lower}};
    const int first = upper != nullptr ? 0 : 1;
    const int last = lower != nullptr && a.HasSecond() ? 1 : 0;
    if (first > last) return;
    const double step = (v.x.max - v.x.min) / P;
    double from = 0, to = 0;
    Coverage(lap, a.x, from, to);
    const bool onPosition = a.x == TelemetryChannel::Position;

    double x = v.x.min;
    if (values == TCurveValues::PerColumn) {
        // ChannelValue on a time x-axis at a column's time gives the very value it gives at
        // the column's position.
        for (int i = 0; i < P; ++i, x += step) {
            if (x < from || x > to) continue;  // not covered: skipped, the pen stays as it is
            const double t = onPosition ? TimeAtPosition(lap, x) : x;
            for (int w = first; w <= last; ++w) {
                TCurveWalk& walk = walks[w];
                const double value =
                    onPosition && walk.channel != TelemetryChannel::Position
                        ? ChannelValue(lap, t, TelemetryChannel::Time, walk.channel, in.track)
                        : ChannelValue(lap, x, a.x, walk.channel, in.track);
                walk.Column(g.left + i, value, v, g, P - i);
            }
        }
        return;
    }
    // The columns the lap covers and their times first, then each curve's values for all of
    // them at once.
    TChannelWalk channels(lap, in.track);
    std::vector<int> columns;
    std::vector<double> xs, ts, ys;
    columns.reserve(size_t(P));
    xs.reserve(size_t(P));
    ts.reserve(size_t(P));
    for (int i = 0; i < P; ++i, x += step) {
        if (x < from || x > to) continue;
        columns.push_back(i);
        xs.push_back(x);
        ts.push_back(channels.TimeOf(x, a.x));
    }
    ys.resize(columns.size());
    for (int w = first; w <= last; ++w) {
        TCurveWalk& walk = walks[w];
        channels.ValuesAt(xs.data(), ts.data(), xs.size(), a.x, walk.channel, ys.data());
        walk.Columns(columns, ys, v, g);
    }
}

}  // namespace

std::vector<QPolygon> LapCurve(const TReplay& lap, const TGraphPaintInput& in, bool second,
                               TCurveValues values) {
    std::vector<QPolygon> lines;
    if (second)
        WalkLap(lap, in, nullptr, &lines, values);
    else
        WalkLap(lap, in, &lines, nullptr, values);
    return lines;
}

void DrawPolylinePixels(QImage& image, const QPolygon& line, QRgb colour) {
    const int w = image.width(), h = image.height();
    uchar* const bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    auto plot = [&](int x, int y) {
        if (x >= 0 && y >= 0 && x < w && y < h)
            reinterpret_cast<QRgb*>(bits + y * stride)[x] = colour;
    };
    for (int k = 0; k + 1 < line.size(); ++k) {
        const QPoint a = line[k], b = line[k + 1];
        const int dx = b.x() - a.x(), dy = b.y() - a.y();
        const bool steep = std::abs(dy) > std::abs(dx);
        const int steps = steep ? std::abs(dy) : std::abs(dx);
        if (steps == 0) continue;
        const int major = steep ? (dy > 0 ? 1 : -1) : (dx > 0 ? 1 : -1);
        const int minorDelta = steep ? dx : dy;
        // The minor coordinate of pixel i is a + floor(i * minorDelta / steps + 1/2), kept
        // as a quotient and a remainder over 2 * steps so that no pixel needs a division.
        const int twoSteps = 2 * steps;
        const bool inside = a.x() >= 0 && b.x() >= 0 && a.y() >= 0 && b.y() >= 0 && a.x() < w &&
                            b.x() < w && a.y() < h && b.y() < h;
        if (steep && inside && std::abs(dx) <= 1) {
            // The usual step from one column to the next: a vertical run that moves over by
            // dx where floor(i * dx / steps + 1/2) does, at i = ceil(steps / 2) for a step to
            // the right and at i = floor(steps / 2) + 1 for one to the left.
            const int split = dx > 0 ? (steps + 1) / 2 : dx < 0 ? steps / 2 + 1 : steps;
            const qsizetype rowStep = major * stride;
            uchar* p = bits + a.y() * stride + qsizetype(a.x()) * 4;
            for (int i = 0; i < steps; ++i, p += rowStep)
                reinterpret_cast<QRgb*>(p)[i < split ? 0 : dx] = colour;
            continue;
        }
        int q = 0, r = steps;
        for (int i = 0; i < steps; ++i) {  // the end pixel is the next segment's start
            if (steep)
                plot(a.x() + q, a.y() + i * major);
            else
                plot(a.x() + i * major, a.y() + q);
            r += 2 * minorDelta;
            while (r >= twoSteps) {
                r -= twoSteps;
                ++q;
            }
            while (r < 0) {
                r += twoSteps;
                --q;
            }
        }
    }
}

void DrawGraphCurves(QImage& image, const TGraphPaintInput& in, TCurveValues values) {
    // The laps' curves are computed side by side on the machine's cores (each lap is read by
    // one thread only) and then drawn one after another in document order, so that the
    // later lap's pixels lie on top exactly as a single pass would draw them.
    const int count = in.doc.laps().Count();
    std::vector<std::vector<QPolygon>> upper(static_cast<size_t>(count));
    std::vector<std::vector<QPolygon>> lower(static_cast<size_t>(count));
    // Hidden laps are neither walked nor drawn.
    std::vector<char> shown(static_cast<size_t>(count));
    for (int n = 0; n < count; ++n)
        shown[size_t(n)] = !LapHidden(in.view, in.doc.laps().At(n).serial);
    auto walk = [&](int begin, int stride) {
        for (int n = begin; n < count; n += stride)
            if (shown[size_t(n)])
                WalkLap(in.doc.laps().At(n), in, &upper[size_t(n)], &lower[size_t(n)], values);
    };
    const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    const int workers = count >= 4 ? std::min(cores, 8) : 1;
    std::vector<std::thread> helpers;
    bool parallel = true;
    try {
        for (int w = 1; w < workers; ++w) helpers.emplace_back(walk, w, workers);
    } catch (const std::system_error&) {
        parallel = false;
    }
    if (parallel) walk(0, workers);
    for (std::thread& t : helpers) t.join();
    if (!parallel) {
        // No thread to be had: every lap walked here, from the start.
        for (auto& lines : upper) lines.clear();
        for (auto& lines : lower) lines.clear();
        walk(0, 1);
    }
    for (int n = 0; n < count; ++n) {
        const TReplay& lap = in.doc.laps().At(n);
        const QRgb colour = qRgb(lap.colour.r, lap.colour.g, lap.colour.b);
        for (const QPolygon& line : upper[size_t(n)]) DrawPolylinePixels(image, line, colour);
        // The second axis's curve was a stroked path in the same pen: the same pixels.
        for (const QPolygon& line : lower[size_t(n)]) DrawPolylinePixels(image, line, colour);
    }
}

void DrawCornerMarks(QPainter& p, const TGraphPaintInput& in, const TGraphFonts& fonts) {
    if (!in.view.cornersShown || in.Axes().x != TelemetryChannel::Position || in.track == nullptr)
        return;
    const TGraphGeometry g = in.Geometry();
    const TAxisRanges& v = in.view.graph.viewRange;
    if (g.plotWidth <= 0) return;
    const double step = (v.x.max - v.x.min) / g.plotWidth;
    if (!(step > 0)) return;  // an empty x range has no columns to place corners in
    const double origin = v.x.min - step * (60 / g.d);
    const int top = 40 / g.d;
    const TTrackData& track = *in.track;
    const size_t count = std::min(track.cornerNames.size(), track.cornerPositions.size());

    p.save();
    p.setFont(fonts.f10);
    const QFontMetrics fm(fonts.f10);
    // The names' cells in each of the two rows, so that a name that would run into one
    // already written goes up to the second row, and is left out when that has no room either.
    std::vector<std::pair<int, int>> rows[2];
    auto fits = [](const std::vector<std::pair<int, int>>& row, int from, int to) {
        return std::none_of(row.begin(), row.end(),
                            [&](const auto& r) { return from < r.second && to > r.first; });
    };
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
        const int w = fm.horizontalAdvance(name), x = q - w / 2;
        int row = 0;
        while (row < 2 && !fits(rows[row], x - 2, x + w + 2)) ++row;
        if (row == 2) continue;
        rows[row].emplace_back(x, x + w);
        DrawTextAt(p, x, 33 / g.d - fm.height() * (row + 1), name);
    }
    p.restore();
}
