// The track map of the sample road course with 36 laps at 1920 x 1080: a full repaint at
// the fitted scale and zoomed in (the map layer drawn into the cached image, then shown), a
// mouse move over the map (LocatePoint, the readout and the cursor marks, and the overlay
// paint of what changed), and LocatePoint alone. For comparison, the layer drawn as if
// nothing were kept: every lap's points recomputed from its samples.
// The same repaint and mouse move with the reference lap coloured by In-line Force, the
// dearest channel to colour by (a difference of a difference at every frame).
// Targets: full repaint <= 16 ms (aim 5), mouse move <= 1 ms (aim 0.2), LocatePoint 20 us.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "commands/CommandContext.h"
#include "commands/QuietPrompts.h"
#include "platform/ProfileFile.h"
#include "track/Geometry.h"
#include "track/TrackList.h"
#include "views/map/MapDrawing.h"
#include "views/map/TTrackMapView.h"

namespace {

constexpr int kWidth = 1920, kHeight = 1080;

struct MapBench {
    TTrackList tracks;
    TDocument doc{tracks};
    TViewState view_state;
    TSessionState session;
    ProfileFile settings{"/nonexistent-dir/korvale-bench-map.ini"};
    TQuietPrompts prompts;
    TCommandContext ctx{doc, view_state, session, tracks, settings, prompts};
    TLapLineCache lines;
    std::unique_ptr<TTrackMapView> view;
    std::vector<QPoint> onTrack;  // client points over the track, for the pointer

    MapBench() {
        const std::string data = std::string(KORVALE_BIN_DIR) + "/tracks.dat";
        if (!LoadTrackData(data, settings, tracks).ok) Fail("cannot read " + data);
        const int index = tracks.FindByName("Kestrel Ridge Circuit");
        if (index < 0) Fail("the sample road course is missing");
        doc.UseTrack(index);
        const TTrackData& track = tracks.At(index);
        LoadBenchLaps("bench_views_map", doc, track);
        view = std::make_unique<TTrackMapView>(ctx, lines);
        // The client area (inside the scroll bars) is 1920 x 1080.
        view->resize(kWidth + view->verticalScrollBar()->sizeHint().width(),
                     kHeight + view->horizontalScrollBar()->sizeHint().height());
        view->show();
        QCoreApplication::processEvents();
        view_state.viewMode = ViewMap;  // as the Map command switches
        view->Enter();
        view->viewport()->repaint();
    }

    // Client points of the track's middle at the view's current scale and scroll.
    void FindTrackPoints() {
        onTrack.clear();
        const TTrackData& t = tracks.At(doc.currentTrack());
        const TMapNavigation& s = view->State();
        for (int32_t p = 0; p < t.trackLength; p += t.trackLength / 400) {
            const EdgePoints e = EdgePointsAt(t, p);
            const TPixel c = CanvasPoint(s.view, (e.reference.x + e.other.x) / 2,
                                         (e.reference.y + e.other.y) / 2);
            const QPoint q(c.x - 16 * s.scroller.x, c.y - 16 * s.scroller.y);
            if (q.x() >= 0 && q.y() >= 0 && q.x() < kWidth && q.y() < kHeight) onTrack.push_back(q);
        }
        if (onTrack.empty()) Fail("no point of the track is in view");
    }

    void Send(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent e(type, QPointF(at), view->viewport()->mapToGlobal(QPointF(at)), button,
                      buttons, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &e);
    }

    // Zoom to a rectangle of a quarter of the window around its middle.
    void ZoomIn() {
        view->FullSize();
        view->viewport()->repaint();
        const QPoint a(kWidth * 3 / 8, kHeight * 3 / 8), b(kWidth * 5 / 8, kHeight * 5 / 8);
        Send(QEvent::MouseButtonPress, a, Qt::LeftButton, Qt::LeftButton);
        Send(QEvent::MouseMove, b, Qt::NoButton, Qt::LeftButton);
        Send(QEvent::MouseButtonRelease, b, Qt::LeftButton, Qt::NoButton);
        view->viewport()->repaint();
    }

    [[noreturn]] static void Fail(const std::string& why) { BenchFail("bench_views_map", why); }
};

MapBench& Bench() {
    static MapBench* bench = new MapBench;  // lives until the process ends
    return *bench;
}

void Repaint(benchmark::State& state, MapBench& b) {
    for (auto _ : state) {
        b.view->FullRepaint();
        b.view->viewport()->repaint();
    }
    state.counters["scale"] = b.view->State().view.mapScale;
    state.counters["laps"] = b.doc.laps().Count();
}

void BM_MapFullRepaintFitted(benchmark::State& state) {
    MapBench& b = Bench();
    b.view->FullSize();
    Repaint(state, b);
}

void BM_MapFullRepaintZoomed(benchmark::State& state) {
    MapBench& b = Bench();
    b.ZoomIn();
    Repaint(state, b);
    b.view->FullSize();
}

// The layer as the plain routine draws it with no points kept: every lap's line worked
// out again from its samples.
void BM_MapLayerRecomputingLapLines(benchmark::State& state) {
    MapBench& b = Bench();
    b.view->FullSize();
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    TMapScene scene = b.view->Scene();
    scene.lines = nullptr;
    for (auto _ : state) DrawTrackMap(image, {0, 0}, b.view->State().view, scene);
}

void BM_MapLayerKeptLapLines(benchmark::State& state) {
    MapBench& b = Bench();
    b.view->FullSize();
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    const TMapScene scene = b.view->Scene();
    for (auto _ : state) DrawTrackMap(image, {0, 0}, b.view->State().view, scene);
    if (const char* path = std::getenv("KORVALE_BENCH_PICTURE"))
        image.save(QString::fromLocal8Bit(path));
}

void BM_MapFullRepaintColoured(benchmark::State& state) {
    MapBench& b = Bench();
    b.view_state.map.colour = TMapColour::InlineForce;
    b.view->FullSize();
    Repaint(state, b);
    b.view_state.map.colour = TMapColour::Laps;
}

void MouseMoves(benchmark::State& state, MapBench& b) {
    b.view->FullSize();
    b.view->viewport()->repaint();
    b.FindTrackPoints();
    size_t i = 0;
    int found = 0;
    for (auto _ : state) {
        b.Send(QEvent::MouseMove, b.onTrack[i], Qt::NoButton, Qt::NoButton);
        QCoreApplication::processEvents();  // the overlay paint of what changed
        if (b.view_state.cursorPosition != NoCursor) ++found;
        i = (i + 1) % b.onTrack.size();
    }
    if (found == 0) state.SkipWithError("the pointer never found the track");
    state.counters["found"] = found;
}

void BM_MapMouseMove(benchmark::State& state) {
    MouseMoves(state, Bench());
}

void BM_MapMouseMoveColoured(benchmark::State& state) {
    MapBench& b = Bench();
    b.view_state.map.colour = TMapColour::InlineForce;
    MouseMoves(state, b);
    b.view_state.map.colour = TMapColour::Laps;
}

void BM_LocatePoint(benchmark::State& state) {
    MapBench& b = Bench();
    const TTrackData& t = b.tracks.At(b.doc.currentTrack());
    std::vector<TrackPoint> points;
    for (int32_t p = 0; p < t.trackLength; p += t.trackLength / 1000) {
        const EdgePoints e = EdgePointsAt(t, p);
        points.push_back({(e.reference.x + e.other.x) / 2, (e.reference.y + e.other.y) / 2});
    }
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(LocatePoint(t, points[i].x, points[i].y));
        i = (i + 1) % points.size();
    }
}

BENCHMARK(BM_MapLayerRecomputingLapLines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MapLayerKeptLapLines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MapFullRepaintFitted)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MapFullRepaintZoomed)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MapFullRepaintColoured)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MapMouseMove)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MapMouseMoveColoured)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LocatePoint)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    return RunViewBenchmarks(argc, argv);
}
