#include "replay/LapFit.h"

#include <algorithm>

namespace {

constexpr int64_t kFramesPerSecond = 15;

}  // namespace

TLapFit CheckLapFitsTrack(const TReplay& lap, int32_t trackLength, double trackScale) {
    const size_t n =
        std::min(static_cast<size_t>(std::max(lap.sampleCount, 0)), lap.positions.size());
    for (size_t k = 0; k < n; ++k)
        if (lap.positions[k] > trackLength) return TLapFit::BeyondTrackLength;
    if (n < 2 || !(trackScale > 0) || trackLength <= 0) return TLapFit::Fits;

    const int64_t length = trackLength;
    // A change of more than half the track is a crossing of the line, forwards or backwards.
    const auto unwrapped = [length](int64_t change) {
        if (change < -length / 2) return change + length;
        if (change > length / 2) return change - length;
        return change;
    };
    const auto step = [&](size_t k) {
        return unwrapped(int64_t(lap.positions[k + 1]) - lap.positions[k]);
    };
    const size_t window = std::min(n - 1, static_cast<size_t>(kFramesPerSecond));
    // Track units in a window beyond which the mean speed is out of reach.
    const double limit = kFastestMeanMph * 5280.0 * 12.0 / 3600.0 / trackScale *
                         static_cast<double>(window) / kFramesPerSecond;
    // Read frame by frame, a gap filled across the line looks like a leap; read over the
    // whole window, a made-up lap that runs most of the track in a second looks like a
    // crossing backwards. A wrong track's leap is one both ways.
    int64_t steps = 0;
    for (size_t k = 0; k < window; ++k) steps += step(k);
    for (size_t k = 0;; ++k) {
        const int64_t net = unwrapped(int64_t(lap.positions[k + window]) - lap.positions[k]);
        if (static_cast<double>(-net) > limit && static_cast<double>(-steps) > limit)
            return TLapFit::BackwardsFasterThanAnyCar;
        if (k + window + 1 >= n) break;
        steps += step(k + window) - step(k);
    }
    return TLapFit::Fits;
}

std::string LapFitMessage(TLapFit fit, const std::string& trackName) {
    switch (fit) {
        case TLapFit::Fits:
            return "";
        case TLapFit::BeyondTrackLength:
            return "This lap does not fit " + trackName +
                   ": its positions run past the end of the track.\n"
                   "The replay was recorded on another track.";
        case TLapFit::BackwardsFasterThanAnyCar:
            return "This lap does not fit " + trackName +
                   ": its car would run backwards faster than any car goes.\n"
                   "The replay was recorded on another track.";
    }
    return "";
}
