#pragma once
// The recent-files list of the File menu: up to four full document paths, newest first,
// kept in the settings file (section "recent", keys "file1" to "file4") so that it
// survives between runs. Every change is written at once.
#include <string>
#include <vector>

class ProfileFile;

inline constexpr size_t kRecentFileCount = 4;

std::vector<std::string> ReadRecentFiles(const ProfileFile& settings);
// Moves path to the top (or adds it there), dropping the oldest beyond four.
void PutOnRecentFiles(ProfileFile& settings, const std::string& path);
