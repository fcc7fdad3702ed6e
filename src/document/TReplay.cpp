#include "document/TReplay.h"

#include <algorithm>
#include <cstring>

namespace {
// The program-wide lap counter: the serial the next lap receives.
int32_t gLapCounter = 0;
}  // namespace

TReplay::TReplay(const char* driverEntryName, int32_t carNumber_)
    : carNumber(carNumber_), serial(gLapCounter++) {
    SetDriverName(driverEntryName != nullptr ? driverEntryName : "<Unknown>");
}

void TReplay::SetDriverName(const char* text) {
    std::memset(driverName, 0, sizeof driverName);
    if (text == nullptr) return;
    // strnlen: a driver entry's name need not be terminated within its 32 bytes.
    const size_t n = strnlen(text, sizeof driverName - 1);
    std::memcpy(driverName, text, n);
}

void TReplay::ResizeSamples(int32_t n) {
    if (n < 0) n = 0;
    const auto count = static_cast<size_t>(n);
    if (count == 0) {
        // Release rather than merely empty: a lap without samples holds no arrays.
        std::vector<int32_t>().swap(positions);
        std::vector<int32_t>().swap(lines);
        std::vector<int16_t>().swap(headings);
        std::vector<uint8_t>().swap(auxBytes);
    } else {
        positions.resize(count);
        lines.resize(count);
        headings.resize(count);
        auxBytes.resize(count);
    }
    sampleCount = n;
    InvalidatePositionIndex();
}

const std::vector<int32_t>& TReplay::PositionIndex() const {
    const auto count = static_cast<size_t>(std::max<int32_t>(sampleCount, 0));
    if (positionPrefixMax_.size() != count || positions.size() < count) {
        positionPrefixMax_.resize(std::min(count, positions.size()));
        int32_t running = 0;
        for (size_t i = 0; i < positionPrefixMax_.size(); ++i) {
            running = i == 0 ? positions[0] : std::max(running, positions[i]);
            positionPrefixMax_[i] = running;
        }
    }
    return positionPrefixMax_;
}

int32_t TReplay::LapCounter() {
    return gLapCounter;
}

void TReplay::ResetLapCounter() {
    gLapCounter = 0;
}
