#include "replay/ArchiveExtract.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/TextCase.h"

namespace fs = std::filesystem;

namespace {

enum class MakeResult { Made, Taken, Impossible };

MakeResult MakeDirectory(const fs::path& path) {
    std::error_code ec;
    // Anything of that name, even a dangling link, keeps the number taken.
    if (fs::exists(fs::symlink_status(path, ec))) return MakeResult::Taken;
    if (fs::create_directory(path, ec)) return MakeResult::Made;
    // Made by someone else a moment ago: try the next number.
    if (fs::exists(fs::symlink_status(path, ec))) return MakeResult::Taken;
    return MakeResult::Impossible;
}

std::string FirstFreeDirectory(const fs::path& parent, const std::string& prefix, int limit) {
    for (int i = 0; i < limit; ++i) {
        const fs::path candidate = parent / (prefix + std::to_string(i));
        switch (MakeDirectory(candidate)) {
            case MakeResult::Made:
                return candidate.string() + "/";
            case MakeResult::Taken:
                continue;
            case MakeResult::Impossible:
                return {};
        }
    }
    return {};
}

}  // namespace

std::vector<TArchiveMember> SortedMembers(std::vector<TArchiveMember> members) {
    std::stable_sort(members.begin(), members.end(),
                     [](const TArchiveMember& a, const TArchiveMember& b) {
                         const std::string la = LowerCaseCopy(a.name), lb = LowerCaseCopy(b.name);
                         return la != lb ? la < lb : a.name < b.name;
                     });
    return members;
}

std::string CreateArchiveTempDirectory(const std::string& archivePath, int limit) {
    fs::path parent = fs::path(archivePath).parent_path();
    if (parent.empty()) parent = ".";
    std::string made = FirstFreeDirectory(parent, "td", limit);
    if (!made.empty()) return made;
    std::error_code ec;
    const fs::path temp = fs::temp_directory_path(ec);
    if (ec) return {};
    return FirstFreeDirectory(temp, "korvale-td", limit);
}

void RemoveArchiveTempDirectory(const std::string& directory) {
    if (directory.empty()) return;
    std::error_code ec;
    // Not remove_all: whatever else someone put there is not ours to delete.
    fs::remove(fs::path(directory), ec);
}

void RemoveExtractedReplay(const std::string& extractedPath) {
    if (extractedPath.empty()) return;
    std::error_code ec;
    const fs::path extracted(extractedPath);
    fs::remove(extracted, ec);
    fs::remove(extracted.parent_path(), ec);
}

bool IsReplayArchivePath(const std::string& path) {
    return LowerCaseCopy(fs::path(path).extension().string()) == ".rpz";
}
