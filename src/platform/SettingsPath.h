#pragma once
// Where the settings file lives: KORVALE_SETTINGS when it is set (tests and users point it
// elsewhere with it), otherwise korvale.ini beside the executable.

#include <string>

inline constexpr const char* kSettingsFileName = "korvale.ini";
inline constexpr const char* kSettingsEnvironmentVariable = "KORVALE_SETTINGS";

std::string SettingsPath(const std::string& exeDir);
