#pragma once
// View > Corner Names on the map: each corner's name written beside the track, just beyond
// the edge across from the reference edge at the corner's position.
#include <QImage>

#include "views/map/MapDrawing.h"

void DrawMapCornerNames(QImage& image, TPixel offset, const MapView& view, const TMapScene& scene);
