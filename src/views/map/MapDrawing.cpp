#include "views/map/MapDrawing.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "analysis/LapAnalysis.h"
#include "commands/ViewState.h"
#include "track/Geometry.h"
#include "views/map/MapColouring.h"
#include "views/map/MapCornerNames.h"
#include "views/map/MapMarkers.h"

namespace {
bool Hidden(const TMapScene& scene, int32_t serial) {
    return scene.hiddenLaps != nullptr &&
           std::find(scene.hiddenLaps->begin(), scene.hiddenLaps->end(), serial) !=
               scene.hiddenLaps->end();
}
// The lap of the document at i, or nullptr.
const TReplay* LapAt(const TMapScene& scene, int32_t i) {
    return scene.laps != nullptr && i >= 0 && i < scene.laps->Count() ? &scene.laps->At(i)
                                                                      : nullptr;
}
// The comparison colours the track by its two laps; one of them hidden, it is not drawn.
bool ComparedLapHidden(const TMapScene& scene) {
    for (const int32_t i : {scene.comparedFirst, scene.comparedSecond})
        if (const TReplay* lap = LapAt(scene, i); lap != nullptr && Hidden(scene, lap->serial))
            return true;
    return false;
}
}  // namespace

namespace {

// Line ends are kept within this distance of the image, so that no product below can
// overflow; only a damaged track or an absurd zoom reaches it.
constexpr int64_t kFar = int64_t{1} << 28;

int64_t FloorDiv(int64_t a, int64_t b) {
    const int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

// Calls plot(x, y) for each pixel of the line from a to b but the last, limited to
// 0 <= major coordinate < majorLimit: pixel i lies at a + i along the major axis and
// floor(i * minorDelta / steps + 1/2) along the minor one.
template <typename Plot>
void WalkLine(int64_t ax, int64_t ay, int64_t bx, int64_t by, int64_t w, int64_t h, Plot plot) {
    ax = std::clamp(ax, -kFar, kFar);
    ay = std::clamp(ay, -kFar, kFar);
    bx = std::clamp(bx, -kFar, kFar);
    by = std::clamp(by, -kFar, kFar);
    const int64_t dx = bx - ax, dy = by - ay;
    const bool steep = std::llabs(dy) > std::llabs(dx);
    const int64_t steps = steep ? std::llabs(dy) : std::llabs(dx);
    if (steps == 0) return;
    const int64_t major = steep ? (dy > 0 ? 1 : -1) : (dx > 0 ? 1 : -1);
    const int64_t minorDelta = steep ? dx : dy;
    const int64_t start = steep ? ay : ax;
    const int64_t limit = steep ? h : w;
    // The steps whose major coordinate lies inside 0 .. limit - 1.
    int64_t i0 = 0, i1 = steps - 1;
    if (major > 0) {
        i0 = std::max(i0, -start);
        i1 = std::min(i1, limit - 1 - start);
    } else {
        i0 = std::max(i0, start - (limit - 1));
        i1 = std::min(i1, start);
    }
    const int64_t twoSteps = 2 * steps;
    for (int64_t i = i0; i <= i1; ++i) {
        const int64_t q = FloorDiv(2 * i * minorDelta + steps, twoSteps);
        if (steep)
            plot(ax + q, ay + i * major);
        else
            plot(ax + i * major, ay + q);
    }
}

QPoint ClampCanvas(TPixel c) {
    return QPoint(static_cast<int>(std::clamp<int64_t>(c.x, -kFar, kFar)),
                  static_cast<int>(std::clamp<int64_t>(c.y, -kFar, kFar)));
}

QRgb ToQRgb(Rgb c) {
    return qRgb(c.r, c.g, c.b);
}

class TPixelPen {
  public:
    TPixelPen(QImage& image, TPixel offset, const MapView& view)
        : bits_(image.bits()),
          stride_(image.bytesPerLine()),
          w_(image.width()),
          h_(image.height()),
          offset_(offset),
          view_(view) {}

    void Line(const TrackPoint& a, const TrackPoint& b, QRgb colour) {
        LineCanvas(CanvasPoint(view_, a), CanvasPoint(view_, b), colour);
    }
    void Polyline(const TrackPoint* points, size_t count, QRgb colour) {
        if (count < 2) return;
        TPixel prev = CanvasPoint(view_, points[0]);
        for (size_t i = 1; i < count; ++i) {
            const TPixel next = CanvasPoint(view_, points[i]);
            LineCanvas(prev, next, colour);
            prev = next;
        }
    }

    void LineCanvas(TPixel a, TPixel b, QRgb colour) {
        const int64_t ax = int64_t{a.x} - offset_.x, ay = int64_t{a.y} - offset_.y;
        const int64_t bx = int64_t{b.x} - offset_.x, by = int64_t{b.y} - offset_.y;
        // A line wholly outside the image sets no pixel.
        if ((ax < 0 && bx < 0) || (ay < 0 && by < 0) || (ax >= w_ && bx >= w_) ||
            (ay >= h_ && by >= h_))
            return;
        WalkLine(ax, ay, bx, by, w_, h_, [this, colour](int64_t x, int64_t y) {
            if (x >= 0 && y >= 0 && x < w_ && y < h_)
                reinterpret_cast<QRgb*>(bits_ + y * stride_)[x] = colour;
        });
    }

    // Three pixels wide: each pixel of the one-pixel line with its neighbours across the
    // line's major direction.
    void ThickLine(const TrackPoint& a, const TrackPoint& b, QRgb colour) {
        const TPixel ca = CanvasPoint(view_, a), cb = CanvasPoint(view_, b);
        const int64_t ax = int64_t{ca.x} - offset_.x, ay = int64_t{ca.y} - offset_.y;
        const int64_t bx = int64_t{cb.x} - offset_.x, by = int64_t{cb.y} - offset_.y;
        if ((ax < -1 && bx < -1) || (ay < -1 && by < -1) || (ax > w_ && bx > w_) ||
            (ay > h_ && by > h_))
            return;
        const bool steep = std::llabs(by - ay) > std::llabs(bx - ax);
        const int64_t sx = steep ? 1 : 0, sy = steep ? 0 : 1;
        auto set = [this, colour](int64_t x, int64_t y) {
            if (x >= 0 && y >= 0 && x < w_ && y < h_)
                reinterpret_cast<QRgb*>(bits_ + y * stride_)[x] = colour;
        };
        // The neighbours lie across the major direction, which the walk limits to the image.
        WalkLine(ax, ay, bx, by, w_, h_, [&](int64_t x, int64_t y) {
            set(x - sx, y - sy);
            set(x, y);
            set(x + sx, y + sy);
        });
    }

  private:
    uchar* bits_;
    qsizetype stride_;
    int64_t w_, h_;
    TPixel offset_;
    const MapView& view_;
};

void DrawComparison(QPainter& p, TPixel offset, const MapView& view, const TMapScene& scene) {
    const TTrackData& t = *scene.track;
    const std::vector<uint8_t>& winners = *scene.segmentWinner;
    const TReplay* first = LapAt(scene, scene.comparedFirst);
    const TReplay* second = LapAt(scene, scene.comparedSecond);
    if (first == nullptr) return;
    if (second == nullptr) second = first;
    const QColor colours[3] = {
        QColor(),
        QColor(ToQRgb(PaleColour(first->colour))),
        QColor(ToQRgb(PaleColour(second->colour))),
    };
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.translate(-offset.x, -offset.y);
    const size_t m = std::min(winners.size(), static_cast<size_t>(t.pointCount));
    for (size_t i = 0; i < m; ++i) {
        const uint8_t w = winners[i];
        if (w != kFirstLapWins && w != kSecondLapWins) continue;
        auto pt = [&](size_t edge, size_t j) {
            return ClampCanvas(CanvasPoint(view, t.edgeX[edge][j], t.edgeY[edge][j]));
        };
        const QPoint quad[4] = {pt(0, i), pt(1, i), pt(1, i + 1), pt(0, i + 1)};
        p.setBrush(colours[w]);
        p.drawPolygon(quad, 4, Qt::WindingFill);
    }
    p.restore();
}

bool ComparisonShown(const TMapScene& scene) {
    return scene.comparisonShown && scene.segmentWinner != nullptr &&
           !scene.segmentWinner->empty() && !ComparedLapHidden(scene);
}

// With more than two laps, a box in the top-left corner says which pale colour is whose.
void DrawComparisonLegend(QPainter& p, const TMapScene& scene) {
    if (!scene.comparisonLegend || !ComparisonShown(scene)) return;
    const TReplay* first = LapAt(scene, scene.comparedFirst);
    const TReplay* second = LapAt(scene, scene.comparedSecond);
    if (first == nullptr || second == nullptr) return;
    const std::vector<std::string> names = LapDisplayNames(scene.laps->Pointers());
    const QStringList rows = {
        QString::fromStdString(names[size_t(scene.comparedFirst)]) + QStringLiteral(" faster"),
        QString::fromStdString(names[size_t(scene.comparedSecond)]) + QStringLiteral(" faster")};
    const Rgb colours[2] = {PaleColour(first->colour), PaleColour(second->colour)};
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    const QFontMetrics fm(font, p.device());
    const int rowHeight = 18, swatch = 12, textLeft = 8 + swatch + 6;
    int width = 0;
    for (const QString& row : rows) width = std::max(width, fm.horizontalAdvance(row));
    const QRect box(8, 8, std::min(textLeft + width + 8, 320), 2 * rowHeight + 8);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(Qt::black));
    p.setBrush(QColor(Qt::white));
    p.drawRect(box.adjusted(0, 0, -1, -1));
    p.setFont(font);
    for (int r = 0; r < 2; ++r) {
        const int top = box.top() + 4 + r * rowHeight;
        p.setPen(QColor(Qt::black));
        p.setBrush(QColor(ToQRgb(colours[r])));
        p.drawRect(box.left() + 8, top + (rowHeight - swatch) / 2, swatch - 1, swatch - 1);
        p.drawText(QRect(box.left() + textLeft, top, box.width() - textLeft - 8, rowHeight),
                   Qt::AlignLeft | Qt::AlignVCenter,
                   fm.elidedText(rows[r], Qt::ElideRight, box.width() - textLeft - 8));
    }
    p.restore();
}

// The lap Colour Map By draws and its values, or nullptr when nothing is coloured.
const TReplay* ColouredLap(const TMapScene& scene, TLapColouring& colouring) {
    if (scene.colour == TMapColour::Laps || scene.laps == nullptr || scene.track == nullptr)
        return nullptr;
    const int32_t n = scene.laps->Count();
    if (scene.colouredLap < 0 || scene.colouredLap >= n) return nullptr;
    const TReplay& lap = scene.laps->At(scene.colouredLap);
    if (Hidden(scene, lap.serial)) return nullptr;
    const TReplay* reference = scene.deltaReference >= 0 && scene.deltaReference < n
                                   ? &scene.laps->At(scene.deltaReference)
                                   : nullptr;
    colouring = LapColouring(scene.track, lap, scene.colour, reference);
    return colouring.any ? &lap : nullptr;
}

// A segment's colour: the mean of its ends' values, or the one that exists.
bool SegmentColour(const TLapColouring& c, size_t i, QRgb& colour) {
    const double a = c.values[i - 1], b = c.values[i];
    const double v = std::isnan(a) ? b : std::isnan(b) ? a : (a + b) / 2;
    if (std::isnan(v)) return false;
    colour = ColouringColour(c, v);
    return true;
}

// The legend of the colouring: Time Delta's names the two laps.
void DrawColouringLegend(QPainter& p, QSize size, const TMapScene& scene,
                         const TLapColouring& colouring) {
    if (scene.colour != TMapColour::TimeDelta) {
        DrawMapLegend(p, size, scene.colour, colouring.min, colouring.max);
        return;
    }
    const std::vector<std::string> names = LapDisplayNames(scene.laps->Pointers());
    auto name = [&](int32_t i) {
        return i >= 0 && size_t(i) < names.size() ? QString::fromStdString(names[size_t(i)])
                                                  : QString();
    };
    DrawDeltaLegend(p, size, name(scene.colouredLap), name(scene.deltaReference), colouring.max);
}

bool EdgesUsable(const TTrackData& t) {
    const auto n = static_cast<size_t>(t.pointCount) + 1;
    return t.pointCount > 0 && t.edgeX[0].size() >= n && t.edgeX[1].size() >= n &&
           t.edgeY[0].size() >= n && t.edgeY[1].size() >= n;
}

}  // namespace

std::vector<TPixel> LinePixels(TPixel a, TPixel b) {
    std::vector<TPixel> out;
    const int64_t big = int64_t{1} << 40;
    WalkLine(a.x, a.y, b.x, b.y, big, big, [&out](int64_t x, int64_t y) {
        out.push_back({static_cast<int32_t>(x), static_cast<int32_t>(y)});
    });
    return out;
}

void DrawLinePixels(QImage& image, TPixel a, TPixel b, QRgb colour) {
    const MapView unused;
    TPixelPen(image, TPixel{0, 0}, unused).LineCanvas(a, b, colour);
}

namespace {
void DrawTrackMapLayer(QImage& image, TPixel offset, const MapView& view, const TMapScene& scene) {
    image.fill(Qt::white);
    const TTrackData* track = scene.track;
    if (track == nullptr || !EdgesUsable(*track) || !(view.mapScale > 0)) return;
    const TTrackData& t = *track;

    if (ComparisonShown(scene)) {
        QPainter p(&image);
        DrawComparison(p, offset, view, scene);
    }

    TPixelPen pen(image, offset, view);
    const QRgb black = qRgb(0, 0, 0);
    const auto n = static_cast<size_t>(t.pointCount) + 1;
    std::vector<TrackPoint> edge(n);
    for (size_t k = 0; k < 2; ++k) {
        for (size_t i = 0; i < n; ++i) edge[i] = {t.edgeX[k][i], t.edgeY[k][i]};
        pen.Polyline(edge.data(), n, black);
    }

    if (scene.extraLinesShown) {
        for (const auto& other : t.others) {
            const size_t count = std::min({static_cast<size_t>(std::max(other->count, 0)),
                                           other->xs.size(), other->ys.size()});
            std::vector<TrackPoint> line(count);
            for (size_t i = 0; i < count; ++i) line[i] = {other->xs[i], other->ys[i]};
            pen.Polyline(line.data(), count,
                         ToQRgb(Rgb::FromPacked(static_cast<uint32_t>(other->colour))));
        }
    }

    pen.Line({t.edgeX[0][0], t.edgeY[0][0]}, {t.edgeX[1][0], t.edgeY[1][0]}, black);

    if (scene.laps == nullptr || !t.geometryPrepared()) return;
    TLapLineCache local;
    TLapLineCache& cache = scene.lines != nullptr ? *scene.lines : local;
    for (int32_t i = 0; i < scene.laps->Count(); ++i) {
        const TReplay& lap = scene.laps->At(i);
        if (Hidden(scene, lap.serial)) continue;
        const std::vector<TrackPoint>& points = cache.Points(t, lap);
        pen.Polyline(points.data(), points.size(), ToQRgb(lap.colour));
    }

    if (scene.cornerNamesShown) DrawMapCornerNames(image, offset, view, scene);

    // The coloured lap goes over every lap's line, its own included.
    TLapColouring colouring;
    const TReplay* coloured = ColouredLap(scene, colouring);
    if (coloured == nullptr) return;
    const std::vector<TrackPoint>& points = cache.Points(t, *coloured);
    const size_t m = std::min(points.size(), colouring.values.size());
    QRgb colour = 0;
    for (size_t i = 1; i < m; ++i)
        if (SegmentColour(colouring, i, colour)) pen.ThickLine(points[i - 1], points[i], colour);
    if (scene.legendShown) {
        QPainter p(&image);
        DrawColouringLegend(p, image.size(), scene, colouring);
    }
}
}  // namespace

void DrawTrackMap(QImage& image, TPixel offset, const MapView& view, const TMapScene& scene) {
    DrawTrackMapLayer(image, offset, view, scene);
    if (scene.comparisonLegend) {
        QPainter p(&image);
        DrawComparisonLegend(p, scene);
    }
}

void PaintTrackMap(QPainter& p, QSize size, TPixel offset, const MapView& view,
                   const TMapScene& scene) {
    p.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    const TTrackData* track = scene.track;
    if (track == nullptr || !EdgesUsable(*track) || !(view.mapScale > 0)) return;
    const TTrackData& t = *track;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setClipRect(QRect(QPoint(0, 0), size));
    if (ComparisonShown(scene)) DrawComparison(p, offset, view, scene);

    auto at = [&](const TrackPoint& pt) {
        const TPixel c = CanvasPoint(view, pt);
        return ClampCanvas({c.x - offset.x, c.y - offset.y});
    };
    // One path per line, so that a lap stays one element of the picture.
    auto polyline = [&](const std::vector<TrackPoint>& points, QRgb colour, qreal width) {
        if (points.size() < 2) return;
        QPainterPath path;
        path.moveTo(at(points[0]));
        for (size_t i = 1; i < points.size(); ++i) path.lineTo(at(points[i]));
        QPen pen(QColor(colour), width);
        pen.setCapStyle(Qt::FlatCap);
        pen.setJoinStyle(Qt::MiterJoin);
        p.strokePath(path, pen);
    };
    const auto n = static_cast<size_t>(t.pointCount) + 1;
    std::vector<TrackPoint> edge(n);
    for (size_t k = 0; k < 2; ++k) {
        for (size_t i = 0; i < n; ++i) edge[i] = {t.edgeX[k][i], t.edgeY[k][i]};
        polyline(edge, qRgb(0, 0, 0), 1);
    }
    if (scene.extraLinesShown) {
        for (const auto& other : t.others) {
            const size_t count = std::min({static_cast<size_t>(std::max(other->count, 0)),
                                           other->xs.size(), other->ys.size()});
            std::vector<TrackPoint> line(count);
            for (size_t i = 0; i < count; ++i) line[i] = {other->xs[i], other->ys[i]};
            polyline(line, ToQRgb(Rgb::FromPacked(static_cast<uint32_t>(other->colour))), 1);
        }
    }
    polyline({{t.edgeX[0][0], t.edgeY[0][0]}, {t.edgeX[1][0], t.edgeY[1][0]}}, qRgb(0, 0, 0), 1);

    if (scene.laps != nullptr && t.geometryPrepared()) {
        TLapLineCache local;
        TLapLineCache& cache = scene.lines != nullptr ? *scene.lines : local;
        for (int32_t i = 0; i < scene.laps->Count(); ++i) {
            const TReplay& lap = scene.laps->At(i);
            if (Hidden(scene, lap.serial)) continue;
            polyline(cache.Points(t, lap), ToQRgb(lap.colour), 1);
        }
        TLapColouring colouring;
        if (const TReplay* coloured = ColouredLap(scene, colouring)) {
            const std::vector<TrackPoint>& points = cache.Points(t, *coloured);
            const size_t m = std::min(points.size(), colouring.values.size());
            // Neighbouring segments of one colour share a path.
            std::vector<TrackPoint> run;
            QRgb runColour = 0;
            auto flush = [&] {
                polyline(run, runColour, 3);
                run.clear();
            };
            QRgb colour = 0;
            for (size_t i = 1; i < m; ++i) {
                if (!SegmentColour(colouring, i, colour)) {
                    flush();
                    continue;
                }
                if (run.empty() || colour != runColour) {
                    flush();
                    run.push_back(points[i - 1]);
                    runColour = colour;
                }
                run.push_back(points[i]);
            }
            flush();
            if (scene.legendShown) DrawColouringLegend(p, size, scene, colouring);
        }
    }
    DrawComparisonLegend(p, scene);
    p.restore();
}

TMapCursorLine MapCursorLine(const TMapScene& scene, const MapView& view, TPixel offset,
                             int32_t position) {
    TMapCursorLine line;
    const TTrackData* t = scene.track;
    if (t == nullptr || position == NoCursor || !t->geometryPrepared() || !(view.mapScale > 0))
        return line;
    const EdgePoints e = EdgePointsAt(*t, position);
    const TPixel r = CanvasPoint(view, e.reference), o = CanvasPoint(view, e.other);
    line.shown = true;
    line.from = {TruncateToInt(double(r.x) - offset.x), TruncateToInt(double(r.y) - offset.y)};
    line.to = {TruncateToInt(double(o.x) - offset.x), TruncateToInt(double(o.y) - offset.y)};
    Rgb first{}, second{};
    if (const TReplay* lap = LapAt(scene, scene.comparedFirst)) first = lap->colour;
    if (const TReplay* lap = LapAt(scene, scene.comparedSecond)) second = lap->colour;
    static const std::vector<uint8_t> none;
    const Rgb c = MapCursorColour(*t, position, scene.comparisonShown,
                                  scene.segmentWinner != nullptr ? *scene.segmentWinner : none,
                                  first, second);
    line.colour = ToQRgb(c);
    return line;
}
