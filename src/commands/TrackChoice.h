#pragma once
// Which track a replay belongs to: the remembered associations and the tracks' own path
// patterns decide, or the user is asked in Choose Track, whose answer can be remembered for
// the replay's directory.
#include <string>

#include "commands/CommandContext.h"

// The track index for the replay at path, or -1 when the user cancelled. The path itself
// is not changed (matching uses a lower-case copy), so that it still opens on file systems
// that tell case apart.
int ChooseTrackForReplay(TCommandContext& ctx, const std::string& path);
// The same, with the scope text and a remembered fragment taken from the directory of
// scopePath rather than path: for a replay taken out of an archive, path is the extracted
// copy in its temporary directory and scopePath the archive, whose directory is the one
// the user knows (remembering the temporary directory's name would tie every later
// archive to this track).
int ChooseTrackForReplay(TCommandContext& ctx, const std::string& path,
                         const std::string& scopePath);
