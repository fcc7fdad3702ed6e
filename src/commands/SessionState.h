#pragma once
// What the program keeps from one document to the next and writes to the settings file on
// close: the text-export choices and the remembered track choices.
#include <cstdint>
#include <string>

#include "track/TrackAssociation.h"

// The text-export choices, read at start and written by the close check (section "export").
struct TExportSettings {
    bool xPosition = true;          // "xpos"
    bool xTime = false;             // "xtime"
    bool yPosition = false;         // "ypos"
    bool yTime = false;             // "ytime"
    bool ySpeed = true;             // "yspeed"
    bool yLine = false;             // "yline"
    bool yInline = false;           // "ygs"
    bool yLateral = false;          // "ylatgs"
    bool ySlip = false;             // "yslip", kept like the other channels
    bool comma = false;             // "comma"
    bool table = false;             // one CSV table for other tools; not stored, off at first
    bool separateLaps = false;      // "seplaps" (Export to Replay)
    std::string resolution = "10";  // "resol"
    std::string fileName;           // not stored
    std::string replayFileName;     // Export to Replay's; not stored
};

struct TSessionState {
    TExportSettings exportSettings;
    // Remembered track choices, and how many there were when last read or written.
    TAssocList associations;
    int32_t assocCountAtLoad = 0;
    // The Choose Track dialog's remember box, as the user last left it: kept for the run.
    bool rememberTrackChoice = false;
    // Export Image's typed size, offered again for the rest of the run; 0 while the
    // window's own size is the choice.
    int32_t imageWidth = 0, imageHeight = 0;
};
