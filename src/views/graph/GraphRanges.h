#pragma once
// The graph's value ranges: the full range from the channel extents, and the view range
// that zooming changes. Both live in the graph's view state; these functions only compute.
#include "channels/Channels.h"
#include "views/graph/GraphGeometry.h"

class TDocument;

// fullRange and viewRange from the document's extents for its axes; discards any zoom.
void ResetGraphRanges(const TDocument& doc, TGraphViewState& graph);
// The same from the extents of the laps the views show (all of them unless some are hidden).
void ResetGraphRanges(const TDocument& doc, TViewState& view);
// The same from given extents and axes.
void ResetGraphRanges(const ChannelRange& extents, const TGraphAxes& axes, TGraphViewState& graph);

// After a reset (graph holds the new ranges): each axis that was zoomed to a range the new
// full range still holds shows that range again, so that hiding or showing a lap keeps the
// zoom wherever it can. previous is the view range before the reset.
void KeepZoomWithin(TGraphViewState& graph, const TAxisRanges& previous,
                    const TAxisRanges& previousFull);

// x or y of viewRange differs from fullRange in any bound (the second axis is not counted).
bool GraphZoomed(const TGraphViewState& graph);

// The shown span of each axis doubles about its centre, held inside the full range.
void ZoomOutRanges(TGraphViewState& graph);

// Zoom into the rectangle from anchor to corner (client pixels, both inside the plot).
// A rectangle without height (or a click at the anchor) is refused: it would make the
// y span zero and the half test of the second y-axis divide by zero. Returns whether the
// view range changed.
bool ZoomToRect(TGraphViewState& graph, int anchorX, int anchorY, int x, int y,
                const TGraphGeometry& g);

// ---- wheel zoom and panning ----
// These change viewRange as the rubber band and Zoom Out do, so that the enabling rules
// and Full Size treat them alike. Each returns whether the view range changed.

// One wheel notch zooms in (positive notches) or out by this factor.
inline constexpr double kWheelZoomFactor = 1.25;

// Zooms one axis by factor about the value at fraction f of its shown span (0 at its
// minimum, 1 at its maximum), so that this value keeps its place. The span stays within
// [minSpan, the full span] and the range within the full range; reaching the full span
// shows exactly the full range.
bool ZoomRangeAbout(TRange& view, const TRange& full, double f, double factor, double minSpan);

// Wheel zoom of the x-axis about the pixel column x (clamped to the plot): notches of
// kWheelZoomFactor, never narrower than a thousandth of the full x range, as the rubber band.
bool WheelZoomX(TGraphViewState& graph, int x, double notches, const TGraphGeometry& g);
// Wheel zoom of a y-axis about the pixel row y: the y-axis, or with a second y-axis the
// axis of the half the row lies in. Never narrower than a thousandth of its full range.
bool WheelZoomY(TGraphViewState& graph, int y, double notches, const TGraphGeometry& g);

// The x range moved by a whole range's share: from, shifted so that the graph follows a
// pointer dragged dx pixels to the right, held inside the full range with its span kept.
bool PanX(TGraphViewState& graph, const TRange& from, int dx, const TGraphGeometry& g);
