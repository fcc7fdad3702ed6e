#pragma once
// What several korvale-cli commands share: loading the track database, settling a replay's
// track, and reading a document with its track. Each prints its own message on stderr,
// prefixed with the command's name, and returns false (or -1) on failure.
#include <string>

#include "cli/Options.h"
#include "document/KvlFile.h"
#include "replay/OpenReplay.h"
#include "track/TrackList.h"

namespace cli {

// The tracks of --tracks PATH (or tracks.dat beside the executable), in track-list order.
bool LoadTracks(const Options& options, const char* command, TTrackList& tracks,
                std::string& tracksPath);

// --track NAME, or the one track whose path patterns match the replay's path. -1 after a
// message, naming the replay as shown, when neither settles it.
int ResolveReplayTrack(const Options& options, const TTrackList& tracks,
                       const std::string& tracksPath, const std::string& replayPath,
                       const char* command, const std::string& shown);

// False after printing "Error opening replay" and the system's reason when the replay
// cannot be opened, so that no track is sought for a file that is not there.
bool ReplayReadable(const std::string& replayPath, const char* command, const std::string& shown);

// The message of OpenReplay's status, with the system's reason when it was the opening
// that failed.
std::string ReplayMessage(TReplayReadStatus status, const std::string& replayPath);

// Reads a whole document; false after printing the reader's message (title "Open Error").
bool LoadDocument(const std::string& path, const TTrackList& tracks, const char* command,
                  KvlReadResult& result);

}  // namespace cli
