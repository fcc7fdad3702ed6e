#pragma once
// Reading one lap's samples out of the replay into a TReplay, and placing the lap's start
// and end on the line crossings.

#include <cstdint>

#include "document/TReplay.h"
#include "replay/ReplayFile.h"

// With the file positioned at the lap's FileOffset and header.Slot / header.FrameCount set,
// reads FrameCount frames into lap: the record of car slot Slot gives each sample. Samples
// missing at the end are dropped, gaps inside are interpolated, a leading gap takes the
// first present sample's values. Then sets the boundaries, inchesPerUnit and lapLength.
// False: "Error reading lap data" (a failed read, FrameCount of 3 or less or more than the
// rest of the file holds, a car absent from every frame, 3 or fewer samples left after the
// trim). Skip-list counts are unsigned bytes here as in the scan.
bool ReadLapSamples(TReplayFile& file, TReplay& lap, const TReplayHeader& header);

// startFrame/startPosition and endFrame/endPosition from lap.positions[0..sampleCount-1]
// (sampleCount of 2 or more), the end taken as reaching the line when it lies at most
// 704 track units short of it; copies trackLength and trackScale into the lap.
void ComputeLapBoundaries(TReplay& lap, int32_t trackLength, double trackScale);

inline constexpr int32_t kLapEndTolerance = 704;  // track units short of the line
