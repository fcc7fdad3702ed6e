#pragma once
// The archive step of the import commands: list the archive's replays, let the user pick
// one, extract it into a fresh temporary directory with the progress dialog shown.
#include <string>

#include "commands/CommandContext.h"

inline constexpr const char* kArchiveErrorTitle = "RPZWin Error";
inline constexpr const char* kMsgNoTemporaryPath = "Unable to create temporary path";

// True with extractedPath set to the extracted replay, which the command removes with its
// directory when it ends. False after a cancel, an Abort, or the one message shown; nothing
// the step made is then left on disk.
bool ExtractReplayFromArchive(TCommandContext& ctx, const std::string& archivePath,
                              std::string& extractedPath);
