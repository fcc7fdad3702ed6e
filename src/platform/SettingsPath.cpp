#include "platform/SettingsPath.h"

#include <cstdlib>
#include <filesystem>

std::string SettingsPath(const std::string& exeDir) {
    const char* env = std::getenv(kSettingsEnvironmentVariable);
    if (env != nullptr && *env != '\0') return env;
    return (std::filesystem::path(exeDir) / kSettingsFileName).string();
}
