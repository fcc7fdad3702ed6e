#pragma once
// The file-system side of taking a replay out of an archive: the member list in the order
// the user sees it, the fresh temporary directory the member is extracted into, and the
// clean-up afterwards. The import commands and korvale-cli both go through these.
#include <string>
#include <vector>

#include "platform/Archive.h"

inline constexpr int kTempDirectoryLimit = 100000;

// The members sorted as the choice list shows them: by name without regard to case, then by
// its bytes; members of the same name keep the archive's order.
std::vector<TArchiveMember> SortedMembers(std::vector<TArchiveMember> members);

// Creates the temporary directory for extracting from archivePath and returns its path
// with a trailing separator, or "" when none could be made. It is "td<i>" beside the
// archive ("./td<i>" for an archive named without a directory) with the smallest i below
// limit that names nothing yet. When every number is taken, or the archive's directory
// cannot take a new directory (read-only media), it is "korvale-td<i>" in the user's
// temporary directory instead.
std::string CreateArchiveTempDirectory(const std::string& archivePath,
                                       int limit = kTempDirectoryLimit);

// Removes the temporary directory when nothing else is in it (an extraction that failed
// or stopped has removed what it wrote).
void RemoveArchiveTempDirectory(const std::string& directory);

// After the import: the extracted file, then its directory.
void RemoveExtractedReplay(const std::string& extractedPath);

// A progress that nobody watches: never stops, keeps an existing file.
class TSilentArchiveProgress : public TArchiveProgress {
  public:
    int Post(int, const std::string&) override { return 0; }
};

// A path whose extension, in lower case, is ".rpz": a replay archive.
bool IsReplayArchivePath(const std::string& path);
