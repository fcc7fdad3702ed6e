#include "views/graph/GraphVector.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include "analysis/LapAnalysis.h"
#include "commands/CommandContext.h"
#include "commands/LapVisibility.h"
#include "views/graph/DeltaStrip.h"
#include "views/graph/GraphAxes.h"
#include "views/graph/GraphCurves.h"
#include "views/graph/GraphLegend.h"

void PaintGraphVector(QPainter& p, const TCommandContext& ctx, QSize size, int dpiY) {
    const TTrackData* track = CurrentTrack(ctx);
    // The time-delta strip below the plot, as the window shows it.
    const int strip =
        DeltaStripShown(ctx.doc, ctx.view, track) ? DeltaStripHeight(size.height()) : 0;
    const int graphHeight = size.height() - strip;
    const TGraphPaintInput in{ctx.doc,     ctx.view, track, size.width(),
                              graphHeight, 1,        dpiY,  TAxisKind::None};
    p.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    DrawGraphAxes(p, in);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    // The pixel picture leaves each polyline's end pixel out; a path of the same corners
    // differs from it only in that last pixel, which a vector picture has no notion of.
    const bool second = in.Axes().HasSecond();
    for (int n = 0; n < ctx.doc.laps().Count(); ++n) {
        const TReplay& lap = ctx.doc.laps().At(n);
        if (LapHidden(ctx.view, lap.serial)) continue;  // as on the screen
        p.setPen(QPen(QColor(lap.colour.r, lap.colour.g, lap.colour.b), 0));
        for (bool lower : {false, true}) {
            if (lower && !second) break;
            QPainterPath path;
            for (const QPolygon& line : LapCurve(lap, in, lower)) {
                if (line.size() < 2) continue;
                path.moveTo(line.front());
                for (int k = 1; k < line.size(); ++k) path.lineTo(line[k]);
            }
            if (!path.isEmpty()) p.drawPath(path);
        }
    }
    p.restore();
    if (strip > 0) {
        // The strip's bars are pixels on the screen too: it goes in as the picture's part.
        QImage image(size, QImage::Format_RGB32);
        if (!image.isNull()) {
            image.fill(Qt::white);
            const int reference =
                ReferenceLap(ctx.doc.laps().Pointers(), ctx.view.analysis.referenceSerial);
            DrawDeltaStrip(image, in, DeltaStripGeometry(in.Geometry(), graphHeight, strip),
                           reference);
            const QRect area(0, graphHeight, size.width(), strip);
            p.drawImage(area, image, area);
        }
    }
    DrawGraphLegend(p, in);
}
