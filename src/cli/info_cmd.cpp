// korvale-cli info: a document's axes, its track and its laps as the lap lists show them.

#include <cstdio>
#include <string>
#include <vector>

#include "channels/Channels.h"
#include "cli/CliTracks.h"
#include "cli/Command.h"
#include "cli/Options.h"
#include "platform/NameCodec.h"
#include "platform/Utf8.h"

namespace {

int Usage(FILE* out) {
    std::fprintf(out,
                 "usage: korvale-cli info DOC.kvl [--tracks PATH]\n"
                 "\n"
                 "Prints the document's axes, its track, and one line per lap in document\n"
                 "order as the program's lap lists show it (\"%%s  %%7.3f s=%%7.3f mph\": name,\n"
                 "lap time, average lap speed).\n");
    return out == stdout ? 0 : 2;
}

const char* AxisName(int32_t channel) {
    const auto c = ChannelFromNumber(channel, TelemetryChannel::None);
    return c ? ChannelName(*c) : "(invalid)";
}

int Info(const std::vector<std::string>& args) {
    for (const auto& a : args)
        if (a == "--help" || a == "-h") return Usage(stdout);
    cli::Options options(args, {"--tracks"}, {});
    if (!options.ok()) {
        std::fprintf(stderr, "korvale-cli info: %s\n", options.error().c_str());
        return Usage(stderr);
    }
    if (options.Positional().size() != 1) return Usage(stderr);
    TTrackList tracks;
    std::string tracksPath;
    if (!cli::LoadTracks(options, "info", tracks, tracksPath)) return 1;
    KvlReadResult doc;
    if (!cli::LoadDocument(options.Positional()[0], tracks, "info", doc)) return 1;

    const TTrackData& track = tracks.At(doc.currentTrack);
    std::printf("x axis\t%s\ny axis\t%s\nsecond y axis\t%s\n", AxisName(doc.xAxis),
                AxisName(doc.yAxis), AxisName(doc.y2Axis));
    std::printf("track\t%d\t%s\n", track.trackId, EscapeControls(track.name).c_str());
    std::printf("laps\t%zu%s\n", doc.laps.size(), doc.earlierVersion ? "\t(earlier version)" : "");
    for (const auto& lap : doc.laps)
        std::printf("%s  %7.3f s=%7.3f mph\n", EscapeControls(NameToUtf8(lap->driverName)).c_str(),
                    (lap->endFrame - lap->startFrame) / FrameRate, AverageLapSpeed(*lap));
    return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace

static cli::Registration reg{"info", "show a document's axes, track and laps", &Info};
