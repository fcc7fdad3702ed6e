#include "platform/DataPath.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {
fs::path BesideExecutable(const std::string& exeDir, const std::string& name) {
    return fs::path(exeDir) / name;
}
fs::path InSharedData(const std::string& exeDir, const std::string& name) {
    return (fs::path(exeDir) / ".." / "share" / "korvale" / name).lexically_normal();
}
}  // namespace

std::string LocateDataFile(const std::string& exeDir, const std::string& name) {
    std::error_code ec;
    const fs::path beside = BesideExecutable(exeDir, name);
    if (fs::exists(beside, ec)) return beside.string();
    const fs::path shared = InSharedData(exeDir, name);
    if (fs::exists(shared, ec)) return shared.string();
    return beside.string();
}

bool DataFileIsInstalled(const std::string& exeDir, const std::string& name) {
    std::error_code ec;
    return !fs::exists(BesideExecutable(exeDir, name), ec) &&
           fs::exists(InSharedData(exeDir, name), ec);
}
