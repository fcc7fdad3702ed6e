#include "replay/Scan.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "replay/FrameReader.h"
#include "replay/LapSamples.h"

using namespace replay_detail;

namespace {

// Where a car missing from the frames around the line crossed it: as a share of the frames
// between its last sighting before the line (at frame 0, position y1) and its first after
// (at frame gap, position y2, counted on past the line), on the curve through these and
// the sighting before the last (frame x0 < 0, position y0). Over several frames a car's
// speed changes enough that a straight line between two sightings misplaces the crossing
// by milliseconds; a constant change of speed is followed exactly. Falls back to the
// straight line's share when the earlier sighting is of no use.
double CurvedShare(double x0, double y0, double y1, double y2, double gap, double line,
                   double straight) {
    if (!(x0 < 0)) return straight;
    const double s1 = (y1 - y0) / -x0;
    const double s2 = (y2 - y1) / gap;
    const double c = (s2 - s1) / (gap - x0);
    // y1 + s2 u + c u (u - gap) = line, for u in 0..gap.
    const double a = c, b = s2 - c * gap, k = y1 - line;
    if (a == 0) return straight;
    const double disc = b * b - 4 * a * k;
    if (!(disc >= 0)) return straight;
    const double root = std::sqrt(disc);
    // The numerically stable pair of roots.
    const double q = -0.5 * (b + (b < 0 ? -root : root));
    double best = -1;
    for (const double u : {q / a, q == 0 ? -1.0 : k / q}) {
        if (!(u >= 0 && u <= gap)) continue;
        if (best < 0 || std::fabs(u / gap - straight) < std::fabs(best / gap - straight)) best = u;
    }
    return best < 0 ? straight : best / gap;
}

// A driver's sightings just before the present frame: the last one and the one before it.
struct Sightings {
    int32_t lastFrame;
    int32_t earlierPosition;
    int32_t earlierFrame;
};

// What the scan keeps per driver besides the previous position, and the rare work of a
// forward crossing, kept out of the per-record loop so that the loop stays small.
struct ScanState {
    TReplayLaps& chains;
    std::vector<int32_t> lapStart;
    std::vector<int32_t> lineCounter;
    int32_t length;

    // A lap whose start was placed by interpolation, waiting for the car's next sighting.
    std::vector<uint8_t> startPending;
    std::vector<int32_t> startPosition;  // the position at the lap's first frame

    [[gnu::noinline]] void Forward(int32_t i, int32_t p, int32_t delta, int32_t frame,
                                   const Sightings& seen, int64_t frameOffset) {
        if (++lineCounter[size_t(i)] <= 0) return;  // undoes an earlier backward crossing
        lineCounter[size_t(i)] = 0;
        const int32_t previous = p - delta;
        TReplayLapInfo& lap = chains[size_t(i)].back();
        const int32_t first = lapStart[size_t(i)];
        lap.FrameCount = frame - first;
        // Share of the interval between the two sightings travelled before the line. A car
        // standing exactly on the line at the earlier sighting crossed at its start. A car
        // missing from the frames around the line was last seen several frames earlier: the
        // crossing lies that share of all of them before this frame, not of one.
        const int32_t before = length - previous;
        const int32_t whole = before + p;
        double m = whole == 0 ? 0.0 : double(before) / double(whole);
        const int32_t gap = frame - seen.lastFrame;
        if (gap > 1 && whole != 0 &&
            std::abs(int64_t(previous) - seen.earlierPosition) <= length / 2)
            m = CurvedShare(double(seen.earlierFrame) - seen.lastFrame, seen.earlierPosition,
                            previous, double(p) + length, gap, length, m);
        const double lastIndex = double(seen.lastFrame - first);
        // Seen in the two frames before the line, the lap ends where its last two samples
        // reach the line, as the lap read from the replay places its end; otherwise on the
        // crossing between the sightings.
        lap.EndFrame = lastIndex + m * gap;
        if (gap == 1 && seen.earlierFrame == seen.lastFrame - 1 && seen.earlierFrame >= first) {
            const double last = previous, beforeLast = seen.earlierPosition;
            if (last != beforeLast && length - last <= kLapEndTolerance)
                lap.EndFrame = (length - last) / (last - beforeLast) + lastIndex;
        }
        lap.ExactFrames = lap.EndFrame - lap.StartFrame;
        const double startFrame = (m - 1) * gap;
        chains[size_t(i)].push_back(
            TReplayLapInfo{int32_t(frameOffset), 0, -startFrame, startFrame, 0.0});
        lapStart[size_t(i)] = frame;
        startPending[size_t(i)] = 1;
        startPosition[size_t(i)] = p;
    }

    // The car's first sighting after the one that started its lap: seen in the very next
    // frame, the lap starts where its first two samples reach back to the line, as the lap
    // read from the replay places its start (when that lies within a frame).
    [[gnu::noinline]] void Next(int32_t i, int32_t p, int32_t frame) {
        startPending[size_t(i)] = 0;
        if (frame != lapStart[size_t(i)] + 1) return;
        const double p0 = startPosition[size_t(i)], p1 = p;
        if (p1 == p0) return;
        const double startFrame = -p0 / (p1 - p0);
        if (startFrame > -1) chains[size_t(i)].back().StartFrame = startFrame;
    }
};

}  // namespace

namespace {

bool Scan(TReplayFile& file, int32_t dataSize, const TReplayHeader& header, TReplayLaps& laps) {
    const int32_t n = header.DriverCount;
    const int64_t start = file.Size() - int64_t(dataSize);
    if (dataSize <= 0 || n < 0 || start < 0 || !file.Seek(start)) return false;

    TReplayLaps chains(static_cast<size_t>(n));
    for (auto& chain : chains) chain.push_back(TReplayLapInfo{int32_t(start), 0, 0.0, 0.0, 0.0});
    std::vector<int32_t> prev(size_t(n), 0);
    // The frame in which each driver was last seen (a driver absent from frame 0 counts as
    // seen there at position 0).
    std::vector<int32_t> seen(size_t(n), 0);
    // The sighting before the last one, for placing a crossing after missing frames.
    std::vector<int32_t> earlierPosition(size_t(n), 0);
    std::vector<int32_t> earlierFrame(size_t(n), 0);
    ScanState state{chains,
                    std::vector<int32_t>(size_t(n), 0),
                    std::vector<int32_t>(size_t(n), 0),
                    header.TrackLength,
                    std::vector<uint8_t>(size_t(n), 0),
                    std::vector<int32_t>(size_t(n), 0)};

    const int32_t length = header.TrackLength;
    const int32_t forwardBound = (-length) / 2;
    const int32_t backwardBound = length / 2;
    const int64_t recordBytes = int64_t(n) * kReplayCarRecordSize;

    // Locals, so that the stores into prev cannot be taken to change them (a byte field of
    // the header may alias anything).
    const int32_t paceOffset = header.PaceOffset;
    int32_t* const prevAt = prev.data();
    int32_t* const seenAt = seen.data();

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
                const Sightings sightings{seenAt[i], earlierPosition[size_t(i)],
                                          earlierFrame[size_t(i)]};
                earlierPosition[size_t(i)] = prevAt[i];
                earlierFrame[size_t(i)] = seenAt[i];
                prevAt[i] = p;
                seenAt[i] = frame;
                if (state.startPending[size_t(i)]) state.Next(i, p, frame);
                // One test for the common case: no crossing in either direction.
                if (delta >= forwardBound && delta <= backwardBound) continue;
                if (delta < forwardBound)
                    state.Forward(i, p, delta, frame, sightings, frameOffset);
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
        lap.ExactFrames = lap.FrameCount - lap.StartFrame;
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
