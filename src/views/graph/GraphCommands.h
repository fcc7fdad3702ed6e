#pragma once
// The axis commands of the View menu's "&X-Axis", "&Y-Axis" and "&2nd Y-Axis" pop-ups, in
// menu order, and their enabling rules. The ids are command ids (help topics use them).
#include <cstddef>

struct TDocumentState;

struct TAxisCommand {
    int id;
    const char* menuText;
    int kind;  // 1 x, 2 y, 3 second y
    int channel;
    const char* hint;
};

extern const TAxisCommand kAxisCommands[17];

// The command with this id, or nullptr.
const TAxisCommand* FindAxisCommand(int id);
// Enabled unless the window is in map mode while the picture-in-picture window is closed.
bool AxisCommandEnabled(const TDocumentState& doc);
// Checked exactly when the command's channel is the current channel of its axis.
bool AxisCommandChecked(const TDocumentState& doc, const TAxisCommand& command);
// The current channel of an axis kind (1, 2, 3).
int AxisChannel(const TDocumentState& doc, int kind);
