#pragma once
// The program's command line, read with QCommandLineParser: an optional document,
// --screenshot FILE with what the picture shows (the main window's view, --view graph|map;
// the side windows opened, --show pip,data,info; the cursor placed, --cursor FEET), --help
// and --version.

#include <QStringList>
#include <optional>
#include <string>

struct TStartupOptions {
    std::string document;              // the first argument that is not an option; empty if none
    std::string screenshotFile;        // empty unless --screenshot was given
    bool viewMap = false;              // --view map: the main window shows the track map, fitted
    bool showPip = false;              // --show pip: the picture-in-picture window, in FILE-pip.png
    bool showData = false;             // --show data: the data window, in FILE-data.png
    bool showInfo = false;             // --show info: the lap list, in FILE-info.png
    std::optional<double> cursorFeet;  // --cursor FEET: the shared cursor position
    bool help = false;                 // --help: print usage and end
    bool version = false;              // --version: print the version and end
    std::string error;                 // empty when the command line was understood
    std::string usage;                 // the options, as --help prints them
};

// arguments: the whole command line, the program's name first.
TStartupOptions ParseStartupOptions(const QStringList& arguments);
TStartupOptions ParseStartupOptions(int argc, const char* const* argv);

// FILE with suffix put before its extension: shot.png and "-pip" give shot-pip.png.
std::string SideScreenshotPath(const std::string& file, const std::string& suffix);

// What --version prints: the product name and version from the version data.
std::string VersionText();
