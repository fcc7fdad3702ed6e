#pragma once
// Pictures of what the main window shows, for File > Export Image and korvale --render:
// the graph or the track map with the current axes, zoom and markers, without the pointer's
// overlays (cursor line, rubber band, axis highlight), as PNG or SVG.
#include <QImage>
#include <QSize>
#include <string>

#include "views/map/MapNavigation.h"

struct TCommandContext;
class TLapLineCache;

// The largest picture either way of making one: 8K UHD.
inline constexpr int kMaxImageWidth = 7680;
inline constexpr int kMaxImageHeight = 4320;

enum class TImageView { Graph, Map };

// What a picture of the map starts from: the map window's zoom and scroll position at its
// client size, and its laps' lines. Without one (a batch picture) the whole map is fitted.
struct TMapPicture {
    TMapNavigation nav;
    QSize client;
    TLapLineCache* lines = nullptr;
};
enum class TImageFormat { Png, Svg };

// SVG for a name ending in ".svg" (any case), PNG for everything else.
TImageFormat ImageFormatFor(const std::string& path);
// Whether a picture of this size may be made: 1 x 1 up to kMaxImageWidth x kMaxImageHeight.
bool ImageSizeAllowed(QSize size);

// The picture as the window's cached layer holds it at this size: at the window's own
// size, pixel for pixel what the screen shows without the overlays.
// A map picture at another size than the window's shows the window's region scaled by the
// smaller of the two size ratios, as the picture-in-picture window does.
QImage RenderViewImage(const TCommandContext& ctx, TImageView view, QSize size, int dpiY,
                       const TMapPicture* map = nullptr);

// Writes the picture to path in the format its name asks for, replacing the file only once
// the whole picture is written. False with error set to why.
bool WriteViewImage(const TCommandContext& ctx, TImageView view, QSize size, int dpiY,
                    const std::string& path, std::string& error, const TMapPicture* map = nullptr);
