// korvale-cli export-text: the table that Export Text Data writes, for the same choices.

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliTracks.h"
#include "cli/Command.h"
#include "cli/Options.h"
#include "cli/SystemReason.h"
#include "export/TextExport.h"
#include "track/Geometry.h"

namespace {

// The names --channels takes, by channel index.
constexpr const char* kChannelWords[7] = {"time",   "pos",     "speed", "line",
                                          "inline", "lateral", "slip"};

int Usage(FILE* out) {
    std::fprintf(
        out,
        "usage: korvale-cli export-text DOC.kvl -o OUT.txt [--x position|time]\n"
        "                               [--resolution R] [--channels LIST]\n"
        "                               [--comma | --table] [--tracks PATH]\n"
        "\n"
        "Writes the text table of Export Text Data: for every lap, rows at steps of R feet\n"
        "along the track (--x position, the default) or R seconds (--x time). LIST is a\n"
        "comma-separated choice of time, pos, speed, line, inline, lateral, slip\n"
        "(default speed); R defaults to 10 (feet) or 0.1 (seconds); --comma separates\n"
        "fields by commas. --table writes one CSV table in UTF-8 for tools that read\n"
        "tables: a header row \"lap,name,<channel> (<unit>),...\" and one row per sample\n"
        "of every lap (laps numbered from 1).\n");
    return out == stdout ? 0 : 2;
}

int Fail(const std::string& text) {
    std::fprintf(stderr, "korvale-cli export-text: %s\n", text.c_str());
    return 1;
}

int ExportText(const std::vector<std::string>& args) {
    for (const auto& a : args)
        if (a == "--help" || a == "-h") return Usage(stdout);
    cli::Options options(args, {"-o", "--x", "--resolution", "--channels", "--tracks"},
                         {"--comma", "--table"});
    if (!options.ok()) {
        std::fprintf(stderr, "korvale-cli export-text: %s\n", options.error().c_str());
        return Usage(stderr);
    }
    const auto output = options.Value("-o");
    if (options.Positional().size() != 1 || !output) return Usage(stderr);

    TextExportChoices choices;
    const std::string x = options.Value("--x").value_or("position");
    if (x != "position" && x != "time") return Fail("--x takes position or time");
    choices.xIsPosition = x == "position";
    // The default step suits the chosen x: 10 feet along the track, or a tenth of a second.
    const std::string resolutionText =
        options.Value("--resolution").value_or(choices.xIsPosition ? "10" : "0.1");
    const auto resolution = ParseExportResolution(resolutionText);
    if (!resolution) {
        // The program's one message covers both; here a number that is not above 0 is told so.
        char* end = nullptr;
        std::strtod(resolutionText.c_str(), &end);
        const bool number = !resolutionText.empty() && *end == '\0';
        return Fail(number ? "Resolution must be positive" : kMsgResolutionNotNumber);
    }
    choices.resolution = *resolution;
    if (ExportResolutionUnusual(choices.resolution, choices.xIsPosition))
        std::fprintf(stderr, "korvale-cli export-text: warning: Resolution is unusual.\n");
    if (auto list = options.Value("--channels")) {
        choices.channels.fill(false);
        std::stringstream words(*list);
        std::string word;
        while (std::getline(words, word, ',')) {
            bool known = false;
            for (size_t c = 0; c < 7; ++c)
                if (word == kChannelWords[c]) choices.channels[c] = known = true;
            if (!known) return Fail("unknown channel \"" + word + "\" in --channels");
        }
    }
    choices.comma = options.Has("--comma");
    choices.table = options.Has("--table");
    if (choices.comma && choices.table) return Fail("--comma and --table cannot be used together");

    TTrackList tracks;
    std::string tracksPath;
    if (!cli::LoadTracks(options, "export-text", tracks, tracksPath)) return 1;
    KvlReadResult doc;
    if (!cli::LoadDocument(options.Positional()[0], tracks, "export-text", doc)) return 1;
    if (doc.laps.empty()) return Fail("the document holds no laps");
    TTrackData& track = tracks.At(doc.currentTrack);
    PrepareGeometry(track);

    std::vector<const TReplay*> laps;
    for (const auto& lap : doc.laps) laps.push_back(lap.get());
    if (const TTextExportStatus status =
            WriteTextExport(*output, laps, track.name, &track, choices);
        status != TTextExportStatus::Ok)
        return Fail(
            *output + ": " +
            cli::WithReason(TextExportMessage(status), status == TTextExportStatus::CannotCreate
                                                           ? cli::WriteFailureReason(*output)
                                                           : ""));
    std::printf("%s\n", kMsgDataExported);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace

static cli::Registration reg{"export-text", "write a document's laps as a text table", &ExportText};
