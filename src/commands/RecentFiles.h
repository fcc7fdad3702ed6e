#pragma once
// The recent-files list of the File menu: up to four full document paths, newest first,
// kept in the settings file (section "recent", keys "file1" to "file4") so that it
// survives between runs. Every change is written at once.
#include <string>
#include <vector>

class ProfileFile;

inline constexpr size_t kRecentFileCount = 4;

std::vector<std::string> ReadRecentFiles(const ProfileFile& settings);
// Moves path to the top (or adds it there), dropping the oldest beyond four. The path is
// stored absolute, so that the entry still names its file when the program starts from
// another folder.
void PutOnRecentFiles(ProfileFile& settings, const std::string& path);
// Takes path off the list (a file that is gone), the others moving up.
void RemoveFromRecentFiles(ProfileFile& settings, const std::string& path);

// path made absolute against the current folder and without "." and ".." parts; path itself
// when the current folder cannot be known.
std::string AbsolutePath(const std::string& path);
