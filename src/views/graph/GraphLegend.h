#pragma once
// The legend: a small box in the plot's top-right corner naming each lap beside a stroke of
// its colour, so that laps of similar colours can be told apart. Drawn only when the user
// turned it on (View > Legend) and the graph shows two or more laps.
#include <QRect>

#include "views/graph/GraphAxes.h"

class QPainter;

// The box the legend takes, empty when none is drawn.
QRect GraphLegendRect(const TGraphPaintInput& in);
void DrawGraphLegend(QPainter& p, const TGraphPaintInput& in);
