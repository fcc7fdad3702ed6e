#pragma once
// The axis commands of the View menu's "&X-Axis", "&Y-Axis" and "&2nd Y-Axis" pop-ups, in
// menu order, and their enabling rules. Their ids come from the command table
// (commands/CommandIds.h), as help topics are numbered by them.
#include <cstddef>

#include "commands/ViewState.h"
#include "views/graph/GraphGeometry.h"

class TDocument;

struct TAxisCommand {
    int id;
    const char* menuText;
    TAxisKind kind;
    TelemetryChannel channel;
    const char* hint;
};

extern const TAxisCommand kAxisCommands[17];

// The command with this id, or nullptr.
const TAxisCommand* FindAxisCommand(int id);
// Enabled unless the window is in map mode while the picture-in-picture window is closed.
bool AxisCommandEnabled(const TViewState& view);
// Checked exactly when the command's channel is the current channel of its axis.
bool AxisCommandChecked(const TDocument& doc, const TAxisCommand& command);
// The current channel of an axis (X, Y, Y2).
TelemetryChannel AxisChannel(const TDocument& doc, TAxisKind kind);

// View > Delta Strip, also the strip's own right-click menu: what the strip draws.
struct TDeltaModeCommand {
    int id;
    const char* menuText;
    TDeltaMode mode;
    const char* hint;
};
extern const TDeltaModeCommand kDeltaModeCommands[3];
