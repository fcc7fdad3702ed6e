#pragma once
// Import Replay and Import Average Lap: choose a replay (or a replay out of an archive),
// settle its track, scan it, let the user pick a driver and laps, and add the lap to the
// document.
#include <string>

#include "commands/CommandContext.h"
#include "replay/OpenReplay.h"

inline constexpr const char* kReplayFilter =
    "All Replays (*.rpl;*.rpz)|*.rpl;*.rpz|Replay Files (*.rpl)|*.rpl|"
    "Replay Archives (*.rpz)|*.rpz|All files (*.*)|*.*|";
inline constexpr const char* kMsgNoDriverSelected = "No driver selected";
inline constexpr const char* kMsgNoLapSelected = "No lap selected";
// Several laps chosen in Import Lap: the one message after the import when some were partial.
inline constexpr const char* kImportLapTitle = "Import Lap";
std::string SkippedPartialLapsText(size_t skipped);

// One import command's replay: open from a successful OpenReplayForImport until the
// command ends; an extracted archive member is removed with its directory on destruction.
struct TReplayImport {
    TOpenReplay replay;
    bool fromArchive = false;
    std::string extractedPath;

    TReplayImport() = default;
    TReplayImport(const TReplayImport&) = delete;
    TReplayImport& operator=(const TReplayImport&) = delete;
    ~TReplayImport() { Finish(); }
    // Closes the file and removes the temporary archive copy (once).
    void Finish();
};

// The open-replay step of both imports. False when the user cancelled or after the one
// message was shown; the caller then runs its failure ending.
bool OpenReplayForImport(TCommandContext& ctx, TReplayImport& import);

void ImportReplayCommand(TCommandContext& ctx);
void ImportAverageLapCommand(TCommandContext& ctx);

// The driver list texts of an opened replay, in table order.
std::vector<std::string> DriverTexts(const TOpenReplay& replay);
