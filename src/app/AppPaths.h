#pragma once
// Where the program finds its files. The track data and the help file sit beside the
// executable in a build tree and in ../share/korvale after `cmake --install`. The settings
// file sits beside the executable when that directory can be written, otherwise in the
// user's configuration directory, so that settings are never silently lost. An installed
// program always keeps them in the user's configuration directory; with none usable (no
// HOME, as for a service or a sandbox) settingsFile is empty and no settings are written.

#include <string>

#include "platform/DataPath.h"

inline constexpr const char* kHelpFileName = "Korvale.hlp";
inline constexpr const char* kTrackDataFileName = "tracks.dat";

struct AppPaths {
    std::string helpFile;
    std::string trackData;
    std::string settingsFile;
};

// exeDir: the directory of the program's own file. configHome: the user's configuration
// directory ($XDG_CONFIG_HOME or ~/.config); empty when unknown.
AppPaths LocateAppPaths(const std::string& exeDir, const std::string& configHome);

// The user's configuration directory from the environment; empty when none is set.
std::string UserConfigHome();
