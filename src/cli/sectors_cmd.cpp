// korvale-cli sectors: a document's laps split into corner sectors, with the ideal lap.

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "analysis/LapAnalysis.h"
#include "analysis/Sectors.h"
#include "cli/CliTracks.h"
#include "cli/Command.h"
#include "cli/Options.h"
#include "cli/TableOutput.h"
#include "platform/NameCodec.h"

namespace {

int Usage(FILE* out) {
    std::fprintf(out,
                 "usage: korvale-cli sectors DOC.kvl [--ref R|fastest] [--tracks PATH] [--csv]\n"
                 "\n"
                 "Splits the track at the midpoints between its corners (three equal sectors\n"
                 "S1, S2, S3 on a track without corners) and prints a header line (\"lap\",\n"
                 "\"name\", the sector names, \"lap time\"), one line per lap in document order\n"
                 "(index from 0, name, sector times and lap time \"%%.3f\"; an empty field\n"
                 "for a sector the lap does not cover), then \"ideal\" with the best time of\n"
                 "each sector and their sum. Fields are separated by tabs, or written as\n"
                 "CSV with --csv. With --ref, each sector and the lap time are followed by\n"
                 "a \"+/-\" column: the lap's time minus the reference lap's (\"%%+.3f\"; laps\n"
                 "numbered from 0, \"fastest\" the fastest lap; empty for the reference).\n");
    return out == stdout ? 0 : 2;
}

std::string Seconds(const std::optional<double>& t) {
    if (!t) return {};
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.3f", *t);
    return buf;
}

int Sectors(const std::vector<std::string>& args) {
    for (const auto& a : args)
        if (a == "--help" || a == "-h") return Usage(stdout);
    cli::Options options(args, {"--tracks", "--ref"}, {"--csv"});
    if (!options.ok()) {
        std::fprintf(stderr, "korvale-cli sectors: %s\n", options.error().c_str());
        return Usage(stderr);
    }
    if (options.Positional().size() != 1) return Usage(stderr);
    TTrackList tracks;
    std::string tracksPath;
    if (!cli::LoadTracks(options, "sectors", tracks, tracksPath)) return 1;
    KvlReadResult doc;
    if (!cli::LoadDocument(options.Positional()[0], tracks, "sectors", doc)) return 1;
    if (doc.currentTrack < 0 || doc.currentTrack >= tracks.Count()) {
        std::fprintf(stderr, "korvale-cli sectors: the document has no track\n");
        return 1;
    }

    std::vector<const TReplay*> laps;
    for (const auto& lap : doc.laps) laps.push_back(lap.get());
    int32_t reference = -1;
    if (const auto ref = options.Value("--ref")) {
        reference = cli::LapReference(*ref, laps);
        if (reference < 0) {
            std::fprintf(stderr,
                         "korvale-cli sectors: --ref takes a lap of the document or \"fastest\"\n");
            return 1;
        }
    }
    const TSectorTable table = ComputeSectorTable(laps, tracks.At(doc.currentTrack), reference);
    const bool csv = options.Has("--csv");
    const bool differences = reference >= 0;
    auto difference = [](const std::optional<double>& d) {
        return d ? DifferenceText(*d) : std::string();
    };

    std::vector<std::string> header{"lap", "name"};
    for (const TSector& s : table.sectors) {
        header.push_back(s.name);
        if (differences) header.push_back("+/-");
    }
    header.push_back("lap time");
    if (differences) header.push_back("+/-");
    cli::PrintRow(header, csv);
    for (size_t i = 0; i < table.rows.size(); ++i) {
        const TSectorRow& r = table.rows[i];
        std::vector<std::string> row{std::to_string(i), NameToUtf8(laps[i]->driverName)};
        for (size_t s = 0; s < r.times.size(); ++s) {
            row.push_back(Seconds(r.times[s]));
            if (differences) row.push_back(difference(r.differences[s]));
        }
        row.push_back(Seconds(r.lapTime));
        if (differences) row.push_back(difference(r.lapDifference));
        cli::PrintRow(row, csv);
    }
    std::vector<std::string> ideal{"ideal", ""};
    for (const auto& t : table.bestTimes) {
        ideal.push_back(Seconds(t));
        if (differences) ideal.push_back("");
    }
    ideal.push_back(Seconds(table.ideal));
    if (differences) ideal.push_back("");
    cli::PrintRow(ideal, csv);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace

static cli::Registration reg{"sectors", "sector times of a document's laps and the ideal lap",
                             &Sectors};
