// korvale-cli laps: lists every driver of a replay and the laps the import would offer,
// with the texts of the Import Lap dialog.

#include <cstdio>
#include <string>
#include <vector>

#include "cli/CliArchive.h"
#include "cli/CliTracks.h"
#include "cli/Command.h"
#include "cli/Options.h"
#include "platform/Utf8.h"
#include "replay/OpenReplay.h"

namespace {

int Usage(FILE* out) {
    std::fprintf(
        out,
        "usage: korvale-cli laps REPLAY [--member NAME | --member-index N] [--track NAME]\n"
        "                        [--tracks PATH] [--speeds]\n"
        "\n"
        "Lists each driver of the replay in table order (\" #7 - Name\", \"#05 - Name\"),\n"
        "then one line per lap: a tab, the lap number (0-based, as 'import --lap'\n"
        "takes it), a tab and the lap's time (\"%%8.3f s\") or, with --speeds, its\n"
        "average speed (\"%%9.3f mph\"); the first and last laps read \"(partial)\".\n"
        "Without --track the track is the one whose path patterns match the\n"
        "replay's path. --tracks defaults to tracks.dat beside korvale-cli.\n"
        "REPLAY may be a replay archive (.rpz): the replay --member NAME, or the one at\n"
        "--member-index N (0-based, as 'korvale-cli archive-members' lists them; default:\n"
        "the first) is extracted beside it for the run and removed after.\n");
    return out == stdout ? 0 : 2;
}

int Laps(const std::vector<std::string>& args) {
    for (const auto& a : args)
        if (a == "--help" || a == "-h") return Usage(stdout);
    cli::Options options(args, {"--track", "--tracks", "--member", "--member-index"}, {"--speeds"});
    if (!options.ok()) {
        std::fprintf(stderr, "korvale-cli laps: %s\n", options.error().c_str());
        return Usage(stderr);
    }
    if (options.Positional().size() != 1) return Usage(stderr);
    cli::ReplayInput input;
    if (!input.Open(options, options.Positional()[0], "laps")) return 1;
    const std::string& replayPath = input.Path();

    if (!cli::ReplayReadable(replayPath, "laps", input.Shown())) return 1;
    TTrackList tracks;
    std::string tracksPath;
    if (!cli::LoadTracks(options, "laps", tracks, tracksPath)) return 1;
    const int track =
        cli::ResolveReplayTrack(options, tracks, tracksPath, replayPath, "laps", input.Shown());
    if (track < 0) return 1;

    const TTrackData& t = tracks.At(track);
    TOpenReplay replay;
    if (const TReplayReadStatus status =
            OpenReplay(replayPath, t.trackLength, t.inchesPerUnit, replay);
        status != TReplayReadStatus::Ok) {
        std::fprintf(stderr, "korvale-cli laps: %s: %s\n", input.Shown().c_str(),
                     cli::ReplayMessage(status, replayPath).c_str());
        return 1;
    }
    const bool lapTimes = !options.Has("--speeds");
    for (size_t i = 0; i < replay.drivers.size(); ++i) {
        std::printf("%s\n", EscapeControls(DriverListText(replay.drivers[i])).c_str());
        const auto& chain = replay.laps[i];
        for (size_t k = 0; k < chain.size(); ++k)
            std::printf("\t%zu\t%s\n", k,
                        LapDescription(chain, k, lapTimes, replay.header).c_str());
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace

static cli::Registration reg{"laps", "list a replay's drivers and their laps", &Laps};
