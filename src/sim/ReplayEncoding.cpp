#include "sim/ReplayEncoding.h"

#include <algorithm>
#include <cstring>

namespace sim {

namespace {

constexpr int32_t kFixedHeader = 48;
constexpr int32_t kEntrySize = 33;
constexpr int32_t kReservedHeader = 2970;
constexpr uint8_t kModeNoPaceCar = 5;
constexpr uint8_t kModePaceCar = 2;

void PutU8(std::vector<uint8_t>& out, uint8_t v) {
    out.push_back(v);
}
void PutU16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

}  // namespace

void PutInt32(std::vector<uint8_t>& out, int32_t v) {
    const uint32_t u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>((u >> (8 * i)) & 0xFF));
}

void PokeInt32(uint8_t* at, int32_t v) {
    const uint32_t u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>((u >> (8 * i)) & 0xFF);
}

int32_t RecordedHeaderSize(int32_t tableEntries) {
    return std::max(kReservedHeader, kFixedHeader + kEntrySize * tableEntries);
}

void AppendHeader(std::vector<uint8_t>& out, const TRace& race, int32_t dataSize) {
    const size_t start = out.size();
    const int32_t entries = static_cast<int32_t>(race.table().size());
    const int32_t size = RecordedHeaderSize(entries);
    PutInt32(out, size - 16);  // header length value, not counting the first 16 bytes
    PutInt32(out, dataSize);
    PutInt32(out, 0);
    PutInt32(out, race.slotCount());
    PutInt32(out, 1);
    PutU8(out, race.paceCar() ? kModePaceCar : kModeNoPaceCar);
    out.resize(start + kFixedHeader, 0);
    for (const TableEntry& e : race.table()) {
        char name[32] = {};
        // A fixed 32-byte field: a name of 32 characters fills it without a terminator.
        std::copy_n(e.name.data(), std::min<size_t>(32, e.name.size()), name);
        out.insert(out.end(), name, name + 32);
        PutU8(out, static_cast<uint8_t>(e.carNumber));
    }
    out.resize(start + static_cast<size_t>(size), 0);
}

int32_t AppendFrame(std::vector<uint8_t>& out, const SimFrame& frame) {
    const size_t start = out.size();
    for (const CarRecord& r : frame.records) {
        PutU8(out, r.slotByte);
        PutU16(out, static_cast<uint16_t>(r.position & 0xFFFF));
        PutU8(out, static_cast<uint8_t>((r.position >> 16) & 0xFF));
        PutU16(out, static_cast<uint16_t>(r.lateral));
        PutU16(out, static_cast<uint16_t>(r.heading));
        PutU8(out, r.aux);
    }
    size_t used = 0;
    const size_t entrySizes[3] = {14, 7, 13};
    for (int list = 0; list < 3; ++list) {
        PutU8(out, frame.skipCounts[static_cast<size_t>(list)]);
        const size_t bytes = frame.skipCounts[static_cast<size_t>(list)] * entrySizes[list];
        out.insert(out.end(), frame.skipBytes.begin() + static_cast<std::ptrdiff_t>(used),
                   frame.skipBytes.begin() + static_cast<std::ptrdiff_t>(used + bytes));
        used += bytes;
    }
    const int32_t length = static_cast<int32_t>(out.size() - start) + 4;
    PutInt32(out, length);
    return length;
}

}  // namespace sim
