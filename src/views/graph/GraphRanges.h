#pragma once
// The graph's value ranges: the full range from the channel extents, and the view range
// that zooming changes. Both live in the document state; these functions only compute.
#include "views/graph/GraphGeometry.h"

struct TDocumentState;

// fullRange and viewRange from doc.extents for the current axes; discards any zoom.
void ResetGraphRanges(TDocumentState& doc);

// x or y of viewRange differs from fullRange in any bound (the second axis is not counted).
bool GraphZoomed(const TDocumentState& doc);

// The shown span of each axis doubles about its centre, held inside the full range.
void ZoomOutRanges(TDocumentState& doc);

// Zoom into the rectangle from anchor to corner (client pixels, both inside the plot).
// A rectangle without height (or a click at the anchor) is refused: it would make the
// y span zero and the half test of the second y-axis divide by zero. Returns whether the
// view range changed.
bool ZoomToRect(TDocumentState& doc, int anchorX, int anchorY, int x, int y,
                const TGraphGeometry& g);
