#pragma once
// Where the map and the picture-in-picture window find the document and the shared view
// state they read and the few view fields they write (cursor, drag, repaint), in one place.
#include <utility>

#include "commands/CommandContext.h"
#include "views/map/MapDrawing.h"

namespace mapctx {

inline const TLapList& Laps(const TCommandContext& c) {
    return c.doc.laps;
}
inline int32_t ViewMode(const TCommandContext& c) {
    return c.doc.viewMode;
}
inline int32_t& Cursor(TCommandContext& c) {
    return c.doc.cursorPosition;
}
inline int32_t Cursor(const TCommandContext& c) {
    return c.doc.cursorPosition;
}
inline bool& Dragging(TCommandContext& c) {
    return c.doc.dragging;
}
inline bool Dragging(const TCommandContext& c) {
    return c.doc.dragging;
}
inline bool& DragEnabled(TCommandContext& c) {
    return c.doc.dragEnabled;
}
inline bool& RepaintPending(TCommandContext& c) {
    return c.doc.repaintPending;
}
inline bool PipShown(const TCommandContext& c) {
    return c.doc.pipShown;
}
inline int XAxis(const TCommandContext& c) {
    return c.doc.xAxis;
}
// The graph's shown x range (lowest, highest).
inline std::pair<double, double> XRange(const TCommandContext& c) {
    return {c.doc.viewRange[0], c.doc.viewRange[1]};
}

// What the map is drawn from: the track when it has geometry, the laps, the markers.
inline TMapScene Scene(const TCommandContext& c, TLapLineCache& lines) {
    TMapScene s;
    const TTrackData* t = CurrentTrack(c);
    s.track = t != nullptr && t->hasGeometry() ? t : nullptr;
    s.laps = &c.doc.laps;
    s.comparisonShown = c.doc.comparisonShown;
    s.segmentWinner = &c.doc.segmentWinner;
    s.extraLinesShown = c.doc.otherMarkersShown;
    s.lines = &lines;
    return s;
}

}  // namespace mapctx
