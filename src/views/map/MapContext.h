#pragma once
// Where the map and the picture-in-picture window find the document and the shared view
// state they read and the few view fields they write (cursor, drag), in one place.
#include <utility>

#include "commands/CommandContext.h"
#include "commands/LapAnalysisCommands.h"
#include "views/map/MapDrawing.h"

namespace mapctx {

inline const TLapList& Laps(const TCommandContext& c) {
    return c.doc.laps();
}
inline int32_t ViewMode(const TCommandContext& c) {
    return c.view.viewMode;
}
inline int32_t& Cursor(TCommandContext& c) {
    return c.view.cursorPosition;
}
inline int32_t Cursor(const TCommandContext& c) {
    return c.view.cursorPosition;
}
// The rubber band belongs to the main window, whichever view it shows.
inline bool& Dragging(TCommandContext& c) {
    return c.view.graph.dragging;
}
inline bool Dragging(const TCommandContext& c) {
    return c.view.graph.dragging;
}
inline bool& DragEnabled(TCommandContext& c) {
    return c.view.graph.dragEnabled;
}
inline bool PipShown(const TCommandContext& c) {
    return c.view.side.pipShown;
}
inline TelemetryChannel XAxis(const TCommandContext& c) {
    return c.doc.axes().x;
}
// The graph's shown x range (lowest, highest).
inline std::pair<double, double> XRange(const TCommandContext& c) {
    return {c.view.graph.viewRange.x.min, c.view.graph.viewRange.x.max};
}

// What the map is drawn from: the track when it has geometry, the laps, the markers.
inline TMapScene Scene(const TCommandContext& c, TLapLineCache& lines) {
    TMapScene s;
    const TTrackData* t = CurrentTrack(c);
    s.track = t != nullptr && t->hasGeometry() ? t : nullptr;
    s.laps = &c.doc.laps();
    s.comparisonShown = c.view.map.comparisonShown;
    s.segmentWinner = &c.view.map.segmentWinner;
    if (c.doc.laps().Count() > 2) {
        const TComparedLaps compared = ComparedLaps(c);
        s.comparedFirst = compared.first;
        s.comparedSecond = compared.second;
        s.comparisonLegend = true;
    }
    s.extraLinesShown = c.view.map.otherMarkersShown;
    s.lines = &lines;
    s.hiddenLaps = &c.view.hiddenLaps;
    s.colour = c.view.map.colour;
    if (s.colour != TMapColour::Laps) {
        // The reference lap of the analysis (or the fastest), else the first. Time Delta
        // colours the lap selected in the lap list, else the first other lap, by its delta
        // rate against it.
        const int32_t count = c.doc.laps().Count();
        int32_t reference = ReferenceLapIndex(c);
        if (reference < 0 && count > 0) reference = 0;
        if (s.colour != TMapColour::TimeDelta) {
            s.colouredLap = reference;
        } else if (reference >= 0 && count > 1) {
            s.colouredLap = reference == 0 ? 1 : 0;
            const int32_t selected = c.doc.laps().IndexOfSerial(c.view.analysis.selectedSerial);
            if (selected >= 0 && selected != reference) s.colouredLap = selected;
            s.deltaReference = reference;
        }
    }
    return s;
}

}  // namespace mapctx
