#pragma once
// The graph's value ranges: the full range from the channel extents, and the view range
// that zooming changes. Both live in the graph's view state; these functions only compute.
#include "channels/Channels.h"
#include "views/graph/GraphGeometry.h"

class TDocument;

// fullRange and viewRange from the document's extents for its axes; discards any zoom.
void ResetGraphRanges(const TDocument& doc, TGraphViewState& graph);
// The same from given extents and axes.
void ResetGraphRanges(const ChannelRange& extents, const TGraphAxes& axes, TGraphViewState& graph);

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
