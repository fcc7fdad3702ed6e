#pragma once
// The byte layout of a recorded replay: header, driver table, frames. Little-endian,
// written field by field.

#include <cstdint>
#include <vector>

#include "sim/Race.h"

namespace sim {

// Size of the header that a recording of this many table entries carries: the
// simulation reserves room for a full field, so the table is followed by zeros.
int32_t RecordedHeaderSize(int32_t tableEntries);

// The header with a data size of dataSize (patched once the frames are written).
void AppendHeader(std::vector<uint8_t>& out, const TRace& race, int32_t dataSize);

// Offset of the data-size field within the header.
inline constexpr int32_t kDataSizeOffset = 4;

// Appends one frame; returns its length in bytes.
int32_t AppendFrame(std::vector<uint8_t>& out, const SimFrame& frame);

void PutInt32(std::vector<uint8_t>& out, int32_t v);
void PokeInt32(uint8_t* at, int32_t v);

}  // namespace sim
