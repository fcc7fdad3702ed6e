#pragma once
// The program's command line: an optional document, and --screenshot FILE.

#include <string>

struct TStartupOptions {
    std::string document;        // the first argument that is not an option; empty if none
    std::string screenshotFile;  // empty unless --screenshot was given
    std::string error;           // empty when the command line was understood
};

TStartupOptions ParseStartupOptions(int argc, const char* const* argv);
