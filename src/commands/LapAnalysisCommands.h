#pragma once
// The lap analysis commands: Lap > Set Reference Lap, and the settings of the time delta
// strip. The reference lap is view state, never stored in the document.
#include <cstdint>

#include "commands/CommandContext.h"

// The reference lap's index in the document: the lap the user picked while it exists,
// otherwise the fastest lap; -1 without laps.
int32_t ReferenceLapIndex(const TCommandContext& ctx);

// The lap selected in the lap list, -1 for none (or one no longer in the document).
int32_t SelectedLapIndex(const TCommandContext& ctx);

// The two laps View > Speed Comparison compares, -1 for none: with exactly two laps the
// first and the second; with more the reference lap and the lap selected in the lap list,
// else the fastest other lap.
struct TComparedLaps {
    int32_t first = -1, second = -1;
};
TComparedLaps ComparedLaps(const TCommandContext& ctx);

// Select a Lap, starting on the current reference lap; on OK that lap becomes the reference
// and the graph repaints. Enabled when the document holds a lap.
void SetReferenceLapCommand(TCommandContext& ctx);

// After the document was cleared (New, Open, the last lap deleted): back to the fastest
// lap, as serials start again and a picked serial could name another lap.
void ForgetReferenceLap(TViewState& view);

// View > Time Delta is on: settings "view", "timedelta" (0 or 1, default 0).
bool ReadTimeDeltaSetting(ProfileFile& settings);
void WriteTimeDeltaSetting(ProfileFile& settings, bool shown);

// What the delta strip draws: settings "view", "deltamode" (0 running, 1 from the left
// edge, 2 rate; anything else is running). Written only when the user chooses.
TDeltaMode ReadDeltaModeSetting(const ProfileFile& settings);
void WriteDeltaModeSetting(ProfileFile& settings, TDeltaMode mode);
