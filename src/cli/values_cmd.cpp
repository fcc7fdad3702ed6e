// korvale-cli values: what the data window shows with the pointer at a position or a time.

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "channels/LapValues.h"
#include "cli/CliTracks.h"
#include "cli/Command.h"
#include "cli/Options.h"
#include "track/Geometry.h"

namespace {

int Usage(FILE* out) {
    std::fprintf(out,
                 "usage: korvale-cli values DOC.kvl (--at FEET | --time SECONDS) [--tracks PATH]\n"
                 "\n"
                 "Prints what the data window shows with the pointer on the graph at a position\n"
                 "along the track (--at, in feet, as on the Position axis) or at a time (--time,\n"
                 "in seconds, as on the Time axis): one line per lap in document order with the\n"
                 "lap's index (from 0) and its time, position, speed, line, in-line force,\n"
                 "lateral force and slip angle, tab-separated, \"%%.6f\"; the fields of a lap\n"
                 "that does not reach that point are empty.\n");
    return out == stdout ? 0 : 2;
}

int Fail(const std::string& text) {
    std::fprintf(stderr, "korvale-cli values: %s\n", text.c_str());
    return 1;
}

// A whole finite decimal number; false on anything else.
bool ParseNumber(const std::string& text, double& out) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    out = std::strtod(text.c_str(), &end);
    return errno == 0 && end == text.c_str() + text.size() && std::isfinite(out);
}

int Values(const std::vector<std::string>& args) {
    for (const auto& a : args)
        if (a == "--help" || a == "-h") return Usage(stdout);
    cli::Options options(args, {"--at", "--time", "--tracks"}, {});
    if (!options.ok()) {
        std::fprintf(stderr, "korvale-cli values: %s\n", options.error().c_str());
        return Usage(stderr);
    }
    if (options.Positional().size() != 1) return Usage(stderr);
    const auto at = options.Value("--at");
    const auto time = options.Value("--time");
    if (at.has_value() == time.has_value()) return Usage(stderr);
    double x = 0;
    if (!ParseNumber(at ? *at : *time, x))
        return Fail(std::string(at ? "--at" : "--time") + " takes a number");

    TTrackList tracks;
    std::string tracksPath;
    if (!cli::LoadTracks(options, "values", tracks, tracksPath)) return 1;
    KvlReadResult doc;
    if (!cli::LoadDocument(options.Positional()[0], tracks, "values", doc)) return 1;
    TTrackData& track = tracks.At(doc.currentTrack);
    PrepareGeometry(track);

    TLapList laps;
    TLapDataTable table;
    for (auto& lap : doc.laps) {
        table.AddLapColumn(*lap);
        laps.Add(std::move(lap));
    }
    // The graph hands the window a position in track units, as its own pointer gives it.
    TelemetryChannel kind = TelemetryChannel::Time;
    if (at) {
        if (!(track.inchesPerUnit > 0)) return Fail("the document's track has no scale");
        x = x * 12 / track.inchesPerUnit;
        kind = TelemetryChannel::Position;
    }
    table.ShowLapValues(x, kind, TLapValuesSource{&laps, &track, std::nullopt, kind});

    for (int32_t i = 0; i < table.Count(); ++i) {
        std::printf("%d", i);
        for (const TLapValue& v : table.At(i).values) {
            if (v)
                std::printf("\t%.6f", *v);
            else
                std::printf("\t");
        }
        std::printf("\n");
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace

static cli::Registration reg{"values", "show every lap's values at a position or a time", &Values};
