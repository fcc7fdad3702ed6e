#include "views/map/LapLine.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

#include "channels/Channels.h"
#include "views/map/MapView.h"

namespace {

// A lap's frames lie within its samples; a damaged lap whose end lies far beyond them is
// drawn with this many frames past its last sample at most, so it cannot take unbounded
// time or memory.
constexpr double kFramesBeyondSamples = 1024;

}  // namespace

std::vector<TrackPoint> LapLinePoints(const TTrackData& track, const TReplay& lap) {
    std::vector<TrackPoint> points;
    if (lap.sampleCount <= 0 || lap.positions.empty()) return points;
    const double perFoot = 12 / track.inchesPerUnit;
    auto units = [perFoot](double feet) { return TruncateToInt(feet * perFoot); };
    auto at = [&](double t) {
        return WorldPointAt(track, units(PositionAt(lap, t)), units(RawLineAt(lap, t)));
    };

    const double d0 = lap.startPosition * lap.inchesPerUnit / 12;
    const double t0 = TimeAtPosition(lap, d0);
    const double duration = (lap.endFrame - lap.startFrame) / 15;
    const double limit = lap.sampleCount + kFramesBeyondSamples;
    const double frames = lap.endFrame - lap.startFrame + 2;
    points.reserve(static_cast<size_t>(frames > 0 ? std::min(frames, limit) : 0.0) + 2);
    points.push_back(WorldPointAt(track, units(d0), units(RawLineAt(lap, t0))));
    const double step = 1.0 / 15;
    double t = 0;
    for (double n = 0; t < duration && n < limit; t += step, ++n) points.push_back(at(t));
    points.push_back(at(duration));
    return points;
}

TLapLineCache::TKey TLapLineCache::KeyOf(const TTrackData& track, const TReplay& lap) {
    TKey k;
    k.track = &track;
    k.serial = lap.serial;
    k.sampleCount = lap.sampleCount;
    k.startFrame = lap.startFrame;
    k.endFrame = lap.endFrame;
    k.startPosition = lap.startPosition;
    k.inchesPerUnit = lap.inchesPerUnit;
    k.positions = lap.positions.data();
    return k;
}

const std::vector<TrackPoint>& TLapLineCache::Points(const TTrackData& track, const TReplay& lap) {
    const TKey key = KeyOf(track, lap);
    TEntry& e = entries_[&lap];
    if (!(e.key == key) || e.points.empty()) {
        e.key = key;
        e.points = LapLinePoints(track, lap);
    }
    return e.points;
}

void TLapLineCache::Prune(const std::vector<const TReplay*>& laps) {
    const std::unordered_set<const TReplay*> keep(laps.begin(), laps.end());
    std::erase_if(entries_, [&keep](const auto& e) { return keep.count(e.first) == 0; });
}
