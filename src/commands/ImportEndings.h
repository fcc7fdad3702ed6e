#pragma once
// Steps shared by the two import commands.
#include <memory>
#include <string>

#include "commands/CommandContext.h"
#include "commands/Prompts.h"
#include "replay/OpenReplay.h"

// An import that added nothing: the track goes back to none only when no laps are held
// (then the caption says so again); reprepareTrack after a failed open, which may have
// touched the geometry of a track that stays current.
void EndImportWithoutLap(TCommandContext& ctx, bool reprepareTrack);
// Colour, append, data-window row, source replay, extents, repaint, dirty, caption.
void AddImportedLap(TCommandContext& ctx, std::unique_ptr<TReplay> lap,
                    const std::string& replayName);
// The lap texts and the mode-button hook the import dialogs use over this replay.
TImportLapSource ImportLapSource(TCommandContext& ctx, const TOpenReplay& replay);
bool CheckSelection(TCommandContext& ctx, const TOpenReplay& replay, const TImportLapXfer& xfer);
