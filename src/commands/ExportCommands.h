#pragma once
// Export Text Data and Export to Replay: their dialogs' Browse and closing checks, and the
// writing that follows OK.
#include <functional>
#include <string>

#include "commands/CommandContext.h"

inline constexpr const char* kMsgNoExportFileName = "Cannot export without a file name";
inline constexpr const char* kTextExportFilter = "Text Files (*.txt)|*.txt|All files (*.*)|*.*|";
inline constexpr const char* kReplayExportFilter =
    "Replay Files (*.rpl)|*.rpl|All files (*.*)|*.*|";
inline constexpr const char* kTextExportPatternDefault = "./*.txt";    // "export", "path"
inline constexpr const char* kReplayExportPatternDefault = "./*.rpl";  // "export", "rpath"
inline constexpr const char* kMsgExportingData = "Exporting data...";

// "%s\nalready exists.  Replace file?"
std::string ReplaceFileQuestion(const std::string& name);

// What the two dialogs call back into. browse runs the file dialog and gives the chosen
// path ("" after Cancel); canClose runs the closing checks in their order with their
// messages and answers whether the dialog may close. askBeforeReplace is the dialog's
// flag: set by typing a name, cleared by Browse.
struct TExportSetupHooks {
    std::function<std::string()> browse;
    std::function<bool(const TExportSettings& values, bool askBeforeReplace)> canClose;
};

struct TExportReplayXfer {
    bool separateLaps = false;
    std::string fileName;
};

struct TExportReplaySetupHooks {
    std::function<std::string()> browse;
    std::function<bool(const TExportReplayXfer& values, bool askBeforeReplace)> canClose;
};

// Both commands need a lap to export.
bool ExportEnabled(const TDocument& doc);

void ExportTextDataCommand(TCommandContext& ctx);
void ExportToReplayCommand(TCommandContext& ctx);
