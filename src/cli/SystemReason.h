#pragma once
// The operating system's reason why a file cannot be opened, for korvale-cli's messages.
// The readers and writers report which step failed, not the system's error, so when that
// step was the opening, the tool asks the system again with the same kind of access.
#include <string>

namespace cli {

// Why path cannot be opened for reading ("No such file or directory", "Is a directory",
// ...); empty when it can, so that the fault lies in what the file holds.
std::string ReadFailureReason(const std::string& path);

// Why a file cannot be created or replaced at path; empty when nothing stands in the way
// that the system can tell beforehand (a full disk shows only while writing).
std::string WriteFailureReason(const std::string& path);

// "text: reason", or text alone when there is no reason.
std::string WithReason(const std::string& text, const std::string& reason);

}  // namespace cli
