#pragma once
// The map coloured by a channel: the reference lap's values at each point of its line, the
// range they span, the colour of a value within it, and the legend bar in the window's
// top-right corner. The line itself is drawn with the map (MapDrawing.h).
#include <QRgb>
#include <QSize>
#include <QString>

#include <vector>

#include "commands/ViewState.h"
#include "document/TReplay.h"
#include "track/TTrackData.h"

class QPainter;

struct TLapColouring {
    std::vector<double> values;  // one per point of the lap's line (LapLinePoints); NaN for none
    bool any = false;            // a value exists; min and max are then its extremes
    double min = 0, max = 0;
    // Time Delta: values are gains (below zero) and losses (above), drawn through
    // DeltaColour on a range symmetric about zero (min = -max).
    bool diverging = false;
};

// The lap's values of colour at the times of its line's points. Time Delta is the lap's
// delta rate against reference (DeltaRate: seconds lost per 100 feet) at the distance the
// lap has driven, where both laps cover it.
TLapColouring LapColouring(const TTrackData* track, const TReplay& lap, TMapColour colour,
                           const TReplay* reference);

// The colour map's colour for value within min .. max; a range without width gives its
// middle colour.
QRgb ColourForValue(double value, double min, double max);

// Time Delta's colour for a value within -limit .. limit: a gain green, a loss red, the
// deeper the larger; zero a neutral grey.
QRgb DeltaColour(double value, double limit);
// The segment colour of a colouring's value: DeltaColour or ColourForValue.
QRgb ColouringColour(const TLapColouring& colouring, double value);

// Time Delta's legend, in the same corner: "Delta rate (s/100 ft)", the coloured lap against
// the reference ("A vs B"), a bar from gain to loss, and "gain" and "loss" with the limit under
// its ends.
void DrawDeltaLegend(QPainter& p, QSize client, const QString& lap, const QString& reference,
                     double limit);

// The legend: the channel's name and unit, a bar running from the lowest colour at its left
// to the highest at its right, and the minimum and maximum under its ends, in a framed box
// 8 pixels in from the top-right corner of a client of this size.
void DrawMapLegend(QPainter& p, QSize client, TMapColour colour, double min, double max);
// The box the legend takes in that client.
struct TLegendBox {
    int left = 0, top = 0, width = 0, height = 0;
    int barLeft = 0, barTop = 0, barWidth = 0, barHeight = 0;
};
TLegendBox MapLegendBox(QSize client);
TLegendBox DeltaLegendBox(QSize client);
// "112.5" with the channel's decimals.
std::string LegendValueText(TMapColour colour, double value);
