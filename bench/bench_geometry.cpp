// SegmentAt and LocatePoint calls per second on the sample road course (the sample track
// with the most corners among those with detailed geometry).
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "track/Geometry.h"
#include "track/TrackDataFile.h"

namespace {

std::unique_ptr<TTrackData> RoadCourse() {
    TTrackDataFile file;
    if (ReadTrackDataFile(std::string(KORVALE_BIN_DIR) + "/tracks.dat", file) !=
        TrackReadStatus::Ok)
        return nullptr;
    std::unique_ptr<TTrackData> best;
    for (auto& t : file.records) {
        if (t->hasGeometry() && (!best || t->cornerCount > best->cornerCount)) best = std::move(t);
    }
    if (best) PrepareGeometry(*best);
    return best;
}

const TTrackData* Track() {
    static const std::unique_ptr<TTrackData> track = RoadCourse();
    return track.get();
}

void BM_SegmentAt(benchmark::State& state) {
    const TTrackData* t = Track();
    if (t == nullptr) {
        state.SkipWithError("no road course in tracks.dat");
        return;
    }
    int32_t a = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(SegmentAt(*t, a));
        a += 997;
        if (a > t->trackLength) a -= t->trackLength;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SegmentAt);

void BM_LocatePoint(benchmark::State& state) {
    const TTrackData* t = Track();
    if (t == nullptr) {
        state.SkipWithError("no road course in tracks.dat");
        return;
    }
    // Points on the track, a third of the way across, as a mouse over the map gives them.
    std::vector<TrackPoint> points;
    for (int32_t a = 0; a < t->trackLength; a += t->trackLength / 500) {
        const EdgePoints e = EdgePointsAt(*t, a);
        points.push_back({e.reference.x + (e.other.x - e.reference.x) / 3,
                          e.reference.y + (e.other.y - e.reference.y) / 3});
    }
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(LocatePoint(*t, points[i].x, points[i].y));
        i = (i + 1) % points.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LocatePoint);

}  // namespace

BENCHMARK_MAIN();
