#include "replay/LapSamples.h"

#include <algorithm>

#include "replay/FrameReader.h"

using namespace replay_detail;

namespace {

constexpr int32_t kMissing = -1;

// v[j-1] + (s - j + 1) x (v[q] - v[j-1]) / k for the run j..q-1, truncated toward zero.
// Formed in 64 bits: over a long run the product outgrows 32 bits.
template <typename T>
void FillRun(std::vector<T>& v, int32_t j, int32_t q) {
    const int64_t before = v[size_t(j - 1)];
    const int64_t after = v[size_t(q)];
    const int64_t steps = q - j + 1;
    for (int32_t s = j; s < q; ++s)
        v[size_t(s)] = T(before + int64_t(s - j + 1) * (after - before) / steps);
}

}  // namespace

bool ReadLapSamples(TReplayFile& file, TReplay& lap, const TReplayHeader& header) {
    const int32_t frames = header.FrameCount;
    const int32_t n = header.DriverCount;
    if (frames <= 3 || n < 0) return false;
    const int64_t recordBytes = int64_t(n) * kReplayCarRecordSize;
    // Every frame holds at least its records, three counts and its length: a lap that claims
    // more frames than the rest of the file could hold is refused before anything is sized.
    if (int64_t(frames) > (file.Size() - file.Offset()) / (recordBytes + 7)) return false;

    const size_t count = size_t(frames);
    if (lap.positions.size() != count) {
        lap.positions.assign(count, 0);
        lap.lines.assign(count, 0);
        lap.headings.assign(count, 0);
        lap.auxBytes.assign(count, 0);
    } else {
        std::fill(lap.positions.begin(), lap.positions.end(), 0);
        std::fill(lap.lines.begin(), lap.lines.end(), 0);
        std::fill(lap.headings.begin(), lap.headings.end(), int16_t(0));
        std::fill(lap.auxBytes.begin(), lap.auxBytes.end(), uint8_t(0));
    }
    lap.InvalidatePositionIndex();

    for (size_t f = 0; f < count; ++f) {
        lap.positions[f] = kMissing;
        const uint8_t* records = file.Peek(recordBytes);
        if (!records) return false;
        for (int32_t r = 0; r < n; ++r) {
            const uint8_t* rec = records + int64_t(r) * kReplayCarRecordSize;
            if (RecordSlot(rec) != header.Slot) continue;
            lap.positions[f] = RecordPosition(rec);
            lap.lines[f] = RecordInt16(rec + 4);
            lap.headings[f] = RecordInt16(rec + 6);
            lap.auxBytes[f] = rec[8];
        }
        int32_t frameLength = 0;
        if (!ReadFrameTail(file, frameLength)) return false;
    }

    // Trim the frames after the car's last appearance (sample 0 always stays).
    int32_t last = frames - 1;
    while (last > 0 && lap.positions[size_t(last)] == kMissing) --last;
    int32_t first = 0;
    while (first <= last && lap.positions[size_t(first)] == kMissing) ++first;
    if (first > last) return false;  // the car is in none of the lap's frames
    const int32_t kept = last + 1;
    if (kept <= 3) return false;

    // A leading gap has nothing before it to interpolate from: it takes the first present
    // sample's values, as if the car had stood there.
    for (int32_t s = 0; s < first; ++s) {
        lap.positions[size_t(s)] = lap.positions[size_t(first)];
        lap.lines[size_t(s)] = lap.lines[size_t(first)];
        lap.headings[size_t(s)] = lap.headings[size_t(first)];
        lap.auxBytes[size_t(s)] = lap.auxBytes[size_t(first)];
    }
    for (int32_t j = first + 1; j < kept; ++j) {
        if (lap.positions[size_t(j)] != kMissing) continue;
        int32_t q = j;
        while (lap.positions[size_t(q)] == kMissing) ++q;  // sample `last` is present
        FillRun(lap.positions, j, q);
        FillRun(lap.lines, j, q);
        FillRun(lap.headings, j, q);
        FillRun(lap.auxBytes, j, q);
        j = q;
    }

    lap.positions.resize(size_t(kept));
    lap.lines.resize(size_t(kept));
    lap.headings.resize(size_t(kept));
    lap.auxBytes.resize(size_t(kept));
    lap.sampleCount = kept;
    lap.InvalidatePositionIndex();
    ComputeLapBoundaries(lap, header.TrackLength, header.TrackScale);
    return true;
}

void ComputeLapBoundaries(TReplay& lap, int32_t trackLength, double trackScale) {
    const int32_t n = lap.sampleCount;
    if (n >= 2) {
        const double p0 = lap.positions[0];
        const double p1 = lap.positions[1];
        if (p1 == p0) {
            lap.startFrame = 0;
            lap.startPosition = p0;
        } else {
            lap.startFrame = -p0 / (p1 - p0);
            // More than one frame past the line: the lap began part way round.
            if (!(lap.startFrame > -1)) lap.startFrame = 0;
            lap.startPosition = p0 + (p1 - p0) * lap.startFrame;
        }
        const double last = lap.positions[size_t(n - 1)];
        const double beforeLast = lap.positions[size_t(n - 2)];
        if (last != beforeLast && trackLength - last <= kLapEndTolerance) {
            lap.endFrame = (trackLength - last) / (last - beforeLast) + (n - 1);
            lap.endPosition = trackLength;
        } else {
            // The recording ended before the car reached the line, or the car stood still.
            lap.endFrame = n;
            lap.endPosition = last;
        }
    }
    lap.inchesPerUnit = trackScale;
    lap.lapLength = trackLength;
}
