#include "app/AppPaths.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/DataPath.h"
#include "platform/SettingsPath.h"

namespace fs = std::filesystem;

std::string UserConfigHome() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg != nullptr && *xdg == '/') return xdg;
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0') return (fs::path(home) / ".config").string();
    return {};
}

AppPaths LocateAppPaths(const std::string& exeDir, const std::string& configHome) {
    AppPaths paths;
    paths.helpFile = LocateDataFile(exeDir, kHelpFileName);
    paths.trackData = LocateDataFile(exeDir, kTrackDataFileName);

    const char* env = std::getenv(kSettingsEnvironmentVariable);
    if (env != nullptr && *env != '\0') {
        paths.settingsFile = SettingsPath(exeDir);  // the variable's file
        return paths;
    }
    const fs::path beside = fs::path(exeDir) / kSettingsFileName;
    std::error_code ec;
    // An existing writable file, or a writable directory to make it in. An installed
    // program (its data under ../share/korvale) never writes into its bin directory, even
    // when run by a user who could.
    const bool besideWritable = fs::exists(beside, ec) ? ::access(beside.c_str(), W_OK) == 0
                                                       : ::access(exeDir.c_str(), W_OK) == 0;
    const bool installed = DataFileIsInstalled(exeDir, kTrackDataFileName);
    if (besideWritable && !installed) {
        paths.settingsFile = beside.string();
        return paths;
    }
    // No configuration directory (no HOME, as for a service), or one that cannot be made:
    // the program runs with its defaults and writes no settings file anywhere.
    if (configHome.empty()) return paths;
    const fs::path dir = fs::path(configHome) / "korvale";
    fs::create_directories(dir, ec);
    if (!fs::is_directory(dir, ec) || ::access(dir.c_str(), W_OK) != 0) return paths;
    paths.settingsFile = (dir / kSettingsFileName).string();
    return paths;
}
