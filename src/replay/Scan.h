#pragma once
// Cutting every driver's recording into laps at the start/finish line, in one pass over the
// data block, and the texts that list those laps.

#include <cstdint>
#include <string>
#include <vector>

#include "replay/ReplayFile.h"

// One chain of laps per driver index (0..N-1), in recording order. The first and the last
// lap of each chain are partial (recording start to first crossing, last crossing to end).
using TReplayLaps = std::vector<std::vector<TReplayLapInfo>>;

// Walks the frames of the data block (D bytes at the end of the file) and replaces laps with
// N chains. False: "Error reading replay data" (a frame that cannot be read, a frame length
// of 0 or below, a data block larger than the file); laps is then left empty. When memory
// for the laps runs out, *outOfMemory is set as well, so that the caller can first show
// kMsgScanOutOfMemory.
bool ScanLaps(TReplayFile& file, int32_t dataSize, const TReplayHeader& header, TReplayLaps& laps,
              bool* outOfMemory = nullptr);

// Shown (title "Import Error", stop icon) before "Error reading replay data" when the scan
// ran out of memory.
inline constexpr const char* kMsgScanOutOfMemory = "Unable to import data\nError Code 1426";

// "(partial)" for the first and last lap of a chain, otherwise "%8.3f s" (lapTimes) or
// "%9.3f mph" with the lap's average speed. lapIndex is the lap's place in chain.
std::string LapDescription(const std::vector<TReplayLapInfo>& chain, size_t lapIndex, bool lapTimes,
                           const TReplayHeader& header);

// True when the lap is the first or last of its chain (and so may not be averaged).
bool IsPartialLap(const std::vector<TReplayLapInfo>& chain, size_t lapIndex);
