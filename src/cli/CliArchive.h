#pragma once
// A replay named on the command line that may be a replay archive: the member of
// --member NAME (default: the first in sorted order) is extracted into a temporary
// directory beside the archive, as the program does, and removed again when this ends.
#include <string>

#include "cli/Options.h"

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

  private:
    std::string path_;
    std::string extracted_;
};

}  // namespace cli
