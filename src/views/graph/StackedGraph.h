#pragma once
// View > Stacked Channels: each chosen channel in its own pane, one above the other, all on
// the graph's x axis with its zoom, the cursor line and the corner marks; the time delta
// strip, when shown, stays below the last pane. Each pane's y range is its channel's range
// over the laps shown with the usual margins, labelled as the single graph labels its y axis.
#include <QImage>
#include <string>
#include <vector>

#include "views/graph/GraphAxes.h"

inline constexpr int kStackedPaneGap = 10;  // rows between two panes
inline constexpr int kMaxStackedPanes = 7;  // one per channel

struct TStackedPane {
    TelemetryChannel channel = TelemetryChannel::Speed;
    TGraphGeometry g;  // the whole client's columns, the pane's own rows
    TRange y;          // the channel's full range
};

// The axes the stacked graph draws with: the document's x, no second y-axis.
TGraphAxes StackedAxes(const TDocument& doc);
// The panes for a client of width x height (the rows above the delta strip).
std::vector<TStackedPane> StackedPanes(const TDocument& doc, const TViewState& view, int width,
                                       int height);
// The pane row y belongs to: the one it lies in, else the nearest; -1 without panes.
int StackedPaneAt(const std::vector<TStackedPane>& panes, int y);
// The channel's value at row y of a pane.
double StackedValueAt(const TStackedPane& pane, int y);

// Draws the stacked graph over the whole of image, which is filled white first; in is the
// whole client's paint input.
void RenderStackedGraph(QImage& image, const TGraphPaintInput& in);

// The rubber band's zoom of the stacked graph: the x range between the two columns, as the
// single graph's zoom computes it (no narrower than a thousandth of the full range); false
// when nothing changed.
bool ZoomXToColumns(TGraphViewState& graph, int anchorX, int x, const TGraphGeometry& g);

// The settings' form of a channel list, "2,3,4,5" (channel numbers); reading keeps the
// channels 0 to 6 once each in their order and gives the default for nothing usable.
std::string StackedChannelsText(const std::vector<TelemetryChannel>& channels);
std::vector<TelemetryChannel> ParseStackedChannels(const std::string& text);
