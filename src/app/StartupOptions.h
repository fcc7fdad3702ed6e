#pragma once
// The program's command line: an optional document, --screenshot FILE, --help and
// --version, read with QCommandLineParser.

#include <QStringList>
#include <string>

struct TStartupOptions {
    std::string document;        // the first argument that is not an option; empty if none
    std::string screenshotFile;  // empty unless --screenshot was given
    bool help = false;           // --help: print usage and end
    bool version = false;        // --version: print the version and end
    std::string error;           // empty when the command line was understood
    std::string usage;           // the options, as --help prints them
};

// arguments: the whole command line, the program's name first.
TStartupOptions ParseStartupOptions(const QStringList& arguments);
TStartupOptions ParseStartupOptions(int argc, const char* const* argv);

// What --version prints: the product name and version from the version data.
std::string VersionText();
