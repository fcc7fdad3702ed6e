#include "replay/Scan.h"

#include <cstdio>

#include "replay/FrameReader.h"

using namespace replay_detail;

bool ScanLaps(TReplayFile& file, int32_t dataSize, const TReplayHeader& header, TReplayLaps& laps) {
    laps.clear();
    const int32_t n = header.DriverCount;
    const int64_t start = file.Size() - int64_t(dataSize);
    if (dataSize <= 0 || n < 0 || start < 0 || !file.Seek(start)) return false;

    TReplayLaps chains(static_cast<size_t>(n));
    for (auto& chain : chains) chain.push_back(TReplayLapInfo{int32_t(start), 0, 0.0});
    std::vector<int32_t> prev(size_t(n), 0), lapStart(size_t(n), 0), lineCounter(size_t(n), 0);

    const int32_t length = header.TrackLength;
    const int32_t forwardBound = (-length) / 2;
    const int32_t backwardBound = length / 2;
    const int64_t recordBytes = int64_t(n) * kReplayCarRecordSize;

    int64_t consumed = 0;
    int32_t frame = 0;
    while (consumed < dataSize) {
        const int64_t frameOffset = start + consumed;
        const uint8_t* records = file.Peek(recordBytes);
        if (!records) return false;
        for (int32_t r = 0; r < n; ++r) {
            const uint8_t* rec = records + int64_t(r) * kReplayCarRecordSize;
            const int32_t i = RecordSlot(rec) - header.PaceOffset;
            if (i < 0 || i >= n) continue;
            const int32_t p = RecordPosition(rec);
            if (frame == 0) {
                prev[i] = p;
                continue;
            }
            const int32_t delta = p - prev[i];
            if (delta < forwardBound) {
                if (++lineCounter[i] > 0) {
                    lineCounter[i] = 0;
                    TReplayLapInfo& lap = chains[i].back();
                    lap.FrameCount = frame - lapStart[i];
                    lap.ExactFrames += lap.FrameCount;
                    // Share of this frame interval travelled before the line. A car standing
                    // exactly on the line in the previous frame crossed at its start.
                    const int32_t before = length - prev[i];
                    const int32_t whole = before + p;
                    const double m = whole == 0 ? 0.0 : double(before) / double(whole);
                    lap.ExactFrames += m - 1;
                    chains[i].push_back(TReplayLapInfo{int32_t(frameOffset), 0, 1 - m});
                    lapStart[i] = frame;
                }
            } else if (delta > backwardBound) {
                --lineCounter[i];
            }
            prev[i] = p;
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
        lap.FrameCount = frame - lapStart[i];
        lap.ExactFrames += lap.FrameCount;
    }
    laps = std::move(chains);
    return true;
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
