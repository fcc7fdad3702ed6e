#pragma once
// Laps the user hid from the views (the replay info window's check boxes). Hiding is view
// state: the lap stays in the document, is saved, exported and counted as before; only the
// graph, the map, the speed comparison's drawing, the legend and the data window leave it
// out. Laps are named by serial, which is unique while the document holds laps.
#include <cstdint>
#include <vector>

#include "channels/Channels.h"
#include "commands/ViewState.h"

class TDocument;
class TReplay;

bool LapHidden(const TViewState& view, int32_t serial);
// Hides or shows a lap; false when that changed nothing.
bool SetLapHidden(TViewState& view, int32_t serial, bool hidden);
// Shows every lap again; false when none was hidden.
bool ShowAllLaps(TViewState& view);
// Forgets serials of laps the document no longer holds (serials start again after a clear).
void PruneHiddenLaps(TViewState& view, const TDocument& doc);
// Whether any lap of the document is hidden.
bool AnyLapHidden(const TDocument& doc, const TViewState& view);

// The laps the views show, in document order.
std::vector<const TReplay*> ShownLaps(const TDocument& doc, const TViewState& view);
// The channel extents the graph's ranges come from: the document's own while every lap is
// shown (the very same values), otherwise those of the shown laps, so that a hidden lap
// leaves the graph as the document without it would show it.
ChannelRange ShownExtents(const TDocument& doc, const TViewState& view);
