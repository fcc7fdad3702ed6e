#include "document/TReplay.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <limits>

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

void TReplay::BuildDerived() const {
    const auto count = static_cast<size_t>(std::max<int32_t>(sampleCount, 0));
    const size_t m = std::min(count, positions.size());
    drivenPositions_.clear();
    rolledOverLine_ = false;
    // The scan's test for a crossing: a jump beyond half the lap length either way.
    const int64_t length = lapLength;
    const int64_t forwardBound = (-length) / 2, backwardBound = length / 2;
    if (length > 0) {
        int64_t offset = 0;
        bool fits = true;
        for (size_t i = 1; i < m && fits; ++i) {
            const int64_t delta = int64_t(positions[i]) - positions[i - 1];
            if (delta < forwardBound) offset += length;
            if (delta > backwardBound) offset -= length;
            if (offset != 0 && !rolledOverLine_) {
                rolledOverLine_ = true;
                drivenPositions_.assign(positions.begin(), positions.begin() + std::ptrdiff_t(i));
            }
            if (!rolledOverLine_) continue;
            const int64_t v = positions[i] + offset;
            // Only a damaged document wraps so often that a position leaves 32 bits.
            fits = v >= std::numeric_limits<int32_t>::min() &&
                   v <= std::numeric_limits<int32_t>::max();
            drivenPositions_.push_back(int32_t(v));
        }
        if (!fits) {
            drivenPositions_.clear();
            rolledOverLine_ = false;
        }
    }
    const std::vector<int32_t>& p = rolledOverLine_ ? drivenPositions_ : positions;
    positionPrefixMax_.resize(m);
    int32_t running = 0;
    for (size_t i = 0; i < m; ++i) {
        running = i == 0 ? p[0] : std::max(running, p[i]);
        positionPrefixMax_[i] = running;
    }
}

const std::vector<int32_t>& TReplay::PositionIndex() const {
    const auto count = static_cast<size_t>(std::max<int32_t>(sampleCount, 0));
    if (positionPrefixMax_.size() != count || positions.size() < count) BuildDerived();
    return positionPrefixMax_;
}

const std::vector<int32_t>& TReplay::DrivenPositions() const {
    PositionIndex();
    return rolledOverLine_ ? drivenPositions_ : positions;
}

bool TReplay::RolledOverLine() const {
    PositionIndex();
    return rolledOverLine_;
}

int32_t TReplay::LapCounter() {
    return gLapCounter;
}

void TReplay::ResetLapCounter() {
    gLapCounter = 0;
}
