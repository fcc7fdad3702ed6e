#pragma once
// The race's truth as a small JSON file beside the replay, for checking what an importer
// makes of the recording against what was driven:
//   {"frames": F, "trackLength": L, "drivers": [{"name": "...", "slot": S,
//    "crossings": [c1, c2, ...]}, ...]}
// Drivers in driver-table order (no pace car); crossings are fractional frame indexes of
// the forward line crossings that end one lap and start the next, six decimals.

#include <string>

#include "sim/Simulator.h"

namespace sim {

std::string TruthJson(const RaceTruth& truth);

// Saves TruthJson(truth) to path; false (with a reason) when it cannot be written.
bool WriteTruthJson(const RaceTruth& truth, const std::string& path, std::string& error);

}  // namespace sim
