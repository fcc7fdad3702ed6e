#include "commands/RecentFiles.h"

#include <algorithm>

#include "platform/ProfileFile.h"

namespace {
std::string RecentKey(size_t i) {
    return "file" + std::to_string(i + 1);
}
}  // namespace

std::vector<std::string> ReadRecentFiles(const ProfileFile& settings) {
    std::vector<std::string> out;
    for (size_t i = 0; i < kRecentFileCount; ++i) {
        std::string p = settings.ReadText("recent", RecentKey(i), "", 260);
        if (!p.empty()) out.push_back(std::move(p));
    }
    return out;
}

void PutOnRecentFiles(ProfileFile& settings, const std::string& path) {
    if (path.empty()) return;
    std::vector<std::string> list = ReadRecentFiles(settings);
    list.erase(std::remove(list.begin(), list.end(), path), list.end());
    list.insert(list.begin(), path);
    if (list.size() > kRecentFileCount) list.resize(kRecentFileCount);
    for (size_t i = 0; i < kRecentFileCount; ++i)
        settings.WriteText("recent", RecentKey(i), i < list.size() ? list[i] : std::string());
}
