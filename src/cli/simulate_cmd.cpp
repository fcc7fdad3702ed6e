// korvale-cli simulate: drives a race on a track of the track database and records it as
// a replay file, for trying the import, for the benchmarks and for the sample data.

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/CliTracks.h"
#include "cli/Command.h"
#include "cli/Options.h"
#include "sim/Simulator.h"
#include "sim/TruthJson.h"
#include "track/TrackDataFile.h"
#include "track/TrackList.h"

namespace {

int Usage(FILE* out) {
    std::fprintf(out,
                 "usage: korvale-cli simulate --track NAME [--tracks PATH] --cars N --laps L\n"
                 "                            [--seed S] [--no-pace-car] [--duration SECONDS]\n"
                 "                            [--tidy] [--truth TRUTH.json] -o REPLAY.rpl\n"
                 "\n"
                 "Simulates a race of N cars (1 to %d) on the named track and writes it as a\n"
                 "replay. The recording starts and ends in the middle of a lap; every car drives\n"
                 "at least L full laps (1 to %d), or, with --duration, the recording lasts that\n"
                 "many seconds instead (up to 86400). The same seed (default 1) gives the same\n"
                 "file. Without --no-pace-car the driver table starts with a pace-car entry;\n"
                 "with it the mode byte reads 5. The recording carries the untidiness of real\n"
                 "ones (cars missing from frames, skip lists, a car rolling back over the line);\n"
                 "--tidy leaves it out. NAME is a track's name (case does not matter) or its\n"
                 "path pattern. --tracks defaults to tracks.dat beside korvale-cli.\n"
                 "--truth also writes what was driven, as JSON: the frame count, the track\n"
                 "length and per driver (table order, no pace car) its name, slot and the\n"
                 "fractional frame index of every line crossing that ends a lap.\n",
                 sim::MaxCars, sim::MaxLaps);
    return out == stdout ? 0 : 2;
}

int Fail(const std::string& text) {
    std::fprintf(stderr, "korvale-cli simulate: %s\n", text.c_str());
    return 1;
}

bool ParseCount(const cli::Options& options, const char* name, long long lo, long long hi,
                int32_t& out, std::string& error) {
    auto text = options.Value(name);
    if (!text) return true;
    auto v = cli::ParseInteger(*text);
    if (!v || *v < lo || *v > hi) {
        error = std::string(name) + " takes a whole number from " + std::to_string(lo) + " to " +
                std::to_string(hi);
        return false;
    }
    out = static_cast<int32_t>(*v);
    return true;
}

int Simulate(const std::vector<std::string>& args) {
    for (const auto& a : args)
        if (a == "--help" || a == "-h") return Usage(stdout);
    cli::Options options(
        args, {"--track", "--tracks", "--cars", "--laps", "--seed", "--duration", "-o", "--truth"},
        {"--no-pace-car", "--tidy"});
    if (!options.ok()) {
        std::fprintf(stderr, "korvale-cli simulate: %s\n", options.error().c_str());
        return Usage(stderr);
    }
    if (!options.Positional().empty()) {
        std::fprintf(stderr, "korvale-cli simulate: unexpected argument %s\n",
                     options.Positional()[0].c_str());
        return Usage(stderr);
    }
    auto trackName = options.Value("--track");
    auto output = options.Value("-o");
    auto truthPath = options.Value("--truth");
    if (truthPath && truthPath->empty()) return Fail("--truth takes a file name");
    if (!trackName || !output || output->empty()) {
        std::fprintf(stderr, "korvale-cli simulate: --track and -o are required\n");
        return Usage(stderr);
    }
    if (!options.Has("--cars") || (!options.Has("--laps") && !options.Has("--duration"))) {
        std::fprintf(stderr,
                     "korvale-cli simulate: --cars and --laps (or --duration) are required\n");
        return Usage(stderr);
    }

    sim::SimOptions sim;
    std::string error;
    int32_t seed = 1;
    if (!ParseCount(options, "--cars", 1, sim::MaxCars, sim.cars, error) ||
        !ParseCount(options, "--laps", 1, sim::MaxLaps, sim.laps, error) ||
        !ParseCount(options, "--seed", 0, 2147483647, seed, error))
        return Fail(error);
    sim.seed = static_cast<uint32_t>(seed);
    if (auto text = options.Value("--duration")) {
        char* end = nullptr;
        const double d = std::strtod(text->c_str(), &end);
        if (text->empty() || *end != '\0' || !std::isfinite(d) || d <= 0 || d > 86400)
            return Fail("--duration takes a number of seconds above 0 and up to 86400");
        sim.durationSeconds = d;
    }
    sim.paceCar = !options.Has("--no-pace-car");
    sim.untidy = !options.Has("--tidy");

    TTrackDataFile data;
    const std::string tracksPath = cli::TracksPath(options);
    if (TrackReadStatus status = ReadTrackDataFile(tracksPath, data); status != TrackReadStatus::Ok)
        return Fail(tracksPath + ": " + TrackReadMessage(status));
    TTrackList tracks;
    tracks.Assign(std::move(data.records));
    const int track = cli::FindTrackNamed(tracks, *trackName);
    if (track < 0) return Fail("no single track named \"" + *trackName + "\" in " + tracksPath);
    sim.track = &tracks.At(track);

    if (std::string invalid = sim::ValidateOptions(sim); !invalid.empty()) return Fail(invalid);
    sim::RaceTruth truth;
    const sim::SimResult result =
        sim::WriteSimulatedReplay(sim, *output, truthPath ? &truth : nullptr);
    if (!result.ok) return Fail(result.message);
    if (truthPath && !sim::WriteTruthJson(truth, *truthPath, error)) return Fail(error);
    std::printf("%s: %lld frames (%.1f s) of %d cars on %s, %lld bytes\n", output->c_str(),
                static_cast<long long>(result.frames), static_cast<double>(result.frames) / 15.0,
                sim.cars, sim.track->name.c_str(), static_cast<long long>(result.bytes));
    return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace

static cli::Registration reg{"simulate", "simulate a race and write it as a replay", &Simulate};
