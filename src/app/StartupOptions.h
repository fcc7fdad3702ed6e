#pragma once
// The program's command line: an optional document, and --screenshot FILE with what the
// picture shows: the main window's view (--view graph|map) and the picture-in-picture
// window opened (--show pip).

#include <string>

struct TStartupOptions {
    std::string document;        // the first argument that is not an option; empty if none
    std::string screenshotFile;  // empty unless --screenshot was given
    bool viewMap = false;        // --view map: the main window shows the track map, fitted
    bool showPip = false;        // --show pip: the picture-in-picture window, in FILE-pip.png
    std::string error;           // empty when the command line was understood
};

TStartupOptions ParseStartupOptions(int argc, const char* const* argv);

// FILE with suffix put before its extension: shot.png and "-pip" give shot-pip.png.
std::string SideScreenshotPath(const std::string& file, const std::string& suffix);
