#pragma once
// One opened replay with everything the import commands need from it: the header, the
// driver table, every driver's lap chain and the open file, which stays open until the
// command that opened it ends.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "document/TReplay.h"
#include "replay/LapSamples.h"
#include "replay/ReplayFile.h"
#include "replay/Scan.h"

// How reading a replay for import ended; ReplayReadMessage gives the text the user sees.
enum class TReplayReadStatus {
    Ok,
    ErrorOpeningReplay,            // "Error opening replay"
    ErrorReadingReplayHeader,      // "Error reading replay header"
    ErrorReadingReplayData,        // "Error reading replay data"
    ErrorFindingLapData,           // "Error finding lap data"
    ErrorReadingLapData,           // "Error reading lap data"
    PartialLapsInAverage,          // "Partial laps may not be used in averaging"
    LapBeyondTrackLength,          // the lap does not fit the track (LapFit.h)
    LapBackwardsFasterThanAnyCar,  // the same
};
// The message that the status stands for ("" for Ok).
const char* ReplayReadMessage(TReplayReadStatus status);
// The same, naming the track the replay was read with where the lap does not fit it.
std::string ReplayReadMessage(TReplayReadStatus status, const std::string& trackName);

struct TOpenReplay {
    TReplayHeader header;
    std::vector<TReplayDriver> drivers;  // N entries, in table order
    TReplayLaps laps;                    // N chains
    TReplayFile file;
    std::string path;          // as opened
    std::string replayName;    // file name and extension, no directory (case as given)
    bool outOfMemory = false;  // the scan ran out of memory: show kMsgScanOutOfMemory first
};

// Opens path (as given, never case-changed), reads header and driver table and scans the
// laps with the chosen track's length and scale. Ok, ErrorOpeningReplay,
// ErrorReadingReplayHeader or ErrorReadingReplayData (whose message is preceded by
// kMsgScanOutOfMemory when out.outOfMemory is set).
TReplayReadStatus OpenReplay(const std::string& path, int32_t trackLength, double trackScale,
                             TOpenReplay& out);

// Reads lap lapIndex of driver driverIndex into a new lap named from the driver entry:
// sets Slot and FrameCount, seeks to the lap, reads its samples. Ok, ErrorFindingLapData,
// ErrorReadingLapData, or LapBeyondTrackLength / LapBackwardsFasterThanAnyCar for a lap
// that cannot have been driven on the track of header.TrackLength (out is then reset).
TReplayReadStatus ReadReplayLap(TOpenReplay& replay, int32_t driverIndex, int32_t lapIndex,
                                std::unique_ptr<TReplay>& out);

// Shown (title "Import Average Lap", exclamation icon) when a partial lap is chosen for an
// average.
inline constexpr const char* kMsgPartialLapsInAverage = "Partial laps may not be used in averaging";
inline constexpr const char* kImportAverageLapTitle = "Import Average Lap";

// Reads the laps lapIndexes (in the order given) of driver driverIndex, as the average-lap
// import does: with two or more laps, a partial one is refused (PartialLapsInAverage)
// before anything is read. On failure out holds nothing (the laps read so far are
// discarded).
TReplayReadStatus ReadReplayLaps(TOpenReplay& replay, int32_t driverIndex,
                                 const std::vector<int32_t>& lapIndexes,
                                 std::vector<std::unique_ptr<TReplay>>& out);
