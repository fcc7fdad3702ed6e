#pragma once
// The program's command line: an optional document, and --screenshot FILE with what the
// picture shows: side windows opened (--show data,info) and the cursor placed (--cursor).

#include <optional>
#include <string>

struct TStartupOptions {
    std::string document;              // the first argument that is not an option; empty if none
    std::string screenshotFile;        // empty unless --screenshot was given
    bool showData = false;             // --show data: the data window, written to FILE-data.png
    bool showInfo = false;             // --show info: the lap list, written to FILE-info.png
    std::optional<double> cursorFeet;  // --cursor FEET: the shared cursor position
    std::string error;                 // empty when the command line was understood
};

TStartupOptions ParseStartupOptions(int argc, const char* const* argv);

// FILE with suffix put before its extension: shot.png and "-data" give shot-data.png.
std::string SideScreenshotPath(const std::string& file, const std::string& suffix);
