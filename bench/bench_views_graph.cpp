// The telemetry graph with 36 laps at 1920 x 1080, x on Position, y Speed, second y
// Lateral Force: a full repaint (axes and every curve recomputed into the cached layer,
// then shown) and a mouse move over the plot (readout, cursor line, overlay paint of the
// parts that changed), alone and with the data window open (every lap's values at the
// pointer, and the window's repaint). Targets: full repaint <= 16 ms (aim 5), mouse move
// <= 1 ms (aim 0.2).
// The curve benchmarks take the way the values are found as their argument (0 the walk
// along each lap, 1 ChannelValue for every column as before), so that both are measured in
// one run; "taskset -c 0" gives the one-core figures.
// With View > Time Delta on, the strip under the plot may add at most 2 ms to the full
// repaint (compare BM_GraphFullRepaintWithDelta with BM_GraphFullRepaint), and the sector
// table of the 36 laps is computed within 1 ms (BM_SectorTable).
// View > Stacked Channels with its four default panes repaints within twice the single
// graph's time (BM_GraphFullRepaintStacked against BM_GraphFullRepaint in the same run), and
// the G-G plot of the 36 laps redraws within 5 ms (BM_GGPlot; BM_GGPoints is the one-off
// work of its per-lap forces, done when the laps change).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <numbers>
#include <string>

#include "BenchSupport.h"
#include "analysis/LapAnalysis.h"
#include "analysis/Sectors.h"
#include "commands/CommandContext.h"
#include "commands/Prompts.h"
#include "commands/QuietPrompts.h"
#include "platform/ProfileFile.h"
#include "track/Geometry.h"
#include "track/TrackList.h"
#include "views/graph/DeltaStrip.h"
#include "views/graph/GraphAxes.h"
#include "views/graph/GraphCurves.h"
#include "views/graph/TGraphView.h"
#include "views/windows/GGPlot.h"
#include "views/windows/TDataWindow.h"

namespace {

// A road course of about 2.4 miles with detailed geometry: a loop with corners of several
// radii, edges 30 feet either side of the centre line, one inch per unit.
std::unique_ptr<TTrackData> RoadCourse() {
    auto t = std::make_unique<TTrackData>();
    t->name = "Bench Road Course";
    t->trackId = 50;
    t->inchesPerUnit = 1.0;
    const int m = 720;
    t->pointCount = m;
    t->sideFlag = 1;
    t->constantWidth = -360;
    double length = 0, px = 0, py = 0;
    for (int i = 0; i <= m; ++i) {
        const double a = 2 * std::numbers::pi * (i % m) / m;
        const double cx = 2400 * std::cos(a) + 500 * std::cos(3 * a);
        const double cy = 1400 * std::sin(a) + 250 * std::sin(2 * a);
        const double dx = -2400 * std::sin(a) - 1500 * std::sin(3 * a);
        const double dy = 1400 * std::cos(a) + 500 * std::cos(2 * a);
        const double d = std::hypot(dx, dy);
        for (int e = 0; e < 2; ++e) {
            const double side = e == 0 ? 30.0 : -30.0;
            t->edgeX[size_t(e)].push_back(int32_t((cx - side * dy / d) * 12));
            t->edgeY[size_t(e)].push_back(int32_t((cy + side * dx / d) * 12));
        }
        if (i > 0) length += std::hypot(cx - px, cy - py);
        px = cx;
        py = cy;
    }
    t->trackLength = int32_t(length * 12);
    const double feet = length;
    t->cornerCount = 6;
    for (int c = 0; c < 6; ++c) {
        t->cornerNames.push_back("Turn " + std::to_string(c + 1));
        t->cornerPositions.push_back(feet * (c + 0.5) / 6);
    }
    PrepareGeometry(*t);
    return t;
}

struct GraphBench {
    TTrackList tracks;
    TDocument doc{tracks};
    TViewState viewState;
    TSessionState session;
    ProfileFile settings{"/nonexistent-dir/korvale-bench-graph.ini"};
    TQuietPrompts prompts;
    TCommandContext ctx{doc, viewState, session, tracks, settings, prompts};
    std::unique_ptr<TGraphView> view;

    GraphBench() {
        doc.SetCurrentTrack(tracks.Insert(RoadCourse()));
        const TTrackData& track = tracks.At(doc.currentTrack());
        LoadBenchLaps("bench_views_graph", doc, track);
        doc.SetAxes(
            {TelemetryChannel::Position, TelemetryChannel::Speed, TelemetryChannel::LateralForce});
        viewState.side.pipShown = true;  // so that hovering moves the cursor line as well
        view = std::make_unique<TGraphView>(ctx);
        view->ResetRanges();
        view->resize(1920, 1080);
        view->show();
        QCoreApplication::processEvents();
    }

    // One pointer step across the plot, from a full repaint on: x walks the plot's width
    // and back, and the overlay paint of what the move changed runs before it returns.
    void StartHovering() {
        view->FullRepaint();
        view->repaint();
        hoverX = 100;
    }
    void HoverStep() {
        hoverX = hoverX >= 1800 ? 100 : hoverX + 7;
        const QPointF local(hoverX, 300 + (hoverX % 400));
        QMouseEvent move(QEvent::MouseMove, local, view->mapToGlobal(local), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(view.get(), &move);
        QCoreApplication::processEvents();
    }
    int hoverX = 100;
};

GraphBench& Bench() {
    static GraphBench* bench = new GraphBench;  // lives until the process ends
    return *bench;
}

void BM_GraphFullRepaint(benchmark::State& state) {
    GraphBench& b = Bench();
    for (auto _ : state) {
        b.view->FullRepaint();
        b.view->repaint();
    }
    state.counters["laps"] = b.doc.laps().Count();
}

// For comparison: the same repaint with the second y-axis on "None", Speed only; the
// difference is what the Lateral Force curves cost.
void BM_GraphFullRepaintSpeedOnly(benchmark::State& state) {
    GraphBench& b = Bench();
    b.view->SetAxes(TelemetryChannel::Position, TelemetryChannel::Speed, TelemetryChannel::None);
    for (auto _ : state) {
        b.view->FullRepaint();
        b.view->repaint();
    }
    b.view->SetAxes(TelemetryChannel::Position, TelemetryChannel::Speed,
                    TelemetryChannel::LateralForce);
}

void BM_GraphMouseMove(benchmark::State& state) {
    GraphBench& b = Bench();
    b.StartHovering();
    int moves = 0;
    for (auto _ : state) {
        b.HoverStep();
        ++moves;
    }
    if (b.viewState.cursorPosition == NoCursor)
        state.SkipWithError("the cursor line was not moved");
    state.counters["moves"] = moves;
}

// The data window as the main window keeps it: one column per lap, fed by the graph.
struct DataWindowBench {
    GraphBench& b;
    TDataWindow window;
    QMetaObject::Connection feed;

    explicit DataWindowBench(GraphBench& bench)
        : b(bench),
          window(
              [this] {
                  const int32_t at = b.viewState.cursorPosition;
                  const std::optional<int32_t> cursor =
                      at == NoCursor ? std::nullopt : std::optional(at);
                  return TLapValuesSource{&b.doc.laps(), b.doc.Track(), cursor, b.doc.axes().x};
              },
              nullptr) {
        window.Setup({0, 0, 480, 260});
        for (int32_t i = 0; i < b.doc.laps().Count(); ++i) window.AddLapColumn(b.doc.laps().At(i));
        window.show();
        feed = QObject::connect(b.view.get(), &TGraphView::showLapValues, &window,
                                &TDataWindow::ShowLapValues);
        QCoreApplication::processEvents();
    }
    ~DataWindowBench() { QObject::disconnect(feed); }
};

void BM_GraphMouseMoveDataWindow(benchmark::State& state) {
    GraphBench& b = Bench();
    DataWindowBench data(b);
    b.StartHovering();
    for (auto _ : state) b.HoverStep();  // the graph's overlay and the data window's paint
    int covered = 0;
    for (int32_t i = 0; i < data.window.columns().Count(); ++i)
        covered += data.window.columns().At(i).values[ChannelNumber(TelemetryChannel::Time)] !=
                   kNoLapValue;
    if (covered == 0) state.SkipWithError("the data window shows no values");
    state.counters["laps shown"] = covered;
}

// The data window's part of a move: every lap's values and the repaint of its value rows.
void BM_DataWindowShowAndRepaint(benchmark::State& state) {
    GraphBench& b = Bench();
    DataWindowBench data(b);
    const double length = b.doc.Track()->trackLength;
    double x = 0;
    for (auto _ : state) {
        x = x + 977 > length ? 0 : x + 977;
        data.window.ShowLapValues(x, TelemetryChannel::Position);
        data.window.viewport()->repaint(data.window.viewport()->rect());
    }
}

// ShowLapValues alone, without the repaint: all 36 laps read at one position.
void BM_ShowLapValues(benchmark::State& state) {
    GraphBench& b = Bench();
    TLapDataTable table;
    for (int32_t i = 0; i < b.doc.laps().Count(); ++i) table.AddLapColumn(b.doc.laps().At(i));
    const TTrackData* track = b.doc.Track();
    const TLapValuesSource source{&b.doc.laps(), track, std::nullopt, TelemetryChannel::Position};
    const double length = track->trackLength;
    double x = 0;
    for (auto _ : state) {
        x = x + 977 > length ? 0 : x + 977;
        table.ShowLapValues(x, TelemetryChannel::Position, source);
        benchmark::DoNotOptimize(table.At(0).values);
    }
}

// The curves' values found by walking each lap (the program's way, argument 0) or by
// ChannelValue afresh for every column (the code before the walk, argument 1), measured in
// the same run. Run under "taskset -c 0" for one core; the curves of several laps are
// computed on as many threads as the machine has cores, so the CPU time is the process's.
TCurveValues ValuesOf(const benchmark::State& state) {
    return state.range(0) == 0 ? TCurveValues::Walk : TCurveValues::PerColumn;
}
void Label(benchmark::State& state) {
    state.SetLabel(state.range(0) == 0 ? "walk" : "per column (before)");
}

// The curve points alone, lap by lap on one thread, both axes.
void BM_GraphCurvePoints(benchmark::State& state) {
    GraphBench& b = Bench();
    const TCurveValues values = ValuesOf(state);
    const TGraphPaintInput in{b.doc, b.viewState, CurrentTrack(b.ctx), 1920, 1080,
                              1,     96,          TAxisKind::None};
    for (auto _ : state) {
        size_t points = 0;
        for (int n = 0; n < b.doc.laps().Count(); ++n)
            for (bool second : {false, true})
                for (const QPolygon& line : LapCurve(b.doc.laps().At(n), in, second, values))
                    points += size_t(line.size());
        benchmark::DoNotOptimize(points);
    }
    Label(state);
}

// The cached layer as a full repaint renders it: white, axes, then every curve.
void RenderLayer(GraphBench& b, QImage& image, TCurveValues values) {
    const TGraphPaintInput in{
        b.doc, b.viewState, CurrentTrack(b.ctx), image.width(), image.height(),
        1,     96,          TAxisKind::None};
    image.fill(Qt::white);
    {
        QPainter p(&image);
        DrawGraphAxes(p, in);
    }
    DrawGraphCurves(image, in, values);
}

void BM_GraphLayer(benchmark::State& state) {
    GraphBench& b = Bench();
    QImage image(1920, 1080, QImage::Format_RGB32);
    for (auto _ : state) RenderLayer(b, image, ValuesOf(state));
    Label(state);
    // KORVALE_BENCH_PICTURE names a file for the picture that was measured.
    if (const char* path = std::getenv("KORVALE_BENCH_PICTURE"))
        image.save(QString::fromLocal8Bit(path) + (state.range(0) == 0 ? "" : ".before.png"));
}

// The same full repaint with the time delta strip under the plot.
void BM_GraphFullRepaintWithDelta(benchmark::State& state) {
    GraphBench& b = Bench();
    b.viewState.analysis.deltaShown = true;
    for (auto _ : state) {
        b.view->FullRepaint();
        b.view->repaint();
    }
    if (b.view->StripHeight() == 0) state.SkipWithError("the delta strip was not shown");
    state.counters["strip_rows"] = b.view->StripHeight();
    b.viewState.analysis.deltaShown = false;
    b.view->FullRepaint();
}

// The strip's own part: the deltas of every lap at every column, drawn into an image.
void BM_DeltaStrip(benchmark::State& state) {
    GraphBench& b = Bench();
    QImage image(1920, 1080, QImage::Format_RGB32);
    const int strip = DeltaStripHeight(1080);
    const TGraphPaintInput in{b.doc, b.viewState, CurrentTrack(b.ctx), 1920, 1080 - strip,
                              1,     96,          TAxisKind::None};
    const TDeltaStripGeometry g = DeltaStripGeometry(in.Geometry(), 1080 - strip, strip);
    const int reference = FastestLap(b.doc.laps().Pointers());
    for (auto _ : state) DrawDeltaStrip(image, in, g, reference);
}

// Sector times of the 36 laps and the ideal lap, on the track's six corners.
void BM_SectorTable(benchmark::State& state) {
    GraphBench& b = Bench();
    const std::vector<const TReplay*> laps = b.doc.laps().Pointers();
    const TTrackData& track = b.tracks.At(b.doc.currentTrack());
    for (auto _ : state) {
        const TSectorTable table = ComputeSectorTable(laps, track);
        benchmark::DoNotOptimize(table.ideal);
    }
    state.counters["laps"] = double(laps.size());
}

// A full repaint with either way of finding the values: the layer rendered as the view
// renders it, then the window painted from a layer (the view's paint without rebuilding).
void BM_GraphFullRepaintCompared(benchmark::State& state) {
    GraphBench& b = Bench();
    QImage image(b.view->size(), QImage::Format_RGB32);
    b.view->FullRepaint();
    b.view->repaint();
    for (auto _ : state) {
        RenderLayer(b, image, ValuesOf(state));
        b.view->repaint();
    }
    Label(state);
}

BENCHMARK(BM_GraphCurvePoints)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GraphLayer)->Arg(0)->Arg(1)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GraphFullRepaintCompared)
    ->Arg(0)
    ->Arg(1)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GraphFullRepaint)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GraphFullRepaintSpeedOnly)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GraphMouseMove)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GraphMouseMoveDataWindow)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DataWindowShowAndRepaint)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ShowLapValues)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GraphFullRepaintWithDelta)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
// CPU time of every thread: the strip's laps are spread over the cores.
BENCHMARK(BM_DeltaStrip)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_SectorTable)->Unit(benchmark::kMicrosecond);

void BM_GraphFullRepaintStacked(benchmark::State& state) {
    GraphBench& b = Bench();
    b.viewState.graph.stacked = true;
    b.viewState.graph.stackedChannels = TGraphViewState::DefaultStackedChannels();
    for (auto _ : state) {
        b.view->FullRepaint();
        b.view->repaint();
    }
    b.viewState.graph.stacked = false;
    state.counters["laps"] = b.doc.laps().Count();
    state.counters["panes"] = static_cast<double>(b.viewState.graph.stackedChannels.size());
}

void BM_GGPoints(benchmark::State& state) {
    GraphBench& b = Bench();
    for (auto _ : state) {
        TGGPoints points;
        benchmark::DoNotOptimize(points.For(b.doc.laps()).size());
    }
}

void BM_GGPlot(benchmark::State& state) {
    GraphBench& b = Bench();
    b.view->FullSize();
    TGGPoints points;
    const std::vector<TGGLapPoints>& p = points.For(b.doc.laps());
    QImage image(1080, 1080, QImage::Format_RGB32);
    for (auto _ : state) {
        RenderGGPlot(image, p, b.ctx);
        benchmark::DoNotOptimize(image.bits());
    }
    state.counters["laps"] = static_cast<double>(p.size());
}

// Alternating, so that both are measured under the same conditions in one run.
BENCHMARK(BM_GraphFullRepaint)
    ->Name("BM_GraphFullRepaint/single")
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GraphFullRepaintStacked)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GGPoints)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GGPlot)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return RunViewBenchmarks(argc, argv);
}
