#pragma once
// The workspace's View commands: Grid, Cursor Line, the map's Corner Names, Stacked
// Channels and their choice, Dock Side Windows and the G-G plot. Each is off until the user
// turns it on, and its setting (section "view") is written only then.
#include <vector>

#include "app/WindowCommand.h"

class ProfileFile;
struct TViewState;

// The settings of section "view" that these commands keep, read when the window is made.
void ReadWorkspaceSettings(const ProfileFile& settings, TViewState& view);

const std::vector<TWindowCommand>& WorkspaceCommands();
