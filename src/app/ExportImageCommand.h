#pragma once
// File > Export Image: the size dialog, the file dialog (its filter chooses PNG or SVG),
// and the picture of what the main window shows written there.
#include <QSize>

#include "app/ImageExport.h"

class TDocument;
struct TCommandContext;

inline constexpr const char* kImageFilter = "PNG Image (*.png)|*.png|SVG Image (*.svg)|*.svg|";
inline constexpr const char* kExportImageTitle = "Export Image";

// Enabled when the document holds a lap.
bool ExportImageEnabled(const TDocument& doc);
// windowSize: the size the view shows now; map: the map window's state when view is the map.
// True when a picture was written.
bool ExportImageCommand(TCommandContext& ctx, TImageView view, QSize windowSize, int dpiY,
                        const TMapPicture* map = nullptr);
