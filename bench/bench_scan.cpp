// Scanning a large simulated replay (43 cars, three hours of racing) against merely reading
// the same file into memory. Both report bytes per second; the scan should stay within
// 3 times the plain read (1.5 times is the aim).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "replay/OpenReplay.h"
#include "sim/Simulator.h"

namespace {

constexpr int32_t kTrackLength = 160000;
constexpr double kInchesPerUnit = 1.5;

struct RaceFile {
    std::string path;
    int64_t bytes = 0;

    RaceFile() {
        path = (std::filesystem::temp_directory_path() /
                ("korvale-bench-scan-" + std::to_string(getpid()) + ".rpl"))
                   .string();
        TTrackData track;
        track.name = "Bench Oval";
        track.trackLength = kTrackLength;
        track.inchesPerUnit = kInchesPerUnit;
        sim::SimOptions options;
        options.track = &track;
        options.cars = 43;
        options.durationSeconds = 3 * 3600;
        options.seed = 7;
        const sim::SimResult result = sim::WriteSimulatedReplay(options, path);
        if (!result.ok) {
            std::fprintf(stderr, "bench_scan: cannot simulate the race: %s\n",
                         result.message.c_str());
            std::exit(1);
        }
        bytes = int64_t(std::filesystem::file_size(path));
    }
    ~RaceFile() {
        std::error_code ec;
        std::filesystem::remove(path, ec);
    }
};

const RaceFile& Race() {
    static const RaceFile race;
    return race;
}

void BM_ReadFileIntoMemory(benchmark::State& state) {
    const RaceFile& race = Race();
    std::vector<char> data(size_t(race.bytes));
    for (auto _ : state) {
        std::FILE* f = std::fopen(race.path.c_str(), "rb");
        const size_t got = std::fread(data.data(), 1, data.size(), f);
        std::fclose(f);
        if (int64_t(got) != race.bytes) state.SkipWithError("short read");
        benchmark::DoNotOptimize(data.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * race.bytes);
}

void BM_OpenAndScanReplay(benchmark::State& state) {
    const RaceFile& race = Race();
    int64_t laps = 0;
    for (auto _ : state) {
        TOpenReplay replay;
        if (OpenReplay(race.path, kTrackLength, kInchesPerUnit, replay) != TReplayReadStatus::Ok)
            state.SkipWithError("scan failed");
        laps = 0;
        for (const auto& chain : replay.laps) laps += int64_t(chain.size());
        benchmark::DoNotOptimize(laps);
    }
    state.SetBytesProcessed(state.iterations() * race.bytes);
    state.counters["laps"] = double(laps);
    state.counters["MB"] = double(race.bytes) / 1e6;
}

}  // namespace

BENCHMARK(BM_ReadFileIntoMemory)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_OpenAndScanReplay)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_MAIN();
