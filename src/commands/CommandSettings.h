#pragma once
// The settings keys of the document and import commands: where they live, their defaults,
// and the texts written back.
#include <string>

#include "commands/Document.h"
#include "commands/SessionState.h"

class ProfileFile;

// Remembered dialog directories: a directory followed by a pattern.
inline constexpr const char* kDocumentPatternDefault = "./*.kvl";  // "admin", "path"
inline constexpr const char* kReplayPatternDefault = "./*.rpl";    // "import", "path"

std::string ReadDocumentDirectory(const ProfileFile& settings);
// "%s%s*.kvl" of the document's drive and directory.
void WriteDocumentDirectory(ProfileFile& settings, const std::string& documentPath);
std::string ReadReplayDirectory(const ProfileFile& settings);
// "%s%s*.rpl;*.rpz" of the replay's drive and directory.
void WriteReplayDirectory(ProfileFile& settings, const std::string& replayPath);

// The drive and directory part of a path, with its trailing separator ("" for a bare name).
std::string DirectoryPart(const std::string& path);
// File name and extension, no directory.
std::string FileNamePart(const std::string& path);

// "import", "times": lap lists show times when the stored value is 1 (default 1).
bool ReadLapTimesFlag(const ProfileFile& settings);
void WriteLapTimesFlag(ProfileFile& settings, bool lapTimes);

// "graph", "xaxis"/"yaxis"/"ayaxis": the axes of new documents (defaults 1, 2, 7).
TAxes ReadGraphAxes(const ProfileFile& settings);
void WriteGraphAxes(ProfileFile& settings, TAxes axes);

// Section "export": the text-export choices.
void ReadExportSettings(const ProfileFile& settings, TExportSettings& out);
void WriteExportSettings(ProfileFile& settings, const TExportSettings& choices);
