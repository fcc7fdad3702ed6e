// korvale-cli export-replay: the replay that Export to Replay writes.

#include <cstdio>
#include <string>
#include <vector>

#include "cli/CliTracks.h"
#include "cli/Command.h"
#include "cli/Options.h"
#include "cli/SystemReason.h"
#include "replay/ReplayWriter.h"

namespace {

int Usage(FILE* out) {
    std::fprintf(out,
                 "usage: korvale-cli export-replay DOC.kvl -o OUT.rpl [--separate-laps]\n"
                 "                                 [--tracks PATH]\n"
                 "\n"
                 "Writes the document's laps (the first 36) as a replay: side by side as cars\n"
                 "starting together, or with --separate-laps one after another as one car.\n"
                 "As the program does, the file name is lower-cased (never the directories)\n"
                 "and \".rpl\" is appended when it does not end the name; the path written is\n"
                 "printed.\n");
    return out == stdout ? 0 : 2;
}

int ExportReplay(const std::vector<std::string>& args) {
    for (const auto& a : args)
        if (a == "--help" || a == "-h") return Usage(stdout);
    cli::Options options(args, {"-o", "--tracks"}, {"--separate-laps"});
    if (!options.ok()) {
        std::fprintf(stderr, "korvale-cli export-replay: %s\n", options.error().c_str());
        return Usage(stderr);
    }
    const auto output = options.Value("-o");
    if (options.Positional().size() != 1 || !output) return Usage(stderr);

    TTrackList tracks;
    std::string tracksPath;
    if (!cli::LoadTracks(options, "export-replay", tracks, tracksPath)) return 1;
    KvlReadResult doc;
    if (!cli::LoadDocument(options.Positional()[0], tracks, "export-replay", doc)) return 1;
    if (doc.laps.empty()) {
        std::fprintf(stderr, "korvale-cli export-replay: the document holds no laps\n");
        return 1;
    }
    const ReplayWriteResult result = WriteReplay(*output, doc.laps, options.Has("--separate-laps"));
    if (result.lapsCapped)
        std::fprintf(stderr, "korvale-cli export-replay: %s\n", kMsgOnlyFirst36Laps);
    if (result.status != ReplayWriteStatus::Exported) {
        const std::string reason = result.status == ReplayWriteStatus::CreateFailed
                                       ? cli::WriteFailureReason(result.path)
                                       : "";
        std::fprintf(stderr, "korvale-cli export-replay: %s: %s\n", result.path.c_str(),
                     cli::WithReason(result.message(), reason).c_str());
        return 1;
    }
    std::printf("%s\n%s\n", result.path.c_str(), result.message());
    return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace

static cli::Registration reg{"export-replay", "write a document's laps as a replay", &ExportReplay};
