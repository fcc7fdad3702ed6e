#pragma once
// Where the programs find their read-only data (track database, help file): beside the
// executable in a build tree, in ../share/korvale once installed. The desktop program and
// the command-line tool share this one look-up, so both work from either layout.
#include <string>

// A data file beside the executable if it exists there, else in ../share/korvale if it
// exists there, else the path beside the executable (so messages name the expected place).
std::string LocateDataFile(const std::string& exeDir, const std::string& name);

// True when name is not beside the executable but in ../share/korvale: the program runs
// from an installed layout, whose bin directory is no place for the user's settings.
bool DataFileIsInstalled(const std::string& exeDir, const std::string& name);
