#include "app/ImageExport.h"

#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>

#include <algorithm>
#include <cctype>

#include "commands/CommandContext.h"
#include "views/graph/GraphVector.h"
#include "views/graph/TGraphView.h"
#include "views/map/MapContext.h"
#include "views/map/MapDrawing.h"

TImageFormat ImageFormatFor(const std::string& path) {
    std::string tail = path.size() >= 4 ? path.substr(path.size() - 4) : path;
    std::transform(tail.begin(), tail.end(), tail.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return tail == ".svg" ? TImageFormat::Svg : TImageFormat::Png;
}

bool ImageSizeAllowed(QSize size) {
    return size.width() >= 1 && size.height() >= 1 && size.width() <= kMaxImageWidth &&
           size.height() <= kMaxImageHeight;
}

namespace {

// The map's view and scroll position for a picture of size.
TMapNavigation MapNavigationFor(const TCommandContext& ctx, QSize size, const TMapPicture* map) {
    const TTrackData* t = CurrentTrack(ctx);
    const TMapExtent extent = t != nullptr ? TMapExtent{t->mapWidth, t->mapHeight} : TMapExtent{};
    if (map != nullptr && map->nav.view.mapScale > 0) {
        if (size == map->client) return map->nav;
        TMapNavigation scaled;
        PipShowMap(scaled, size.width(), size.height(), map->nav, map->client.width(),
                   map->client.height(), extent, map->nav.view.mapScale);
        return scaled;
    }
    TMapNavigation fitted;
    MapEnter(fitted, size.width(), size.height(), extent);
    return fitted;
}

struct TMapSource {
    TMapNavigation nav;
    TPixel offset;
    TMapScene scene;
};

TMapSource MapSourceFor(const TCommandContext& ctx, QSize size, const TMapPicture* map,
                        TLapLineCache& local) {
    TMapSource s;
    s.nav = MapNavigationFor(ctx, size, map);
    s.offset = {kMapScrollUnit * s.nav.scroller.x, kMapScrollUnit * s.nav.scroller.y};
    s.scene = mapctx::Scene(ctx, map != nullptr && map->lines != nullptr ? *map->lines : local);
    s.scene.legendShown = true;
    return s;
}

void PaintVector(QPainter& p, const TCommandContext& ctx, TImageView view, QSize size, int dpiY,
                 const TMapPicture* map) {
    switch (view) {
        case TImageView::Graph:
            if (ctx.view.graph.stacked) {
                // The stacked panes go into the SVG as their picture.
                QImage image(size, QImage::Format_RGB32);
                RenderMainGraph(image, ctx, TAxisKind::None, dpiY);
                p.drawImage(0, 0, image);
            } else {
                PaintGraphVector(p, ctx, size, dpiY);
            }
            break;
        case TImageView::Map: {
            TLapLineCache local;
            const TMapSource s = MapSourceFor(ctx, size, map, local);
            PaintTrackMap(p, size, s.offset, s.nav.view, s.scene);
            break;
        }
    }
}

}  // namespace

QImage RenderViewImage(const TCommandContext& ctx, TImageView view, QSize size, int dpiY,
                       const TMapPicture* map) {
    if (!ImageSizeAllowed(size)) return {};
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull()) return image;  // no memory for it
    switch (view) {
        case TImageView::Graph:
            // The whole client: the time-delta strip and the legend as well.
            RenderMainGraph(image, ctx, TAxisKind::None, dpiY);
            break;
        case TImageView::Map: {
            TLapLineCache local;
            const TMapSource s = MapSourceFor(ctx, size, map, local);
            DrawTrackMap(image, s.offset, s.nav.view, s.scene);
            break;
        }
    }
    return image;
}

bool WriteViewImage(const TCommandContext& ctx, TImageView view, QSize size, int dpiY,
                    const std::string& path, std::string& error, const TMapPicture* map) {
    if (!ImageSizeAllowed(size)) {
        error = "the size must be from 1 x 1 to " + std::to_string(kMaxImageWidth) + " x " +
                std::to_string(kMaxImageHeight) + " pixels";
        return false;
    }
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString().toStdString();
        return false;
    }
    if (ImageFormatFor(path) == TImageFormat::Svg) {
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        // The layout counts in the screen's pixels; the file says so, so that a viewer shows
        // it at the window's size.
        svg.setResolution(dpiY);
        svg.setTitle(QStringLiteral("Korvale"));
        QPainter p;
        if (!p.begin(&svg)) {
            error = "the SVG picture could not be started";
            file.cancelWriting();
            return false;
        }
        PaintVector(p, ctx, view, size, dpiY, map);
        p.end();
    } else {
        const QImage image = RenderViewImage(ctx, view, size, dpiY, map);
        if (image.isNull()) {
            error = "not enough memory for a picture of that size";
            file.cancelWriting();
            return false;
        }
        if (!image.save(&file, "PNG")) {
            error = file.error() != QFileDevice::NoError
                        ? file.errorString().toStdString()
                        : std::string("the PNG could not be written");
            file.cancelWriting();
            return false;
        }
    }
    if (!file.commit()) {
        error = file.errorString().toStdString();
        return false;
    }
    return true;
}
