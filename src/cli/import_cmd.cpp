// korvale-cli import: one lap of a replay, or the average of several, into a new document
// or appended to an existing one, as Import Replay and Import Average Lap add them.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/CliArchive.h"
#include "cli/CliTracks.h"
#include "cli/Command.h"
#include "cli/Options.h"
#include "cli/SystemReason.h"
#include "document/LapList.h"
#include "document/LapPalette.h"
#include "platform/NameCodec.h"
#include "platform/Utf8.h"
#include "replay/Averaging.h"
#include "replay/OpenReplay.h"
#include "replay/Scan.h"

namespace {

int Usage(FILE* out) {
    std::fprintf(
        out,
        "usage: korvale-cli import REPLAY --driver I --lap K [--lap K2 ...] [--track NAME]\n"
        "                          [--tracks PATH] [--member NAME | --member-index N]\n"
        "                          -o DOC.kvl [--append]\n"
        "       korvale-cli import REPLAY --driver I|all --all [...] -o DOC.kvl [--append]\n"
        "\n"
        "Imports lap K of driver I (both 0-based, as 'korvale-cli laps' lists them) into a\n"
        "new document DOC.kvl, or with several --lap the average of those laps (partial\n"
        "laps cannot be averaged). With --append the lap is added to the existing document,\n"
        "which must be of the same track. Colours follow the program's lap palette.\n"
        "REPLAY may be a replay archive (.rpz): the replay --member NAME, or the one at\n"
        "--member-index N (0-based, as 'korvale-cli archive-members' lists them; default:\n"
        "the first) is extracted beside it for the run and removed after.\n"
        "With --all every full lap of driver I (with --driver all, of every driver, in\n"
        "driver order) is imported as a lap of its own, in order, each in its own colour.\n");
    return out == stdout ? 0 : 2;
}

int Fail(const char* what, const std::string& detail = {}) {
    if (detail.empty())
        std::fprintf(stderr, "korvale-cli import: %s\n", what);
    else
        std::fprintf(stderr, "korvale-cli import: %s: %s\n", detail.c_str(), what);
    return 1;
}

// "the replay has 3 drivers (0 to 2)", "... 1 driver (0)", "... no drivers".
std::string Range(const char* subject, size_t count, const char* one, const char* many) {
    std::string text = subject;
    if (count == 0) return text + " no " + many;
    text += " " + std::to_string(count) + " " + (count == 1 ? one : many);
    if (count == 1) return text + " (0)";
    return text + " (0 to " + std::to_string(count - 1) + ")";
}

// Writes the document and prints a line per lap from firstAdded on.
int Save(const TLapList& laps, const int32_t axes[3], const TTrackData& t,
         const std::string& output, int32_t firstAdded) {
    const std::vector<const TReplay*> pointers = laps.Pointers();
    KvlDocumentView view;
    view.xAxis = axes[0];
    view.yAxis = axes[1];
    view.y2Axis = axes[2];
    view.trackId = t.trackId;
    view.laps = &pointers;
    const KvlWriteResult written = SafeSaveKvlDocument(output, view);
    if (!written.ok)
        return Fail(cli::WithReason(written.message(), cli::WriteFailureReason(output)).c_str(),
                    output);
    for (int32_t i = firstAdded; i < laps.Count(); ++i) {
        const TReplay& added = laps.At(i);
        std::printf("%s: lap %d \"%s\", %d samples, %.3f s\n", output.c_str(), i,
                    EscapeControls(NameToUtf8(added.driverName)).c_str(), added.sampleCount,
                    (added.endFrame - added.startFrame) / 15.0);
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}

// --all: every full lap of one driver, or of every driver (driver -1), each a lap of its
// own. All are read before the document is written, so that a failed read writes nothing.
int ImportAll(TOpenReplay& replay, int32_t driver, const std::string& driverText,
              const std::string& shownReplay, TLapList& laps, const int32_t axes[3],
              const TTrackData& t, const std::string& output) {
    if (driver >= 0 && static_cast<size_t>(driver) >= replay.drivers.size())
        return Fail(("--driver " + driverText + ": " +
                     Range("the replay has", replay.drivers.size(), "driver", "drivers"))
                        .c_str(),
                    shownReplay);
    const int32_t firstAdded = laps.Count();
    const size_t from = driver >= 0 ? static_cast<size_t>(driver) : 0;
    const size_t to = driver >= 0 ? from + 1 : replay.drivers.size();
    for (size_t d = from; d < to && d < replay.laps.size(); ++d) {
        const auto& chain = replay.laps[d];
        for (size_t k = 0; k < chain.size(); ++k) {
            if (IsPartialLap(chain, k)) continue;
            if (laps.Count() >= kKvlMaxLaps) return Fail("too many laps for one document");
            std::unique_ptr<TReplay> lap;
            const TReplayReadStatus status =
                ReadReplayLap(replay, static_cast<int32_t>(d), static_cast<int32_t>(k), lap);
            if (status != TReplayReadStatus::Ok)
                return Fail(ReplayReadMessage(status), shownReplay);
            lap->colour = ChooseLapColour(laps);
            laps.Add(std::move(lap));
        }
    }
    replay.file.Close();
    if (laps.Count() == firstAdded) return Fail("no full lap to import", shownReplay);
    return Save(laps, axes, t, output, firstAdded);
}

int Import(const std::vector<std::string>& args) {
    for (const auto& a : args)
        if (a == "--help" || a == "-h") return Usage(stdout);
    cli::Options options(
        args, {"--driver", "--lap", "--track", "--tracks", "-o", "--member", "--member-index"},
        {"--append", "--all"});
    if (!options.ok()) {
        std::fprintf(stderr, "korvale-cli import: %s\n", options.error().c_str());
        return Usage(stderr);
    }
    const auto driverText = options.Value("--driver");
    const auto output = options.Value("-o");
    const auto lapTexts = options.Values("--lap");
    const bool all = options.Has("--all");
    if (options.Positional().size() != 1 || !driverText || !output || lapTexts.empty() == !all)
        return Usage(stderr);
    const bool allDrivers = *driverText == "all";
    if (allDrivers && !all) return Fail("--driver all takes --all");
    const auto driver = allDrivers ? std::optional<long long>(0) : cli::ParseInteger(*driverText);
    if (!driver || *driver < 0) return Fail("--driver takes a driver number from 0");
    std::vector<int32_t> lapIndexes;
    for (const auto& text : lapTexts) {
        const auto k = cli::ParseInteger(text);
        if (!k || *k < 0 || *k > INT32_MAX) return Fail("--lap takes a lap number from 0");
        lapIndexes.push_back(static_cast<int32_t>(*k));
    }
    cli::ReplayInput input;
    if (!input.Open(options, options.Positional()[0], "import")) return 1;
    const std::string& replayPath = input.Path();

    if (!cli::ReplayReadable(replayPath, "import", input.Shown())) return 1;
    TTrackList tracks;
    std::string tracksPath;
    if (!cli::LoadTracks(options, "import", tracks, tracksPath)) return 1;
    const int track =
        cli::ResolveReplayTrack(options, tracks, tracksPath, replayPath, "import", input.Shown());
    if (track < 0) return 1;

    // The document the lap joins: the existing one with --append, else a new one.
    TLapList laps;
    int32_t axes[3] = {1, 2, 7};
    if (options.Has("--append")) {
        KvlReadResult doc;
        if (!cli::LoadDocument(*output, tracks, "import", doc)) return 1;
        if (doc.currentTrack != track)
            return Fail(
                ("Can only import replays for " + tracks.At(doc.currentTrack).name).c_str());
        axes[0] = doc.xAxis;
        axes[1] = doc.yAxis;
        axes[2] = doc.y2Axis;
        for (auto& lap : doc.laps) laps.Add(std::move(lap));
    }

    const TTrackData& t = tracks.At(track);
    TOpenReplay replay;
    if (const TReplayReadStatus status =
            OpenReplay(replayPath, t.trackLength, t.inchesPerUnit, replay);
        status != TReplayReadStatus::Ok)
        return Fail(cli::ReplayMessage(status, replayPath).c_str(), input.Shown());
    if (all)
        return ImportAll(replay, allDrivers ? -1 : static_cast<int32_t>(*driver), *driverText,
                         input.Shown(), laps, axes, t, *output);
    if (static_cast<size_t>(*driver) >= replay.drivers.size())
        return Fail(("--driver " + *driverText + ": " +
                     Range("the replay has", replay.drivers.size(), "driver", "drivers"))
                        .c_str(),
                    replayPath);
    const auto& chain = replay.laps[static_cast<size_t>(*driver)];
    for (int32_t k : lapIndexes)
        if (static_cast<size_t>(k) >= chain.size())
            return Fail(("--lap " + std::to_string(k) + ": " +
                         Range(("driver " + std::to_string(*driver) + " has").c_str(), chain.size(),
                               "lap", "laps"))
                            .c_str(),
                        input.Shown());

    std::unique_ptr<TReplay> lap;
    const TReplayReadStatus status =
        lapIndexes.size() == 1
            ? ReadReplayLap(replay, static_cast<int32_t>(*driver), lapIndexes.front(), lap)
            : ReadAverageLap(replay, static_cast<int32_t>(*driver), lapIndexes, lap);
    replay.file.Close();
    if (status != TReplayReadStatus::Ok)
        return Fail(ReplayReadMessage(status, t.name).c_str(), input.Shown());
    lap->colour = ChooseLapColour(laps);
    laps.Add(std::move(lap));
    return Save(laps, axes, t, *output, laps.Count() - 1);
}

}  // namespace

static cli::Registration reg{
    "import", "import a replay's lap, or an average of laps, into a document", &Import};
