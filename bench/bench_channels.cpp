// What the graph asks of the channels on every full repaint: 36 laps at 1920 pixel columns,
// x on Position, Speed on the y-axis and Lateral Force on the second (target 16 ms, aim
// 5 ms); and averaging ten laps into one.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "channels/Channels.h"
#include "replay/Averaging.h"
#include "replay/OpenReplay.h"
#include "sim/Simulator.h"

namespace {

constexpr int32_t kTrackLength = 95000;  // about 1.5 miles at one inch per unit
constexpr double kInchesPerUnit = 1.0;

// Laps read from a simulated race as the import reads them: every full lap of every car.
std::vector<std::unique_ptr<TReplay>> SimulatedLaps(int32_t cars, int32_t laps, size_t wanted) {
    TTrackData track;
    track.name = "Bench Oval";
    track.trackLength = kTrackLength;
    track.inchesPerUnit = kInchesPerUnit;
    sim::SimOptions options;
    options.track = &track;
    options.cars = cars;
    options.laps = laps;
    options.seed = 3;
    options.untidy = false;
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("korvale-bench-channels-" + std::to_string(getpid()) + ".rpl"))
                                 .string();
    if (!sim::WriteSimulatedReplay(options, path).ok) std::exit(1);
    TOpenReplay replay;
    std::vector<std::unique_ptr<TReplay>> out;
    if (OpenReplay(path, kTrackLength, kInchesPerUnit, replay) == TReplayReadStatus::Ok) {
        for (size_t d = 0; d < replay.laps.size() && out.size() < wanted; ++d)
            for (size_t k = 1; k + 1 < replay.laps[d].size() && out.size() < wanted; ++k) {
                std::unique_ptr<TReplay> lap;
                if (ReadReplayLap(replay, int32_t(d), int32_t(k), lap) == TReplayReadStatus::Ok)
                    out.push_back(std::move(lap));
            }
    }
    replay.file.Close();
    std::filesystem::remove(path);
    if (out.size() < wanted) {
        std::fprintf(stderr, "bench_channels: only %zu laps\n", out.size());
        std::exit(1);
    }
    return out;
}

void BM_GraphColumns36Laps(benchmark::State& state) {
    static const auto laps = SimulatedLaps(12, 3, 36);
    const int columns = 1920;
    const double feet = kTrackLength * kInchesPerUnit / 12.0;
    for (auto _ : state) {
        double sum = 0;
        for (const auto& lap : laps)
            for (int c = 0; c < columns; ++c) {
                const double x = feet * c / (columns - 1);
                sum += ChannelValue(*lap, x, TelemetryChannel::Position, TelemetryChannel::Speed,
                                    nullptr);
                sum += ChannelValue(*lap, x, TelemetryChannel::Position,
                                    TelemetryChannel::LateralForce, nullptr);
            }
        benchmark::DoNotOptimize(sum);
    }
    state.counters["laps"] = double(laps.size());
}
BENCHMARK(BM_GraphColumns36Laps)->Unit(benchmark::kMillisecond);

void BM_AverageTenLaps(benchmark::State& state) {
    static const auto laps = SimulatedLaps(1, 12, 10);
    std::vector<const TReplay*> pointers;
    for (const auto& lap : laps) pointers.push_back(lap.get());
    for (auto _ : state) {
        TReplay result("Average", 1);
        const AverageResult r = AverageLaps(pointers, kTrackLength, kInchesPerUnit, result);
        if (r != AverageResult::Complete) state.SkipWithError("averaging did not reach the line");
        benchmark::DoNotOptimize(result.sampleCount);
    }
}
BENCHMARK(BM_AverageTenLaps)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
