#pragma once
// The parts of a frame that both the lap scan and the sample reader walk in the same way.
// Internal to the replay reader.

#include <bit>
#include <cstdint>
#include <cstring>

#include "replay/ReplayFile.h"

namespace replay_detail {

// Skips the three skip lists (entries of 14, 7 and 13 bytes) and reads the frame length.
// Counts are taken as unsigned bytes, as the writer writes them, by every reader.
inline bool ReadFrameTail(TReplayFile& file, int32_t& frameLength) {
    static constexpr int64_t kEntrySizes[3] = {14, 7, 13};
    for (int64_t entrySize : kEntrySizes) {
        uint8_t count = 0;
        if (!file.ReadU8(count) || !file.Skip(int64_t(count) * entrySize)) return false;
    }
    return file.ReadI32(frameLength);
}

inline int32_t RecordSlot(const uint8_t* record) {
    return record[0] >> 1;
}

inline int32_t RecordPosition(const uint8_t* record) {
    return int32_t(record[3]) * 65536 + (int32_t(record[1]) | (int32_t(record[2]) << 8));
}

// Slot byte and 24-bit position in one load: the scan reads these two fields of every
// record of every frame, and little else.
inline void RecordSlotAndPosition(const uint8_t* record, int32_t& slot, int32_t& position) {
    if constexpr (std::endian::native == std::endian::little) {
        uint32_t word;
        std::memcpy(&word, record, 4);
        slot = int32_t((word & 0xff) >> 1);
        position = int32_t(word >> 8);
    } else {
        slot = RecordSlot(record);
        position = RecordPosition(record);
    }
}

inline int16_t RecordInt16(const uint8_t* p) {
    return int16_t(uint16_t(p[0] | (p[1] << 8)));
}

}  // namespace replay_detail
