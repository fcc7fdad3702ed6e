#include "views/map/MapLapDots.h"

#include <QPainter>

#include <algorithm>

#include "channels/Channels.h"
#include "track/Geometry.h"

std::vector<TMapLapDot> MapLapDots(const TMapScene& scene, const MapView& view, TPixel offset,
                                   int32_t position) {
    std::vector<TMapLapDot> dots;
    const TTrackData* t = scene.track;
    if (t == nullptr || scene.laps == nullptr || position == NoCursor || !t->geometryPrepared() ||
        !(view.mapScale > 0) || !(t->inchesPerUnit > 0))
        return dots;
    const double feet = position * t->inchesPerUnit / 12;
    const double perFoot = 12 / t->inchesPerUnit;
    for (int i = 0; i < scene.laps->Count(); ++i) {
        const TReplay& lap = scene.laps->At(i);
        if (scene.hiddenLaps != nullptr &&
            std::find(scene.hiddenLaps->begin(), scene.hiddenLaps->end(), lap.serial) !=
                scene.hiddenLaps->end())
            continue;
        const double from = lap.startPosition * lap.inchesPerUnit / 12;
        const double to = lap.endPosition * lap.inchesPerUnit / 12;
        if (!(feet >= from && feet <= to)) continue;
        const double line = RawLineAt(lap, TimeAtPosition(lap, feet));
        const TrackPoint world = WorldPointAt(*t, position, TruncateToInt(line * perFoot));
        const TPixel c = CanvasPoint(view, world);
        dots.push_back(
            {{TruncateToInt(double(c.x) - offset.x), TruncateToInt(double(c.y) - offset.y)},
             qRgb(lap.colour.r, lap.colour.g, lap.colour.b)});
    }
    return dots;
}

void PaintLapDots(QPainter& p, const std::vector<TMapLapDot>& dots, int radius) {
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setRenderHint(QPainter::Antialiasing, true);
    for (const TMapLapDot& d : dots) {
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(QColor::fromRgb(d.colour));
        p.drawEllipse(QPointF(d.at.x + 0.5, d.at.y + 0.5), radius, radius);
    }
    p.restore();
}

QRect LapDotsRect(const std::vector<TMapLapDot>& dots, int radius) {
    QRect r;
    for (const TMapLapDot& d : dots)
        r |= QRect(d.at.x - radius - 2, d.at.y - radius - 2, 2 * radius + 5, 2 * radius + 5);
    return r;
}
