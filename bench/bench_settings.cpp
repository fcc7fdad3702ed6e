// The settings file at start-up: open a settings file of about 1 MB (far larger than any
// real one), make the reads a start-up makes and the few writes of values that changed.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/ProfileFile.h"

namespace {

std::string MegabyteSettings() {
    std::string big = "[admin]\nfirst=1\n";
    for (int i = 0; big.size() < (1u << 20); ++i)
        big += "[recent" + std::to_string(i) + "]\nfile=/home/me/documents/lap" +
               std::to_string(i) + ".kvl\r\n";
    big += "[graph]\nxaxis=0\n";
    return big;
}

void BM_StartUpOnAMegabyteFile(benchmark::State& state) {
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                       ("korvale-bench-" + std::to_string(::getpid()) + ".ini");
    const std::string big = MegabyteSettings();
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::ofstream(path, std::ios::binary) << big;
        state.ResumeTiming();
        ProfileFile p(path.string());
        int sum = 0;
        for (int i = 0; i < 100; ++i) sum += p.ReadInt("graph", "xaxis", 1);
        for (int i = 0; i < 8; ++i) p.WriteInt("window", "appx", 100 + i + round);
        benchmark::DoNotOptimize(sum);
        ++round;
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_StartUpOnAMegabyteFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
