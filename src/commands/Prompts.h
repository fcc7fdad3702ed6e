#pragma once
// The one way the document and import commands reach the user. Every question, message,
// file dialog and dialog choice goes through TPrompts. The desktop program implements it
// with its dialogs; the tests implement it with scripted answers and record what was asked,
// in order. What a command changed reaches the windows on the document's change channel
// (DocumentChange.h), not here.
//
// Besides the questions, three requests stay here because they answer or show something
// at once rather than report a change: the wait cursor, the status line text, and the
// placement of the side windows that the close check stores.
//
// The records passed to the dialogs are plain values copied in and out (the ...Xfer
// convention); a dialog returns false when the user cancels it, and then the record's
// outputs are not to be used.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "document/Rgb.h"

class TArchiveProgress;
struct TExportSettings;
struct TExportSetupHooks;
struct TExportReplayXfer;
struct TExportReplaySetupHooks;

enum class TMsgIcon { Exclamation, Stop, Question, Information };
enum class TMsgButtons { Ok, YesNo, YesNoCancel };
enum class TMsgAnswer { Ok, Yes, No, Cancel };

// The answer that changes nothing, for a message that no user can answer.
inline TMsgAnswer UnchangingAnswer(TMsgButtons buttons) {
    switch (buttons) {
        case TMsgButtons::Ok:
            return TMsgAnswer::Ok;
        case TMsgButtons::YesNo:
            return TMsgAnswer::No;
        case TMsgButtons::YesNoCancel:
            return TMsgAnswer::Cancel;
    }
    return TMsgAnswer::Cancel;
}

// File dialogs. filter is in the "Text|pattern|Text|pattern|" form; initialPath is what
// the dialog's file-name field starts with (a directory and pattern such as "./*.kvl",
// or a full path); on OK path holds the chosen file.
struct TFileDialogXfer {
    std::string title;  // empty: the toolkit's own title for opening or saving
    std::string filter;
    std::string defaultExt;  // without the dot, appended when the user typed none
    std::string initialPath;
    bool mustExist = false;         // open dialogs: the chosen file must exist
    bool confirmOverwrite = false;  // save dialogs: ask before replacing a file
    std::string path;               // out
};

// Choose Track. trackNames are all tracks in track-list order; the dialog starts on
// selection (the first track when it lies outside the list). When scopeText is empty (an ambiguous
// path) the remember box and the scope text are hidden; otherwise the scope text shows it and the
// box reads "Always use " + the selected track's name (at most 49 characters of it).
struct TChooseTrackXfer {
    std::vector<std::string> trackNames;
    std::string scopeText;
    int32_t selection = 0;  // in: where the dialog starts; out: index into trackNames
    bool remember = false;  // out: the remember box was checked (only when it showed)
};

// What the import dialogs read from the opened replay: the lap list texts of a driver.
// lapTexts(driver, lapTimes) gives one text per lap of that driver's chain, "(partial)"
// for the first and last; lapTimesChanged(lapTimes) is called each time the user switches
// the mode button, so that the choice is stored at once (it survives a Cancel).
struct TImportLapSource {
    std::function<std::vector<std::string>(int32_t driver, bool lapTimes)> lapTexts;
    std::function<void(bool lapTimes)> lapTimesChanged;
};

// Import Lap (one lap) and Import Average Lap (several laps of one driver). driverTexts are
// the driver list in table order; the command selects the first driver and first lap before
// the dialog opens and reads both selections after OK. -1 / empty: nothing selected.
struct TImportLapXfer {
    std::vector<std::string> driverTexts;
    int32_t selectedDriver = 0;
    std::vector<int32_t> selectedLaps{0};  // one entry for Import Lap; lap numbers in list order
    bool lapTimes = true;                  // in: the stored mode; out: the mode at close
};

// Select a Lap: one text per document lap, the chosen index out.
struct TChooseLapXfer {
    std::vector<std::string> texts;
    int32_t selection = 0;
};

// Edit Replay Info: the lap's name (the edit accepts at most 31 characters) and colour.
struct TEditInfoXfer {
    std::string name;
    Rgb colour;
};

// Export Image: the picture's size, the window's own (shown in the dialog) or one typed in.
struct TExportImageXfer {
    int32_t windowWidth = 0, windowHeight = 0;  // in: the size the window shows
    bool windowSize = true;                     // in and out: use the window's size
    int32_t width = 0, height = 0;              // in and out: the typed size
};

// Import Replay out of an archive: the member names and the chosen one.
struct TChooseCompFileXfer {
    std::vector<std::string> names;
    int32_t selection = 0;
};

using TProgressReport = std::function<bool(int percent)>;

// The side windows whose placement the close check stores.
enum class TSideWindow { LapList, PictureInPicture, DataWindow };

struct TWindowRect {
    int32_t x = 0, y = 0, w = 0, h = 0;  // screen top-left, outer width and height
};

class TPrompts {
  public:
    virtual ~TPrompts() = default;

    // ---- asking the user ----
    virtual TMsgAnswer MessageBox(const std::string& title, const std::string& text, TMsgIcon icon,
                                  TMsgButtons buttons) = 0;
    virtual bool OpenFileDialog(TFileDialogXfer& xfer) = 0;
    virtual bool SaveFileDialog(TFileDialogXfer& xfer) = 0;
    virtual bool ChooseTrack(TChooseTrackXfer& xfer) = 0;
    virtual bool ImportLap(TImportLapXfer& xfer, const TImportLapSource& source) = 0;
    // The average dialog itself refuses partial laps (first or last of the list) with
    // "Partial laps may not be used in averaging" and stays open.
    virtual bool ImportAverageLaps(TImportLapXfer& xfer, const TImportLapSource& source) = 0;
    virtual bool ChooseLap(TChooseLapXfer& xfer) = 0;
    virtual bool EditInfo(TEditInfoXfer& xfer) = 0;
    virtual bool ExportImageSize(TExportImageXfer& xfer) = 0;
    // Import Replay (an archive's members): names in the order shown, the first selected;
    // the chosen index comes back on OK.
    virtual bool ChooseCompFile(TChooseCompFileXfer& xfer) = 0;
    // Runs an archive extraction with the progress dialog shown (its Abort posts 999, its
    // overwrite question answers 800 or 801) and returns the extraction's code.
    virtual int RunArchiveExtraction(const std::function<int(TArchiveProgress&)>& extraction) = 0;
    // Export Data and Export to Replay: the dialogs run the hooks' Browse and closing check;
    // on OK the record holds the choices.
    virtual bool ExportSetup(TExportSettings& xfer, const TExportSetupHooks& hooks) = 0;
    virtual bool ExportReplaySetup(TExportReplayXfer& xfer,
                                   const TExportReplaySetupHooks& hooks) = 0;
    // Long work with a progress dialog that can be cancelled. work gets a report function
    // taking the percent done, which answers false once the user asked to stop.
    virtual void RunWithProgress(const std::string& text,
                                 const std::function<void(const TProgressReport&)>& work) = 0;

    // ---- requests to the user interface ----
    virtual void SetWaitCursor(bool wait) = 0;
    virtual void SetStatusText(const std::string& text) = 0;
    virtual TWindowRect SideWindowRect(TSideWindow which) = 0;
};
