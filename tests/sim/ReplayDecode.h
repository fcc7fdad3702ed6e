#pragma once
// An independent walk over a replay image as the file layout describes it, for checking
// what the simulator wrote byte by byte.

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace simtest {

struct DecodedRecord {
    uint8_t slotByte = 0;
    uint32_t position = 0;
    int16_t lateral = 0;
    int16_t heading = 0;
    uint8_t aux = 0;
};

struct DecodedFrame {
    std::vector<DecodedRecord> records;
    uint8_t skipCounts[3] = {};
    int32_t length = 0;
};

struct DecodedEntry {
    std::string rawName;  // the 32 bytes up to the first NUL (all 32 when there is none)
    int8_t carNumber = 0;
};

struct DecodedReplay {
    bool ok = false;
    std::string error;
    int32_t headerLength = 0, dataSize = 0, field8 = 0, slotCount = 0, field16 = 0;
    uint8_t mode = 0;
    int64_t dataStart = 0;
    std::vector<DecodedEntry> table;  // N + 1 entries with a pace car, N without
    std::vector<DecodedFrame> frames;
};

inline int32_t I32(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<int32_t>(
        static_cast<uint32_t>(b[at]) | static_cast<uint32_t>(b[at + 1]) << 8 |
        static_cast<uint32_t>(b[at + 2]) << 16 | static_cast<uint32_t>(b[at + 3]) << 24);
}
inline uint16_t U16(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}

inline DecodedReplay Decode(const std::vector<uint8_t>& b) {
    DecodedReplay r;
    if (b.size() < 48) {
        r.error = "short header";
        return r;
    }
    r.headerLength = I32(b, 0);
    r.dataSize = I32(b, 4);
    r.field8 = I32(b, 8);
    r.slotCount = I32(b, 12);
    r.field16 = I32(b, 16);
    r.mode = b[20];
    const int32_t entries = r.slotCount + (r.mode == 5 ? 0 : 1);
    if (r.slotCount <= 0 ||
        48 + 33 * static_cast<int64_t>(entries) > static_cast<int64_t>(b.size())) {
        r.error = "bad slot count";
        return r;
    }
    for (int32_t i = 0; i < entries; ++i) {
        const size_t at = 48 + 33 * static_cast<size_t>(i);
        DecodedEntry e;
        e.rawName.assign(reinterpret_cast<const char*>(&b[at]),
                         strnlen(reinterpret_cast<const char*>(&b[at]), 32));
        e.carNumber = static_cast<int8_t>(b[at + 32]);
        r.table.push_back(e);
    }
    r.dataStart = static_cast<int64_t>(b.size()) - r.dataSize;
    if (r.dataSize <= 0 || r.dataStart < 48 + 33 * static_cast<int64_t>(entries)) {
        r.error = "bad data size";
        return r;
    }
    size_t at = static_cast<size_t>(r.dataStart);
    while (at < b.size()) {
        DecodedFrame f;
        const size_t start = at;
        if (at + 9 * static_cast<size_t>(r.slotCount) > b.size()) {
            r.error = "frame runs past the end";
            return r;
        }
        for (int32_t i = 0; i < r.slotCount; ++i, at += 9)
            f.records.push_back(
                {b[at],
                 static_cast<uint32_t>(U16(b, at + 1)) | static_cast<uint32_t>(b[at + 3]) << 16,
                 static_cast<int16_t>(U16(b, at + 4)), static_cast<int16_t>(U16(b, at + 6)),
                 b[at + 8]});
        const size_t sizes[3] = {14, 7, 13};
        for (int k = 0; k < 3; ++k) {
            if (at >= b.size()) {
                r.error = "frame runs past the end";
                return r;
            }
            f.skipCounts[k] = b[at];
            at += 1 + b[at] * sizes[k];
        }
        if (at + 4 > b.size()) {
            r.error = "frame runs past the end";
            return r;
        }
        f.length = I32(b, at);
        at += 4;
        if (f.length != static_cast<int32_t>(at - start)) {
            r.error = "frame length does not match its contents";
            return r;
        }
        r.frames.push_back(std::move(f));
    }
    r.ok = true;
    return r;
}

}  // namespace simtest
