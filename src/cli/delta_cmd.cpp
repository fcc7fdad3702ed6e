// korvale-cli delta: the time one lap of a document gains or loses against another along
// the track.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "analysis/LapAnalysis.h"
#include "cli/CliTracks.h"
#include "cli/Command.h"
#include "cli/Options.h"

namespace {

int Usage(FILE* out) {
    std::fprintf(
        out,
        "usage: korvale-cli delta DOC.kvl --lap K [--ref R] [--step FEET] [--rate]\n"
        "                         [--tracks PATH]\n"
        "\n"
        "Prints \"position\\tdelta\" rows (\"%%.1f\\t%%.4f\"): the time of lap K minus the\n"
        "time of the reference lap R at each position from 0 feet in steps of FEET\n"
        "(default 10), where both laps cover it. Laps are numbered from 0 in document\n"
        "order; the reference defaults to the fastest lap. With --rate a third column\n"
        "(\"%%.4f\") gives the delta rate there: the time lost (gained, negative) per 100\n"
        "feet, over the 100 feet centred on the position (moved to stay where both laps\n"
        "cover the track).\n");
    return out == stdout ? 0 : 2;
}

int Fail(const std::string& why) {
    std::fprintf(stderr, "korvale-cli delta: %s\n", why.c_str());
    return 1;
}

int Delta(const std::vector<std::string>& args) {
    for (const auto& a : args)
        if (a == "--help" || a == "-h") return Usage(stdout);
    cli::Options options(args, {"--tracks", "--lap", "--ref", "--step"}, {"--rate"});
    if (!options.ok()) {
        std::fprintf(stderr, "korvale-cli delta: %s\n", options.error().c_str());
        return Usage(stderr);
    }
    if (options.Positional().size() != 1 || !options.Has("--lap")) return Usage(stderr);
    const auto lapArg = cli::ParseInteger(*options.Value("--lap"));
    if (!lapArg) return Fail("--lap takes a lap number");
    std::optional<long long> refArg;
    if (auto v = options.Value("--ref")) {
        refArg = cli::ParseInteger(*v);
        if (!refArg) return Fail("--ref takes a lap number");
    }
    double step = 10;
    if (auto v = options.Value("--step")) {
        char* end = nullptr;
        step = std::strtod(v->c_str(), &end);
        // A step so small that the rows could not be printed in any sensible time is refused.
        if (end == v->c_str() || *end != '\0' || !std::isfinite(step) || step < 0.01)
            return Fail("--step takes a distance in feet of at least 0.01");
    }

    TTrackList tracks;
    std::string tracksPath;
    if (!cli::LoadTracks(options, "delta", tracks, tracksPath)) return 1;
    KvlReadResult doc;
    if (!cli::LoadDocument(options.Positional()[0], tracks, "delta", doc)) return 1;
    std::vector<const TReplay*> laps;
    for (const auto& lap : doc.laps) laps.push_back(lap.get());
    const long long count = static_cast<long long>(laps.size());
    if (*lapArg < 0 || *lapArg >= count)
        return Fail("no lap " + std::to_string(*lapArg) + " in a document of " +
                    std::to_string(count) + " laps");
    const long long ref = refArg ? *refArg : ReferenceLap(laps, -1);
    if (ref < 0 || ref >= count)
        return Fail(refArg ? "no lap " + std::to_string(ref) + " in a document of " +
                                 std::to_string(count) + " laps"
                           : std::string("the document has no lap to compare with"));

    const TReplay& lap = *laps[size_t(*lapArg)];
    const TReplay& reference = *laps[size_t(ref)];
    // From 0 over the range both laps cover. A damaged lap's end cannot make the rows
    // endless: the count is bounded.
    const double end = std::min(lap.endPosition * lap.inchesPerUnit / 12,
                                reference.endPosition * reference.inchesPerUnit / 12);
    if (!(end / step < 1e7)) return Fail("the laps are too long for this step");
    const bool rate = options.Has("--rate");
    for (long long k = 0; double(k) * step <= end; ++k) {
        const double feet = double(k) * step;
        const auto delta = TimeDelta(lap, reference, feet);
        if (!delta) continue;
        if (!rate) {
            std::printf("%.1f\t%.4f\n", feet, *delta);
            continue;
        }
        const auto perHundred = DeltaRate(lap, reference, feet);
        std::printf("%.1f\t%.4f\t%.4f\n", feet, *delta, perHundred.value_or(0.0));
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace

static cli::Registration reg{"delta", "time delta of one lap against another along the track",
                             &Delta};
