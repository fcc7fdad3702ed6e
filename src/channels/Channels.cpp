#include "channels/Channels.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "track/Geometry.h"

const char* const ChannelNames[8] = {"Time",          "Position",      "Speed",      "Line",
                                     "In-line Force", "Lateral Force", "Slip Angle", "None"};
const char* const ChannelUnits[8] = {"sec", "feet", "mph", "feet", "g's", "g's", "degrees", "--"};

const char* ChannelName(TelemetryChannel c) {
    const int n = ChannelNumber(c);
    return n >= 0 && n <= ChannelNumber(TelemetryChannel::None) ? ChannelNames[n] : "";
}

const char* ChannelUnit(TelemetryChannel c) {
    const int n = ChannelNumber(c);
    return n >= 0 && n <= ChannelNumber(TelemetryChannel::None) ? ChannelUnits[n] : "";
}

namespace {

constexpr double Frame = 1.0 / FrameRate;
// Per-frame changes to channel units, multiplied and divided in the order of the
// formulas, so that each value is rounded exactly as they round it.
double FeetPerFrameToMph(double d) {
    return d * FrameRate * 3600.0 / 5280.0;
}
double MphPerFrameToG(double d) {
    return d * 5280.0 * FrameRate / 3600.0 / 32.2;
}
constexpr double Pi = std::numbers::pi;

// Samples usable in every array; a lap always has all four arrays of sampleCount
// elements, but a short array must never be read past its end.
size_t SampleCount(const TReplay& lap) {
    if (lap.sampleCount <= 0) return 0;
    const size_t n = static_cast<size_t>(lap.sampleCount);
    return std::min({n, lap.positions.size(), lap.lines.size(), lap.headings.size()});
}

// One lap with what every operation works out first: its usable sample count and its
// duration. A graph column asks for a dozen interpolations of the same lap, so these are
// computed once per public call; the values are the very ones each step would compute.
struct LapView {
    explicit LapView(const TReplay& l)
        : lap(l),
          n(SampleCount(l)),
          duration((l.endFrame - l.startFrame) / FrameRate),
          positions(l.DrivenPositions()) {}
    const TReplay& lap;
    size_t n;
    double duration;
    // Positions as driven: a lap in which the car rolled back over the line reads them
    // without the wrap, so that its speed stays the speed it drove.
    const std::vector<int32_t>& positions;
};

double Clamp(const LapView& v, double t) {
    return std::min(t, v.duration);
}

double FeetOf(const TReplay& lap, double units) {
    return units * lap.inchesPerUnit / 12.0;
}

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
double DifferenceStencil(const LapView& v, double t, G g) {
    t = Clamp(v, t);
    const double f = v.lap.startFrame + FrameRate * t;
    if (f <= v.lap.startFrame + 1) return g(t + Frame) - g(t);
    if (f < v.lap.endFrame - 1) return (g(t + Frame) - g(t - Frame)) * 0.5;
    return g(t) - g(t - Frame);
}

// The operations on a lap with samples (v.n > 0).
double Position(const LapView& v, double t) {
    const TReplay& lap = v.lap;
    const size_t n = v.n;
    const auto& p = v.positions;
    const double f = lap.startFrame + FrameRate * Clamp(v, t);
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

double RawLine(const LapView& v, double t) {
    const double f = v.lap.startFrame + FrameRate * Clamp(v, t);
    return FeetOf(v.lap, ExtendedAt(v.lap, v.lap.lines, v.n, f));
}

double Heading(const LapView& v, double t) {
    const double f = v.lap.startFrame + FrameRate * Clamp(v, t);
    return ExtendedAt(v.lap, v.lap.headings, v.n, f);
}

double Line(const LapView& v, double t, const TTrackData* track) {
    const TReplay& lap = v.lap;
    const double line = RawLine(v, t);
    if (track == nullptr || !track->hasGeometry() || lap.inchesPerUnit == 0) return line;
    const double width =
        TrackWidthAt(*track, Position(v, t) * 12.0 / lap.inchesPerUnit) * lap.inchesPerUnit / 12.0;
    return track->sideFlag == 1 ? line - width : width - line;
}

double Speed(const LapView& v, double t) {
    return FeetPerFrameToMph(DifferenceStencil(v, t, [&](double u) { return Position(v, u); }));
}

double LateralSpeed(const LapView& v, double t) {
    return FeetPerFrameToMph(DifferenceStencil(v, t, [&](double u) { return RawLine(v, u); }));
}

double InlineForce(const LapView& v, double t) {
    return MphPerFrameToG(DifferenceStencil(v, t, [&](double u) { return Speed(v, u); }));
}

double LateralForce(const LapView& v, double t) {
    return MphPerFrameToG(DifferenceStencil(v, t, [&](double u) { return LateralSpeed(v, u); }));
}

double SlipAngle(const LapView& v, double t) {
    const double lateral = LateralSpeed(v, t);
    const double speed = Speed(v, t);
    double a = Heading(v, t) * 2 * Pi / 65536.0;
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

// The lap time at a position, with firstPast(p) giving the first sample index j >= 1 whose
// running maximum of positions exceeds p (n when there is none).
template <typename FirstPast>
double TimeAtWith(const LapView& v, double feet, FirstPast firstPast) {
    const TReplay& lap = v.lap;
    const size_t n = v.n;
    if (lap.inchesPerUnit == 0) return 0;
    const double p = feet * 12.0 / lap.inchesPerUnit;
    const auto& pos = v.positions;
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
        // so a search over the running maximum gives the linear search's index.
        const size_t j = firstPast(p);
        double frame = last;
        if (j < n) {
            const auto i = j - 1;
            frame = static_cast<double>(i) + (p - pos[i]) / (double(pos[j]) - double(pos[i]));
        }
        offset = frame - lap.startFrame;
    }
    return offset / FrameRate;
}

double TimeAt(const LapView& v, double feet) {
    return TimeAtWith(v, feet, [&v](double p) {
        const auto& index = v.lap.PositionIndex();
        const auto end = index.begin() + static_cast<std::ptrdiff_t>(v.n);
        const auto found = std::upper_bound(index.begin() + 1, end, p,
                                            [](double value, int32_t m) { return value < m; });
        return static_cast<size_t>(found - index.begin());
    });
}

// Runs op on a lap with samples; a lap without samples gives 0 for every operation.
template <typename Op>
double WithSamples(const TReplay& lap, Op op) {
    const LapView v(lap);
    return v.n == 0 ? 0.0 : op(v);
}

}  // namespace

double LapDuration(const TReplay& lap) {
    return (lap.endFrame - lap.startFrame) / FrameRate;
}

double PositionAt(const TReplay& lap, double t) {
    return WithSamples(lap, [t](const LapView& v) { return Position(v, t); });
}
double RawLineAt(const TReplay& lap, double t) {
    return WithSamples(lap, [t](const LapView& v) { return RawLine(v, t); });
}
double HeadingAt(const TReplay& lap, double t) {
    return WithSamples(lap, [t](const LapView& v) { return Heading(v, t); });
}
double LineAt(const TReplay& lap, double t, const TTrackData* track) {
    return WithSamples(lap, [t, track](const LapView& v) { return Line(v, t, track); });
}
double SpeedAt(const TReplay& lap, double t) {
    return WithSamples(lap, [t](const LapView& v) { return Speed(v, t); });
}
double LateralSpeedAt(const TReplay& lap, double t) {
    return WithSamples(lap, [t](const LapView& v) { return LateralSpeed(v, t); });
}
double InlineForceAt(const TReplay& lap, double t) {
    return WithSamples(lap, [t](const LapView& v) { return InlineForce(v, t); });
}
double LateralForceAt(const TReplay& lap, double t) {
    return WithSamples(lap, [t](const LapView& v) { return LateralForce(v, t); });
}
double SlipAngleAt(const TReplay& lap, double t) {
    return WithSamples(lap, [t](const LapView& v) { return SlipAngle(v, t); });
}
double TimeAtPosition(const TReplay& lap, double feet) {
    return WithSamples(lap, [feet](const LapView& v) { return TimeAt(v, feet); });
}

void TimesAtPositions(const TReplay& lap, const double* feet, size_t count, double* times) {
    const LapView v(lap);
    if (v.n == 0) {
        std::fill(times, times + count, 0.0);
        return;
    }
    const auto& index = lap.PositionIndex();
    // The first index past p only moves forward while p rises: one walk over the samples
    // for the whole series instead of a search per position.
    size_t j = 1;
    double previous = -std::numeric_limits<double>::infinity();
    auto firstPast = [&](double p) {
        if (!(p >= previous)) j = 1;  // a falling (or not-a-number) position starts again
        previous = p;
        while (j < v.n && !(p < index[j])) ++j;
        return j;
    };
    for (size_t k = 0; k < count; ++k) times[k] = TimeAtWith(v, feet[k], firstPast);
}

double AverageLapSpeed(const TReplay& lap) {
    if (SampleCount(lap) == 0) return 0;
    const double duration = LapDuration(lap);
    // A lap without duration has no speed rather than an infinite one.
    if (duration <= 0) return 0;
    // A lap whose recording began after the line or ended before it covered only part of
    // the track, and its time is the time for that part. A whole lap keeps the nominal
    // length; its start and end are computed in floating point, hence the unit of slack.
    const double covered = lap.endPosition - lap.startPosition;
    if (!(covered >= lap.lapLength - 1.0)) {
        if (!(covered > 0)) return 0;
        return (covered * lap.inchesPerUnit / 12.0 / 5280.0) / duration * 3600.0;
    }
    return (lap.lapLength * lap.inchesPerUnit / 12.0 / 5280.0) / duration * 3600.0;
}

double ChannelValue(const TReplay& lap, double x, TelemetryChannel xChannel,
                    TelemetryChannel yChannel, const TTrackData* track) {
    const LapView v(lap);
    if (v.n == 0) return 0;
    const double t = xChannel == TelemetryChannel::Time ? x : TimeAt(v, x);
    switch (yChannel) {
        case TelemetryChannel::Time:
            return t;
        case TelemetryChannel::Position:
            return xChannel == TelemetryChannel::Time ? Position(v, t) : x;
        case TelemetryChannel::Speed:
            return Speed(v, t);
        case TelemetryChannel::Line:
            return Line(v, t, track);
        case TelemetryChannel::SlipAngle:
            return SlipAngle(v, t);
        case TelemetryChannel::InlineForce:
            return (InlineForce(v, std::max(0.0, t - Frame)) + InlineForce(v, std::max(0.0, t)) +
                    InlineForce(v, std::max(0.0, t + Frame))) *
                   (1.0 / 3.0);
        case TelemetryChannel::LateralForce:
            return (LateralForce(v, std::max(0.0, t - Frame)) + LateralForce(v, std::max(0.0, t)) +
                    LateralForce(v, std::max(0.0, t + Frame))) *
                   (1.0 / 3.0);
        default:
            return 0;
    }
}

ChannelRange ChannelExtents(const std::vector<const TReplay*>& laps, const TTrackData* track) {
    ChannelRange range;
    range.minimum = {0, 0, 500, 1000, 1000, 1000, 1000};
    range.maximum = {0, 0, -500, -1000, -1000, -1000, -1000};
    if (track != nullptr)
        range.maximum[ChannelNumber(TelemetryChannel::Position)] =
            track->trackLength * track->inchesPerUnit / 12.0;
    for (const TReplay* lap : laps) {
        if (lap == nullptr) continue;
        const double duration = LapDuration(*lap);
        double& time = range.maximum[ChannelNumber(TelemetryChannel::Time)];
        time = std::max(time, duration);
        // An imported lap ends within a frame of its last sample, or, when its recording
        // stopped at most 704 units short of the line, at one unit per frame or more past
        // it: its time lies within n + 704 frames. A damaged document that claims far more
        // would keep this loop (and the open) going for ever.
        const LapView v(*lap);
        const double frameLimit = static_cast<double>(v.n) + 704 + 30;
        double frames = 0;
        for (double t = 0; t < duration && frames < frameLimit; t += Frame, frames += 1) {
            // A lap without samples is 0 in every channel, as each operation gives it.
            const bool any = v.n > 0;
            const double values[ChannelCount] = {0,
                                                 0,
                                                 any ? Speed(v, t) : 0,
                                                 any ? Line(v, t, track) : 0,
                                                 any ? InlineForce(v, t) : 0,
                                                 any ? LateralForce(v, t) : 0,
                                                 any ? SlipAngle(v, t) : 0};
            for (size_t c = ChannelNumber(TelemetryChannel::Speed); c < ChannelCount; ++c) {
                range.minimum[c] = std::min(range.minimum[c], values[c]);
                range.maximum[c] = std::max(range.maximum[c], values[c]);
            }
        }
    }
    return range;
}
