#include "channels/Channels.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "track/Geometry.h"

const char* const ChannelNames[8] = {"Time",          "Position",      "Speed",      "Line",
                                     "In-line Force", "Lateral Force", "Slip Angle", "None"};
const char* const ChannelUnits[8] = {"sec", "feet", "mph", "feet", "g's", "g's", "degrees", "--"};

namespace {

constexpr double Frame = 1.0 / FrameRate;
constexpr double FeetPerFrameToMph = FrameRate * 3600.0 / 5280.0;
constexpr double MphPerFrameToG = 5280.0 * FrameRate / 3600.0 / 32.2;
constexpr double Pi = std::numbers::pi;

// Samples usable in every array; a lap always has all four arrays of sampleCount
// elements, but a short array must never be read past its end.
size_t SampleCount(const TReplay& lap) {
    if (lap.sampleCount <= 0) return 0;
    const size_t n = static_cast<size_t>(lap.sampleCount);
    return std::min({n, lap.positions.size(), lap.lines.size(), lap.headings.size()});
}

double Clamp(const TReplay& lap, double t) { return std::min(t, LapDuration(lap)); }

double FeetOf(const TReplay& lap, double units) { return units * lap.inchesPerUnit / 12.0; }

// Interpolation between samples with the extension rules of the lateral offset and
// heading: one whole sample step before sample 0, the last slope past the last sample.
template <typename T>
double ExtendedAt(const TReplay& lap, const std::vector<T>& v, size_t n, double f) {
    if (std::isnan(f)) return 0;  // only a damaged document gives a frame that is not a number
    const double last = static_cast<double>(n - 1);
    if (f < 0) {
        // A single sample has no step; a lap starting exactly on sample 0 has no
        // span before it to scale into.
        if (n < 2 || lap.startFrame == 0) return v[0];
        return v[0] + (double(v[0]) - double(v[1])) * f / lap.startFrame;
    }
    if (f > last) {
        if (n < 2) return v[n - 1];
        return v[n - 1] + (double(v[n - 1]) - double(v[n - 2])) * (f - last);
    }
    const auto i = static_cast<size_t>(f);
    if (i >= n - 1) return v[n - 1];
    const double r = f - static_cast<double>(i);
    return (1 - r) * v[i] + r * v[i + 1];
}

// Change per frame of g at lap time t: forward on the first frame, backward on the
// last, central in between.
template <typename G>
double DifferenceStencil(const TReplay& lap, double t, G g) {
    t = Clamp(lap, t);
    const double f = lap.startFrame + FrameRate * t;
    if (f <= lap.startFrame + 1) return g(t + Frame) - g(t);
    if (f < lap.endFrame - 1) return (g(t + Frame) - g(t - Frame)) * 0.5;
    return g(t) - g(t - Frame);
}

}  // namespace

double LapDuration(const TReplay& lap) { return (lap.endFrame - lap.startFrame) / FrameRate; }

double PositionAt(const TReplay& lap, double t) {
    const size_t n = SampleCount(lap);
    if (n == 0) return 0;
    const auto& p = lap.positions;
    const double f = lap.startFrame + FrameRate * Clamp(lap, t);
    if (std::isnan(f)) return 0;
    const double last = static_cast<double>(n - 1);
    double value;
    if (f < 0) {
        value = lap.startFrame == 0 ? p[0] : p[0] * (f - lap.startFrame) / -lap.startFrame;
    } else if (f > last) {
        const double span = lap.endFrame - last;
        value = span == 0 ? p[n - 1] : p[n - 1] + (lap.endPosition - p[n - 1]) * (f - last) / span;
    } else {
        const auto i = static_cast<size_t>(f);
        if (i >= n - 1) {
            value = p[n - 1];
        } else {
            const double r = f - static_cast<double>(i);
            value = (1 - r) * p[i] + r * p[i + 1];
        }
    }
    return FeetOf(lap, value);
}

double RawLineAt(const TReplay& lap, double t) {
    const size_t n = SampleCount(lap);
    if (n == 0) return 0;
    const double f = lap.startFrame + FrameRate * Clamp(lap, t);
    return FeetOf(lap, ExtendedAt(lap, lap.lines, n, f));
}

double HeadingAt(const TReplay& lap, double t) {
    const size_t n = SampleCount(lap);
    if (n == 0) return 0;
    const double f = lap.startFrame + FrameRate * Clamp(lap, t);
    return ExtendedAt(lap, lap.headings, n, f);
}

double LineAt(const TReplay& lap, double t, const TTrackData* track) {
    if (SampleCount(lap) == 0) return 0;
    const double line = RawLineAt(lap, t);
    if (track == nullptr || !track->hasGeometry() || lap.inchesPerUnit == 0) return line;
    const double width =
        TrackWidthAt(*track, PositionAt(lap, t) * 12.0 / lap.inchesPerUnit) * lap.inchesPerUnit / 12.0;
    return track->sideFlag == 1 ? line - width : width - line;
}

double SpeedAt(const TReplay& lap, double t) {
    if (SampleCount(lap) == 0) return 0;
    return DifferenceStencil(lap, t, [&](double u) { return PositionAt(lap, u); }) * FeetPerFrameToMph;
}

double LateralSpeedAt(const TReplay& lap, double t) {
    if (SampleCount(lap) == 0) return 0;
    return DifferenceStencil(lap, t, [&](double u) { return RawLineAt(lap, u); }) * FeetPerFrameToMph;
}

double InlineForceAt(const TReplay& lap, double t) {
    if (SampleCount(lap) == 0) return 0;
    return DifferenceStencil(lap, t, [&](double u) { return SpeedAt(lap, u); }) * MphPerFrameToG;
}

double LateralForceAt(const TReplay& lap, double t) {
    if (SampleCount(lap) == 0) return 0;
    return DifferenceStencil(lap, t, [&](double u) { return LateralSpeedAt(lap, u); }) * MphPerFrameToG;
}

double SlipAngleAt(const TReplay& lap, double t) {
    if (SampleCount(lap) == 0) return 0;
    const double lateral = LateralSpeedAt(lap, t);
    const double speed = SpeedAt(lap, t);
    double a = HeadingAt(lap, t) * 2 * Pi / 65536.0;
    if (a > Pi) a -= 2 * Pi;
    const double b = lateral == 0 && speed == 0 ? a : std::atan2(lateral, speed);
    double s = a - b - 6 * Pi;
    // Only a non-finite sample could make this loop run away.
    if (!std::isfinite(s)) return 0;
    // A heading extrapolated far past a damaged lap's samples would take for ever to turn
    // back whole turn by whole turn; real headings need a few turns at most.
    if (s < -1000 * Pi) s = std::fmod(s, 2 * Pi) - 2 * Pi;
    while (s < -Pi) s += 2 * Pi;
    if (s >= Pi) s = std::fmod(s + Pi, 2 * Pi) - Pi;
    return s * 180.0 / Pi;
}

double TimeAtPosition(const TReplay& lap, double feet) {
    const size_t n = SampleCount(lap);
    if (n == 0 || lap.inchesPerUnit == 0) return 0;
    const double p = feet * 12.0 / lap.inchesPerUnit;
    const auto& pos = lap.positions;
    const double last = static_cast<double>(n - 1);
    double offset;
    if (pos[0] > p) {
        offset = pos[0] == 0 ? 0 : -lap.startFrame * p / pos[0];
    } else if (pos[n - 1] < p) {
        const double span = lap.endPosition - pos[n - 1];
        const double frame =
            span == 0 ? lap.endFrame : last + (lap.endFrame - last) * (p - pos[n - 1]) / span;
        offset = frame - lap.startFrame;
    } else {
        // The first sample past p: its running maximum is the first one past p as well,
        // so a binary search over the running maximum gives the linear search's index.
        const auto& index = lap.PositionIndex();
        const auto end = index.begin() + static_cast<std::ptrdiff_t>(n);
        const auto found = std::upper_bound(index.begin() + 1, end, p,
                                            [](double value, int32_t m) { return value < m; });
        double frame = last;
        if (found != end) {
            const auto j = static_cast<size_t>(found - index.begin());
            const auto i = j - 1;
            frame = static_cast<double>(i) + (p - pos[i]) / (double(pos[j]) - double(pos[i]));
        }
        offset = frame - lap.startFrame;
    }
    return offset / FrameRate;
}

double AverageLapSpeed(const TReplay& lap) {
    if (SampleCount(lap) == 0) return 0;
    const double duration = LapDuration(lap);
    // A lap without duration has no speed rather than an infinite one.
    if (duration <= 0) return 0;
    return (lap.lapLength * lap.inchesPerUnit / 12.0 / 5280.0) / duration * 3600.0;
}

double ChannelValue(const TReplay& lap, double x, int xChannel, int yChannel,
                    const TTrackData* track) {
    if (SampleCount(lap) == 0) return 0;
    const double t = xChannel == ChannelTime ? x : TimeAtPosition(lap, x);
    switch (yChannel) {
        case ChannelTime:
            return t;
        case ChannelPosition:
            return xChannel == ChannelTime ? PositionAt(lap, t) : x;
        case ChannelSpeed:
            return SpeedAt(lap, t);
        case ChannelLine:
            return LineAt(lap, t, track);
        case ChannelSlipAngle:
            return SlipAngleAt(lap, t);
        case ChannelInlineForce:
            return (InlineForceAt(lap, std::max(0.0, t - Frame)) + InlineForceAt(lap, std::max(0.0, t)) +
                    InlineForceAt(lap, std::max(0.0, t + Frame))) *
                   (1.0 / 3.0);
        case ChannelLateralForce:
            return (LateralForceAt(lap, std::max(0.0, t - Frame)) +
                    LateralForceAt(lap, std::max(0.0, t)) +
                    LateralForceAt(lap, std::max(0.0, t + Frame))) *
                   (1.0 / 3.0);
        default:
            return 0;
    }
}

ChannelRange ChannelExtents(const std::vector<const TReplay*>& laps, const TTrackData* track) {
    ChannelRange range;
    range.minimum = {0, 0, 500, 1000, 1000, 1000, 1000};
    range.maximum = {0, 0, -500, -1000, -1000, -1000, -1000};
    if (track != nullptr) range.maximum[ChannelPosition] = track->trackLength * track->inchesPerUnit / 12.0;
    for (const TReplay* lap : laps) {
        if (lap == nullptr) continue;
        const double duration = LapDuration(*lap);
        range.maximum[ChannelTime] = std::max(range.maximum[ChannelTime], duration);
        // A lap's time lies within a frame or two of its samples; a damaged document that
        // claims far more would keep this loop (and the open) going for ever.
        const double frameLimit = static_cast<double>(SampleCount(*lap)) + 30;
        double frames = 0;
        for (double t = 0; t < duration && frames < frameLimit; t += Frame, frames += 1) {
            const double values[ChannelCount] = {0,
                                                 0,
                                                 SpeedAt(*lap, t),
                                                 LineAt(*lap, t, track),
                                                 InlineForceAt(*lap, t),
                                                 LateralForceAt(*lap, t),
                                                 SlipAngleAt(*lap, t)};
            for (int c = ChannelSpeed; c < ChannelCount; ++c) {
                range.minimum[c] = std::min(range.minimum[c], values[c]);
                range.maximum[c] = std::max(range.maximum[c], values[c]);
            }
        }
    }
    return range;
}
