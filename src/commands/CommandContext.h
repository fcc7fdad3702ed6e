#pragma once
// What every command works on: the document and view state, the track list, the settings
// file and the prompts. The main window holds one and hands it to each command.
#include "commands/DocumentState.h"
#include "commands/Prompts.h"

class ProfileFile;
class TTrackList;

struct TCommandContext {
    TDocumentState& doc;
    TTrackList& tracks;
    ProfileFile& settings;
    TPrompts& prompts;
};

// The current track, or nullptr when the document has none (or the index is stale).
const TTrackData* CurrentTrack(const TCommandContext& ctx);

// After the laps or the track changed: recompute the channel extents over all laps, ask the
// views to reset their ranges, and mark the whole window for repainting.
void RecomputeExtents(TCommandContext& ctx);
