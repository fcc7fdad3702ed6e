#pragma once
// What every command works on: the document, the view state, what the program remembers
// between documents, the track list, the settings file and the prompts. The main window
// holds one and hands it to each command.
#include "commands/Document.h"
#include "commands/Prompts.h"
#include "commands/SessionState.h"
#include "commands/ViewState.h"

class ProfileFile;
class TTrackList;

struct TCommandContext {
    TDocument& doc;
    TViewState& view;
    TSessionState& session;
    TTrackList& tracks;
    ProfileFile& settings;
    TPrompts& prompts;
};

// The current track, or nullptr when the document has none (or the index is stale).
const TTrackData* CurrentTrack(const TCommandContext& ctx);

// After the laps or the track changed as a whole: the views reset their ranges to the
// document's extents and the whole window is marked for repainting.
void AnnounceLapsChanged(TCommandContext& ctx);
// The main view repaints all of its picture.
void RequestRepaint(TCommandContext& ctx);
