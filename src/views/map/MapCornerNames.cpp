#include "views/map/MapCornerNames.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "track/Geometry.h"

void DrawMapCornerNames(QImage& image, TPixel offset, const MapView& view, const TMapScene& scene) {
    const TTrackData* t = scene.track;
    if (t == nullptr || !t->geometryPrepared() || !(view.mapScale > 0) || !(t->inchesPerUnit > 0))
        return;
    QPainter p(&image);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    p.setFont(font);
    p.setPen(QColor(0, 0, 128));
    const QFontMetrics fm(font);
    const size_t count = std::min(t->cornerNames.size(), t->cornerPositions.size());
    for (size_t c = 0; c < count; ++c) {
        const double units = t->cornerPositions[c] * 12 / t->inchesPerUnit;
        if (!(std::fabs(units) < 2e9)) continue;
        const EdgePoints e = EdgePointsAt(*t, static_cast<int32_t>(units));
        const TPixel r = CanvasPoint(view, e.reference), o = CanvasPoint(view, e.other);
        // Out from the track across the other edge, six pixels clear of it.
        double dx = double(o.x) - r.x, dy = double(o.y) - r.y;
        const double len = std::hypot(dx, dy);
        if (len > 0) {
            dx /= len;
            dy /= len;
        }
        const double ax = o.x - offset.x + dx * 6, ay = o.y - offset.y + dy * 6;
        const QString name = QString::fromStdString(t->cornerNames[c]);
        const int w = fm.horizontalAdvance(name), h = fm.height();
        // The name stretches away from the track: to the left of a point on its left side,
        // above a point above it.
        const double x = dx < -0.3 ? ax - w : dx > 0.3 ? ax : ax - w / 2.0;
        const double y = dy < -0.3 ? ay - h : dy > 0.3 ? ay : ay - h / 2.0;
        p.drawText(QPointF(x, y + fm.ascent()), name);
    }
}
