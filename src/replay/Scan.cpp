#include "replay/Scan.h"

#include <cstdio>
#include <new>

#include "replay/FrameReader.h"

using namespace replay_detail;

namespace {

// What the scan keeps per driver besides the previous position, and the rare work of a
// forward crossing, kept out of the per-record loop so that the loop stays small.
struct ScanState {
    TReplayLaps& chains;
    std::vector<int32_t> lapStart;
    std::vector<int32_t> lineCounter;
    int32_t length;

    [[gnu::noinline]] void Forward(int32_t i, int32_t p, int32_t delta, int32_t frame,
                                   int64_t frameOffset) {
        if (++lineCounter[size_t(i)] <= 0) return;  // undoes an earlier backward crossing
        lineCounter[size_t(i)] = 0;
        const int32_t previous = p - delta;
        TReplayLapInfo& lap = chains[size_t(i)].back();
        lap.FrameCount = frame - lapStart[size_t(i)];
        lap.ExactFrames += lap.FrameCount;
        // Share of this frame interval travelled before the line. A car standing exactly on
        // the line in the previous frame crossed at its start.
        const int32_t before = length - previous;
        const int32_t whole = before + p;
        const double m = whole == 0 ? 0.0 : double(before) / double(whole);
        lap.ExactFrames += m - 1;
        chains[size_t(i)].push_back(TReplayLapInfo{int32_t(frameOffset), 0, 1 - m});
        lapStart[size_t(i)] = frame;
    }
};

}  // namespace

namespace {

bool Scan(TReplayFile& file, int32_t dataSize, const TReplayHeader& header, TReplayLaps& laps) {
    const int32_t n = header.DriverCount;
    const int64_t start = file.Size() - int64_t(dataSize);
    if (dataSize <= 0 || n < 0 || start < 0 || !file.Seek(start)) return false;

    TReplayLaps chains(static_cast<size_t>(n));
    for (auto& chain : chains) chain.push_back(TReplayLapInfo{int32_t(start), 0, 0.0});
    std::vector<int32_t> prev(size_t(n), 0);
    ScanState state{chains, std::vector<int32_t>(size_t(n), 0), std::vector<int32_t>(size_t(n), 0),
                    header.TrackLength};

    const int32_t length = header.TrackLength;
    const int32_t forwardBound = (-length) / 2;
    const int32_t backwardBound = length / 2;
    const int64_t recordBytes = int64_t(n) * kReplayCarRecordSize;

    // Locals, so that the stores into prev cannot be taken to change them (a byte field of
    // the header may alias anything).
    const int32_t paceOffset = header.PaceOffset;
    int32_t* const prevAt = prev.data();

    int64_t consumed = 0;
    int32_t frame = 0;
    while (consumed < dataSize) {
        const int64_t frameOffset = start + consumed;
        const uint8_t* records = file.Peek(recordBytes);
        if (!records) return false;
        if (frame == 0) {
            for (int32_t r = 0; r < n; ++r) {
                int32_t slot, p;
                RecordSlotAndPosition(records + int64_t(r) * kReplayCarRecordSize, slot, p);
                const int32_t i = slot - paceOffset;
                if (i >= 0 && i < n) prevAt[i] = p;
            }
        } else {
            for (int32_t r = 0; r < n; ++r) {
                int32_t slot, p;
                RecordSlotAndPosition(records + int64_t(r) * kReplayCarRecordSize, slot, p);
                const int32_t i = slot - paceOffset;
                if (uint32_t(i) >= uint32_t(n)) continue;  // the pace car, or no driver
                const int32_t delta = p - prevAt[i];
                prevAt[i] = p;
                // One test for the common case: no crossing in either direction.
                if (delta >= forwardBound && delta <= backwardBound) continue;
                if (delta < forwardBound)
                    state.Forward(i, p, delta, frame, frameOffset);
                else
                    --state.lineCounter[size_t(i)];
            }
        }
        int32_t frameLength = 0;
        if (!ReadFrameTail(file, frameLength)) return false;
        // A frame must account for at least its own length field, or the walk would never
        // reach the end of the data block.
        if (frameLength <= 0) return false;
        consumed += frameLength;
        ++frame;
    }
    for (int32_t i = 0; i < n; ++i) {
        TReplayLapInfo& lap = chains[i].back();
        lap.FrameCount = frame - state.lapStart[size_t(i)];
        lap.ExactFrames += lap.FrameCount;
    }
    laps = std::move(chains);
    return true;
}

}  // namespace

bool ScanLaps(TReplayFile& file, int32_t dataSize, const TReplayHeader& header, TReplayLaps& laps,
              bool* outOfMemory) {
    laps.clear();
    if (outOfMemory) *outOfMemory = false;
    // The counts are bounded by the file's size, so only a machine out of memory gets here.
    try {
        return Scan(file, dataSize, header, laps);
    } catch (const std::bad_alloc&) {
        laps.clear();
        if (outOfMemory) *outOfMemory = true;
        return false;
    }
}

bool IsPartialLap(const std::vector<TReplayLapInfo>& chain, size_t lapIndex) {
    return lapIndex == 0 || lapIndex + 1 >= chain.size();
}

std::string LapDescription(const std::vector<TReplayLapInfo>& chain, size_t lapIndex, bool lapTimes,
                           const TReplayHeader& header) {
    if (lapIndex >= chain.size() || IsPartialLap(chain, lapIndex)) return "(partial)";
    const double seconds = chain[lapIndex].ExactFrames / kReplayFramesPerSecond;
    char text[64];
    if (lapTimes) {
        std::snprintf(text, sizeof text, "%8.3f s", seconds);
    } else {
        const double miles = header.TrackLength * header.TrackScale / 12 / 5280;
        std::snprintf(text, sizeof text, "%9.3f mph", miles / seconds * 3600);
    }
    return text;
}
