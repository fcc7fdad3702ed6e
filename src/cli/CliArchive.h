#pragma once
// A replay named on the command line that may be a replay archive: the member of
// --member NAME or --member-index N (default: the first in sorted order) is extracted into
// a temporary directory beside the archive, as the program does, and removed again when
// this ends, or when Ctrl+C or a kill ends the run.
#include <memory>
#include <string>

#include "cli/Options.h"
#include "platform/TempCleanup.h"

namespace cli {

class ReplayInput {
  public:
    ReplayInput() = default;
    ReplayInput(const ReplayInput&) = delete;
    ReplayInput& operator=(const ReplayInput&) = delete;
    ~ReplayInput();

    // False after printing the message, prefixed with the command's name.
    bool Open(const Options& options, const std::string& path, const char* command);
    // The replay file to read: the path given, or the extracted member.
    const std::string& Path() const { return path_; }
    // The replay as messages name it: the path given, or "ARCHIVE, member NAME" (the
    // extracted copy is gone by the time the user reads the message).
    const std::string& Shown() const { return shown_; }

  private:
    std::string path_;
    std::string shown_;
    std::string extracted_;
    std::unique_ptr<TTempPathGuard> directoryGuard_;
    std::unique_ptr<TTempPathGuard> fileGuard_;
};

}  // namespace cli
