#include "commands/RecentFiles.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

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

namespace {
void WriteRecentFiles(ProfileFile& settings, std::vector<std::string> list) {
    if (list.size() > kRecentFileCount) list.resize(kRecentFileCount);
    for (size_t i = 0; i < kRecentFileCount; ++i)
        settings.WriteText("recent", RecentKey(i), i < list.size() ? list[i] : std::string());
}

}  // namespace

std::string AbsolutePath(const std::string& path) {
    if (path.empty()) return path;
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    return ec ? path : absolute.lexically_normal().string();
}

void PutOnRecentFiles(ProfileFile& settings, const std::string& path) {
    if (path.empty()) return;
    const std::string stored = AbsolutePath(path);
    std::vector<std::string> list = ReadRecentFiles(settings);
    list.erase(std::remove(list.begin(), list.end(), stored), list.end());
    list.insert(list.begin(), stored);
    WriteRecentFiles(settings, std::move(list));
}

void RemoveFromRecentFiles(ProfileFile& settings, const std::string& path) {
    std::vector<std::string> list = ReadRecentFiles(settings);
    const size_t before = list.size();
    list.erase(std::remove(list.begin(), list.end(), path), list.end());
    if (list.size() != before) WriteRecentFiles(settings, std::move(list));
}
