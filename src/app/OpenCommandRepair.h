#pragma once
// The document type's open command is a command line with %1 standing for the document.
// Registrations written as `program %1` split paths with spaces into several arguments;
// the repair quotes the placeholder. Pure text work: the platform layer reads and writes
// the registration (on Linux there is none, the .desktop file already passes %f as one
// argument).

#include <optional>
#include <string>

// The repaired command, or nothing when the text needs no change: no %1 at all, or a %1
// already enclosed in double quotation marks. Everything from the first %1 to the end is
// replaced by "%1", so arguments after an unquoted placeholder are dropped.
std::optional<std::string> RepairOpenCommand(const std::string& command);

// Reads the registered open command, repairs it and writes it back. Silent on failure;
// a no-op where the platform keeps no such registration.
void RepairRegisteredOpenCommand();
