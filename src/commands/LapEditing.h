#pragma once
// Renaming and recolouring a lap, deleting a lap, and the Lap menu commands that first let
// the user pick the lap.
#include <string>
#include <vector>

#include "commands/CommandContext.h"

// "%s  %7.3f s=%7.3f mph" per document lap: driver name, lap time, average speed.
std::vector<std::string> LapChoiceTexts(const TDocument& doc);

// Edit Replay Info on lap index; true when the lap changed. A change of letter case alone,
// with the colour kept, is not stored.
bool EditLap(TCommandContext& ctx, int32_t index);
// "Delete this lap?"; true when the lap was removed (the document is cleared with the last).
bool DeleteLap(TCommandContext& ctx, int32_t index);

// Lap menu Edit Info and Delete Lap: Select a Lap first, then the operation.
void EditInfoCommand(TCommandContext& ctx);
void DeleteLapCommand(TCommandContext& ctx);
// Both are enabled when the document holds at least one lap.
bool LapCommandsEnabled(const TDocument& doc);
