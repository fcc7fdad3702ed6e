#include "views/windows/GGPlot.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "channels/Channels.h"
#include "commands/Document.h"
#include "commands/LapVisibility.h"

namespace {

constexpr int kMargin = 28;  // room for the labels around the square
const QColor kCircle(200, 200, 200);
const QColor kAxis(150, 150, 150);

bool Shown(const TCommandContext& ctx, const TGGLapPoints& p) {
    return p.lap != nullptr && !LapHidden(ctx.view, p.serial);
}

// Whether a frame lies in the stretch the graph's x range shows.
bool InRange(const TGGLapPoints& p, size_t i, bool onPosition, const TRange& x) {
    const double v = onPosition ? p.position[i] : p.time[i];
    return v >= x.min && v <= x.max;
}

}  // namespace

const std::vector<TGGLapPoints>& TGGPoints::For(const TLapList& laps) {
    std::vector<TGGLapPoints> next;
    next.reserve(size_t(laps.Count()));
    for (int n = 0; n < laps.Count(); ++n) {
        const TReplay& lap = laps.At(n);
        const auto old = std::find_if(laps_.begin(), laps_.end(), [&](const TGGLapPoints& p) {
            return p.lap == &lap && p.serial == lap.serial && p.sampleCount == lap.sampleCount;
        });
        if (old != laps_.end()) {
            next.push_back(std::move(*old));
            continue;
        }
        TGGLapPoints p;
        p.lap = &lap;
        p.serial = lap.serial;
        p.sampleCount = lap.sampleCount;
        const double duration = LapDuration(lap);
        // Frames 0 to the last whole one; the product may fall a hair short of it.
        const double frames = std::floor(duration * 15 + 1e-6);
        // A damaged lap's duration is bounded by its samples, as its line on the map is.
        const auto count = static_cast<size_t>(
            std::clamp(frames + 1, 0.0, static_cast<double>(std::max(lap.sampleCount, 0)) + 2));
        for (size_t k = 0; k < count; ++k) {
            const double t = static_cast<double>(k) / 15;
            p.time.push_back(t);
            p.position.push_back(PositionAt(lap, t));
            p.lateral.push_back(static_cast<float>(LateralForceAt(lap, t)));
            p.inLine.push_back(static_cast<float>(InlineForceAt(lap, t)));
        }
        next.push_back(std::move(p));
    }
    laps_ = std::move(next);
    return laps_;
}

TGGGeometry GGGeometry(QSize client, double radius) {
    TGGGeometry g;
    const int side = std::max(2, std::min(client.width(), client.height()) - 2 * kMargin);
    g.square = QRect((client.width() - side) / 2, (client.height() - side) / 2, side, side);
    g.centre = g.square.center();
    g.radius = radius;
    g.gPerPixel = radius / (side / 2.0);
    return g;
}

double GGRadius(const std::vector<TGGLapPoints>& points, const TCommandContext& ctx) {
    const bool onPosition = ctx.doc.axes().x == TelemetryChannel::Position;
    const TRange& x = ctx.view.graph.viewRange.x;
    double most = 0;
    for (const TGGLapPoints& p : points) {
        if (!Shown(ctx, p)) continue;
        for (size_t i = 0; i < p.time.size(); ++i)
            if (InRange(p, i, onPosition, x))
                most = std::max(
                    {most, double(std::fabs(p.lateral[i])), double(std::fabs(p.inLine[i]))});
    }
    // Forces beyond any car's (a damaged lap) do not shrink the plot to nothing.
    most = std::min(most, 20.0);
    return std::max(1.0, std::ceil(most * 2) / 2);
}

void RenderGGPlot(QImage& image, const std::vector<TGGLapPoints>& points,
                  const TCommandContext& ctx) {
    image.fill(Qt::white);
    const TGGGeometry g = GGGeometry(image.size(), GGRadius(points, ctx));
    QPainter p(&image);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    p.setFont(font);
    const QFontMetrics fm(font);
    const double pixelsPerG = 1 / g.gPerPixel;
    // The friction circle's grid: a circle every 0.5 g, the axes through the centre.
    // Beyond 2 g only the whole g's are named, so that the labels do not crowd.
    const int labelEvery = g.radius > 2 ? 2 : 1;
    for (int k = 1; k * 0.5 <= g.radius + 1e-9; ++k) {
        const double r = k * 0.5 * pixelsPerG;
        p.setPen(QPen(kCircle, 0));
        p.drawEllipse(QPointF(g.centre), r, r);
        if (k % labelEvery != 0) continue;
        char buf[16];
        std::snprintf(buf, sizeof buf, "%.1f", k * 0.5);
        p.setPen(kAxis);
        p.drawText(QPointF(g.centre.x() + 2, g.centre.y() - r - 2), QString::fromLatin1(buf));
    }
    p.setPen(QPen(kAxis, 0));
    p.drawLine(g.square.left(), g.centre.y(), g.square.right(), g.centre.y());
    p.drawLine(g.centre.x(), g.square.top(), g.centre.x(), g.square.bottom());
    p.setPen(Qt::black);
    const QString across = QStringLiteral("Lateral Force (g's)");
    p.drawText(QPointF(g.centre.x() - fm.horizontalAdvance(across) / 2.0,
                       g.square.bottom() + fm.ascent() + 6),
               across);
    p.save();
    const QString up = QStringLiteral("In-line Force (g's)");
    p.translate(g.square.left() - 6, g.centre.y() + fm.horizontalAdvance(up) / 2.0);
    p.rotate(-90);
    p.drawText(QPointF(0, 0), up);
    p.restore();

    const bool onPosition = ctx.doc.axes().x == TelemetryChannel::Position;
    const TRange& x = ctx.view.graph.viewRange.x;
    p.setClipRect(g.square.adjusted(-1, -1, 1, 1));
    std::vector<QPointF> run;
    for (const TGGLapPoints& lap : points) {
        if (!Shown(ctx, lap)) continue;
        p.setPen(QPen(QColor(lap.lap->colour.r, lap.lap->colour.g, lap.lap->colour.b), 0));
        auto flush = [&] {
            if (run.size() > 1) p.drawPolyline(run.data(), static_cast<int>(run.size()));
            // A car holding one force draws its point, which a line of no length would not.
            if (!run.empty()) p.drawPoint(run.front());
            run.clear();
        };
        for (size_t i = 0; i < lap.time.size(); ++i) {
            if (!InRange(lap, i, onPosition, x) || !std::isfinite(lap.lateral[i]) ||
                !std::isfinite(lap.inLine[i])) {
                flush();
                continue;
            }
            // Right for a force to the right, up for accelerating.
            run.emplace_back(g.centre.x() + lap.lateral[i] * pixelsPerG,
                             g.centre.y() - lap.inLine[i] * pixelsPerG);
        }
        flush();
    }
}

std::vector<TGGCursorPoint> GGCursorPoints(const std::vector<TGGLapPoints>& points,
                                           const TCommandContext& ctx, QSize client) {
    std::vector<TGGCursorPoint> out;
    const TTrackData* track = CurrentTrack(ctx);
    const int32_t cursor = ctx.view.cursorPosition;
    if (track == nullptr || cursor == NoCursor || !(track->inchesPerUnit > 0)) return out;
    const double feet = cursor * track->inchesPerUnit / 12;
    const TGGGeometry g = GGGeometry(client, GGRadius(points, ctx));
    for (const TGGLapPoints& p : points) {
        if (!Shown(ctx, p)) continue;
        const TReplay& lap = *p.lap;
        if (!(feet >= lap.startPosition * lap.inchesPerUnit / 12 &&
              feet <= lap.endPosition * lap.inchesPerUnit / 12))
            continue;
        const double t = TimeAtPosition(lap, feet);
        const double lateral = LateralForceAt(lap, t), inLine = InlineForceAt(lap, t);
        if (!std::isfinite(lateral) || !std::isfinite(inLine)) continue;
        const double px = g.centre.x() + lateral / g.gPerPixel;
        const double py = g.centre.y() - inLine / g.gPerPixel;
        if (!(std::fabs(px) < 1e6 && std::fabs(py) < 1e6)) continue;
        out.push_back({QPoint(static_cast<int>(std::lround(px)), static_cast<int>(std::lround(py))),
                       qRgb(lap.colour.r, lap.colour.g, lap.colour.b)});
    }
    return out;
}
