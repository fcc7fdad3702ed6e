#pragma once
// The lap analysis commands: Lap > Set Reference Lap, and the settings of the time delta
// strip. The reference lap is view state, never stored in the document.
#include <cstdint>

#include "commands/CommandContext.h"

// The reference lap's index in the document: the lap the user picked while it exists,
// otherwise the fastest lap; -1 without laps.
int32_t ReferenceLapIndex(const TCommandContext& ctx);

// Select a Lap, starting on the current reference lap; on OK that lap becomes the reference
// and the graph repaints. Enabled when the document holds a lap.
void SetReferenceLapCommand(TCommandContext& ctx);

// After the document was cleared (New, Open, the last lap deleted): back to the fastest
// lap, as serials start again and a picked serial could name another lap.
void ForgetReferenceLap(TViewState& view);

// View > Time Delta is on: settings "view", "timedelta" (0 or 1, default 0).
bool ReadTimeDeltaSetting(ProfileFile& settings);
void WriteTimeDeltaSetting(ProfileFile& settings, bool shown);
