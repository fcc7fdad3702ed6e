#pragma once
// Writing the document's laps as a replay the simulation can play: all laps side by side as
// cars starting together, or one after another as a single car (separate-laps mode).

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "document/TReplay.h"

inline constexpr int32_t kReplayMaxExportLaps = 36;
inline constexpr int32_t kReplayExportHeaderSize = 2970;

// Messages of the writer.
inline constexpr const char* kMsgOnlyFirst36Laps =
    "Only the first 36 laps will be included in the replay";
inline constexpr const char* kMsgReplayExported =
    "Replay successfully exported";  // title "Export Replay"
inline constexpr const char* kMsgErrorCreatingReplay =
    "Error creating replay";  // title "Export Error"
inline constexpr const char* kMsgErrorExportingReplay =
    "Error exporting replay";  // title "Export Error"
inline constexpr const char* kExportReplayTitle = "Export Replay";
inline constexpr const char* kExportErrorTitle = "Export Error";

// How an export ended; ReplayWriteMessage gives the closing message the user sees.
enum class ReplayWriteStatus {
    Exported,      // "Replay successfully exported"
    CreateFailed,  // "Error creating replay"
    WriteFailed,   // "Error exporting replay"
};
const char* ReplayWriteMessage(ReplayWriteStatus status);

struct ReplayWriteResult {
    ReplayWriteStatus status = ReplayWriteStatus::Exported;
    bool lapsCapped = false;  // more than 36 laps were given: "Only the first 36 laps ..."
    std::string path;         // the file actually created
    const char* message() const { return ReplayWriteMessage(status); }
};

// The file the writer creates for a name from the export dialog: the file name (never the
// directories) in lower case, with ".rpl" appended unless the first ".rpl" in it ends it.
std::string ReplayExportPath(const std::string& fileName);

// Writes laps (document order; only the first 36 are used) to ReplayExportPath(fileName).
// Positions and lines are converted back to track units with the first lap's inchesPerUnit.
// A caller that shows messages shows kMsgOnlyFirst36Laps first when lapsCapped, then
// result.message(). The file is written beside the target and put in place only when
// complete (platform/SafeWrite.h), so a failed export leaves an earlier file as it was. A
// replay whose data size or frame offsets would not fit the format's 32 bits is refused
// (WriteFailed) before anything is written.
ReplayWriteResult WriteReplay(const std::string& fileName, const std::vector<const TReplay*>& laps,
                              bool separateLaps);
ReplayWriteResult WriteReplay(const std::string& fileName,
                              const std::vector<std::unique_ptr<TReplay>>& laps, bool separateLaps);
