#pragma once
// Shared set-up of the view benchmarks: the 36 full laps of a simulated race on a track,
// added to the document as an import would add them.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "commands/Document.h"
#include "document/LapPalette.h"
#include "replay/OpenReplay.h"
#include "sim/Simulator.h"
#include "track/TTrackData.h"

inline constexpr int kBenchLaps = 36;

// Ends the benchmark program bench with why.
[[noreturn]] inline void BenchFail(const char* bench, const std::string& why) {
    std::fprintf(stderr, "%s: %s\n", bench, why.c_str());
    std::exit(1);
}

// Simulates a race of 10 cars over 5 laps on track (always the same race) and adds its
// first kBenchLaps full laps to doc, each in the palette's next colour.
inline void LoadBenchLaps(const char* bench, TDocument& doc, const TTrackData& track) {
    const std::string path = (std::filesystem::temp_directory_path() /
                              (std::string(bench) + "-" + std::to_string(getpid()) + ".rpl"))
                                 .string();
    sim::SimOptions options;
    options.track = &track;
    options.cars = 10;
    options.laps = 5;
    options.seed = 11;
    const sim::SimResult result = sim::WriteSimulatedReplay(options, path);
    if (!result.ok) BenchFail(bench, "cannot simulate the race: " + result.message);
    TOpenReplay replay;
    if (const TReplayReadStatus status =
            OpenReplay(path, track.trackLength, track.inchesPerUnit, replay);
        status != TReplayReadStatus::Ok)
        BenchFail(bench, ReplayReadMessage(status));
    for (int32_t d = 0; d < int32_t(replay.laps.size()) && doc.laps().Count() < kBenchLaps; ++d) {
        const auto& chain = replay.laps[size_t(d)];
        for (size_t i = 0; i < chain.size() && doc.laps().Count() < kBenchLaps; ++i) {
            if (IsPartialLap(chain, i)) continue;
            std::unique_ptr<TReplay> lap;
            if (const TReplayReadStatus status = ReadReplayLap(replay, d, int32_t(i), lap);
                status != TReplayReadStatus::Ok)
                BenchFail(bench, ReplayReadMessage(status));
            lap->colour = ChooseLapColour(doc.laps());
            doc.AddLap(std::move(lap));
        }
    }
    std::error_code ec;
    std::filesystem::remove(path, ec);
    if (doc.laps().Count() != kBenchLaps) BenchFail(bench, "the race gave fewer than 36 full laps");
}

// The view benchmarks' main: widgets on the offscreen platform, then the benchmarks.
inline int RunViewBenchmarks(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
