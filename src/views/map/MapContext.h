#pragma once
// Where the map and the picture-in-picture window find the document and the shared view
// state they read and the few view fields they write (cursor, drag, repaint), in one place.
#include <utility>

#include "commands/CommandContext.h"
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
// The rubber band and the full repaint belong to the main window, whichever view it shows.
inline bool& Dragging(TCommandContext& c) {
    return c.view.graph.dragging;
}
inline bool Dragging(const TCommandContext& c) {
    return c.view.graph.dragging;
}
inline bool& DragEnabled(TCommandContext& c) {
    return c.view.graph.dragEnabled;
}
inline bool& RepaintPending(TCommandContext& c) {
    return c.view.graph.repaintPending;
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
    s.extraLinesShown = c.view.map.otherMarkersShown;
    s.lines = &lines;
    return s;
}

}  // namespace mapctx
