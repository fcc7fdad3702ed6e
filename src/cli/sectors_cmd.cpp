// korvale-cli sectors: a document's laps split into corner sectors, with the ideal lap.

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "analysis/Sectors.h"
#include "cli/CliTracks.h"
#include "cli/Command.h"
#include "cli/Options.h"
#include "platform/NameCodec.h"

namespace {

int Usage(FILE* out) {
    std::fprintf(out,
                 "usage: korvale-cli sectors DOC.kvl [--tracks PATH] [--csv]\n"
                 "\n"
                 "Splits the track at the midpoints between its corners (three equal sectors\n"
                 "S1, S2, S3 on a track without corners) and prints a header line (\"lap\",\n"
                 "\"name\", the sector names, \"lap time\"), one line per lap in document order\n"
                 "(index from 0, name, sector times and lap time \"%%.3f\"; an empty field\n"
                 "for a sector the lap does not cover), then \"ideal\" with the best time of\n"
                 "each sector and their sum. Fields are separated by tabs, or written as\n"
                 "CSV with --csv.\n");
    return out == stdout ? 0 : 2;
}

// A CSV field, quoted when it holds a comma, a quote or a line break (quotes doubled).
std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

std::string Seconds(const std::optional<double>& t) {
    if (!t) return {};
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.3f", *t);
    return buf;
}

void PrintRow(const std::vector<std::string>& fields, bool csv) {
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) line += csv ? "," : "\t";
        line += csv ? CsvField(fields[i]) : fields[i];
    }
    line += csv ? "\r\n" : "\n";
    std::fputs(line.c_str(), stdout);
}

int Sectors(const std::vector<std::string>& args) {
    for (const auto& a : args)
        if (a == "--help" || a == "-h") return Usage(stdout);
    cli::Options options(args, {"--tracks"}, {"--csv"});
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
    const TSectorTable table = ComputeSectorTable(laps, tracks.At(doc.currentTrack));
    const bool csv = options.Has("--csv");

    std::vector<std::string> header{"lap", "name"};
    for (const TSector& s : table.sectors) header.push_back(s.name);
    header.push_back("lap time");
    PrintRow(header, csv);
    for (size_t i = 0; i < table.rows.size(); ++i) {
        std::vector<std::string> row{std::to_string(i), NameToUtf8(laps[i]->driverName)};
        for (const auto& t : table.rows[i].times) row.push_back(Seconds(t));
        row.push_back(Seconds(table.rows[i].lapTime));
        PrintRow(row, csv);
    }
    std::vector<std::string> ideal{"ideal", ""};
    for (const auto& t : table.bestTimes) ideal.push_back(Seconds(t));
    ideal.push_back(Seconds(table.ideal));
    PrintRow(ideal, csv);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace

static cli::Registration reg{"sectors", "sector times of a document's laps and the ideal lap",
                             &Sectors};
