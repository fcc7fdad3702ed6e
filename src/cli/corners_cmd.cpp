// korvale-cli corners: per corner of the track and per lap of a document, the speeds into,
// through and out of the corner and the time through it against the reference lap.

#include <cstdio>
#include <string>
#include <vector>

#include "analysis/Corners.h"
#include "analysis/LapAnalysis.h"
#include "cli/CliTracks.h"
#include "cli/Command.h"
#include "cli/Options.h"
#include "cli/TableOutput.h"

namespace {

int Usage(FILE* out) {
    std::fprintf(out,
                 "usage: korvale-cli corners DOC.kvl [--ref R|fastest] [--tracks PATH] [--csv]\n"
                 "\n"
                 "Splits the track into corner sectors as korvale-cli sectors does and prints a\n"
                 "header line, then per corner and per lap in document order: the corner, the\n"
                 "lap's index and name (laps of one driver told apart by lap time), the speed\n"
                 "at the sector's entry, the lowest speed in it and where it falls (feet), the\n"
                 "speed at its exit (mph \"%%.1f\"), the time through it (\"%%.3f\") and its\n"
                 "difference to the reference lap (\"%%+.3f\", empty for the reference). The\n"
                 "reference is lap R (from 0), by default the fastest lap. A lap that does not\n"
                 "cover the whole sector has empty fields. Fields are separated by tabs, or\n"
                 "written as CSV with --csv.\n");
    return out == stdout ? 0 : 2;
}

std::string Format(const char* format, double value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, format, value);
    return buf;
}

int Corners(const std::vector<std::string>& args) {
    for (const auto& a : args)
        if (a == "--help" || a == "-h") return Usage(stdout);
    cli::Options options(args, {"--tracks", "--ref"}, {"--csv"});
    if (!options.ok()) {
        std::fprintf(stderr, "korvale-cli corners: %s\n", options.error().c_str());
        return Usage(stderr);
    }
    if (options.Positional().size() != 1) return Usage(stderr);
    TTrackList tracks;
    std::string tracksPath;
    if (!cli::LoadTracks(options, "corners", tracks, tracksPath)) return 1;
    KvlReadResult doc;
    if (!cli::LoadDocument(options.Positional()[0], tracks, "corners", doc)) return 1;
    if (doc.currentTrack < 0 || doc.currentTrack >= tracks.Count()) {
        std::fprintf(stderr, "korvale-cli corners: the document has no track\n");
        return 1;
    }
    std::vector<const TReplay*> laps;
    for (const auto& lap : doc.laps) laps.push_back(lap.get());
    const int32_t reference = cli::LapReference(options.Value("--ref").value_or("fastest"), laps);
    if (reference < 0 && !laps.empty()) {
        std::fprintf(stderr,
                     "korvale-cli corners: --ref takes a lap of the document or \"fastest\"\n");
        return 1;
    }

    const TCornerTable table = ComputeCornerTable(laps, tracks.At(doc.currentTrack), reference);
    const std::vector<std::string> names = LapDisplayNames(laps);
    const bool csv = options.Has("--csv");
    cli::PrintRow({"corner", "lap", "name", "entry", "min", "at", "exit", "time", "+/-"}, csv);
    for (size_t c = 0; c < table.corners.size(); ++c)
        for (size_t i = 0; i < laps.size(); ++i) {
            const TCornerCell& cell = table.laps[i][c];
            std::vector<std::string> row{table.corners[c].name, std::to_string(i), names[i]};
            if (cell.covered) {
                row.insert(row.end(), {Format("%.1f", cell.entry), Format("%.1f", cell.minimum),
                                       Format("%.0f", cell.minimumAt), Format("%.1f", cell.exit),
                                       Format("%.3f", cell.time),
                                       cell.difference ? DifferenceText(*cell.difference) : ""});
            } else {
                row.resize(row.size() + 6);
            }
            cli::PrintRow(row, csv);
        }
    return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace

static cli::Registration reg{"corners", "corner speeds and times of a document's laps", &Corners};
