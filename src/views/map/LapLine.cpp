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

std::vector<double> LapLineTimes(const TReplay& lap) {
    std::vector<double> times;
    if (lap.sampleCount <= 0 || lap.positions.empty()) return times;
    const double d0 = lap.startPosition * lap.inchesPerUnit / 12;
    const double duration = (lap.endFrame - lap.startFrame) / 15;
    const double limit = lap.sampleCount + kFramesBeyondSamples;
    const double frames = lap.endFrame - lap.startFrame + 2;
    times.reserve(static_cast<size_t>(frames > 0 ? std::min(frames, limit) : 0.0) + 2);
    times.push_back(TimeAtPosition(lap, d0));
    const double step = 1.0 / 15;
    double t = 0;
    for (double n = 0; t < duration && n < limit; t += step, ++n) times.push_back(t);
    times.push_back(duration);
    return times;
}

std::vector<TrackPoint> LapLinePoints(const TTrackData& track, const TReplay& lap) {
    std::vector<TrackPoint> points;
    const std::vector<double> times = LapLineTimes(lap);
    if (times.empty()) return points;
    const double perFoot = 12 / track.inchesPerUnit;
    auto units = [perFoot](double feet) { return TruncateToInt(feet * perFoot); };
    // A lap in which the car rolled back over the line reads positions behind the line as
    // below 0 (or past it as beyond the lap's length): on the map they lie where the track
    // is, next to the line, not across the infield.
    const bool wraps = lap.RolledOverLine() && track.trackLength > 0;
    auto onTrack = [&](int32_t position) {
        if (wraps && position < 0) return position + track.trackLength;
        if (wraps && position > track.trackLength) return position - track.trackLength;
        return position;
    };
    auto at = [&](double t) {
        return WorldPointAt(track, onTrack(units(PositionAt(lap, t))), units(RawLineAt(lap, t)));
    };
    // The first point lies on the start line itself, whatever the time there.
    const double d0 = lap.startPosition * lap.inchesPerUnit / 12;
    points.reserve(times.size());
    points.push_back(WorldPointAt(track, units(d0), units(RawLineAt(lap, times[0]))));
    for (size_t i = 1; i < times.size(); ++i) points.push_back(at(times[i]));
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
