#include "channels/ChannelWalk.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double Frame = 1.0 / FrameRate;

// The unit changes of the channel operations, written as they write them so that every
// product and quotient rounds as theirs does.
double FeetPerFrameToMph(double d) {
    return d * FrameRate * 3600.0 / 5280.0;
}
double MphPerFrameToG(double d) {
    return d * 5280.0 * FrameRate / 3600.0 / 32.2;
}

// The C library's string and memory functions may leave the upper halves of the vector
// registers in use (its AVX-512 variants), and on some processors every SSE operation then
// runs several times slower until they are cleared, which costs next to nothing. The walk
// is all such arithmetic, and it starts after whatever the painting did before it.
void ClearUpperVectorHalves() {
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    static const bool avx = __builtin_cpu_supports("avx");
    if (avx) __asm__ volatile("vzeroupper");
#endif
}

size_t UsableSamples(const TReplay& lap) {
    if (lap.sampleCount <= 0) return 0;
    const size_t n = static_cast<size_t>(lap.sampleCount);
    return std::min({n, lap.positions.size(), lap.lines.size(), lap.headings.size()});
}

}  // namespace

TChannelWalk::TChannelWalk(const TReplay& lap, const TTrackData* track)
    : lap_(lap),
      track_(track),
      n_(UsableSamples(lap)),
      startFrame_(lap.startFrame),
      endFrame_(lap.endFrame),
      inchesPerUnit_(lap.inchesPerUnit),
      lastPosition_(-std::numeric_limits<double>::infinity()) {
    ClearUpperVectorHalves();
    if (n_ == 0) return;
    positions_ = lap.DrivenPositions().data();
    lines_ = lap.lines.data();
    index_ = lap.PositionIndex().data();
    // Inside a frame's reach the operations take their central differences, no clamp and
    // no extension applies, and every interpolation lies between two samples. The bounds
    // keep a whole frame in hand, far more than the rounding of frames below 2^32 can eat.
    const double last = static_cast<double>(n_ - 1);
    const bool moderate =
        std::fabs(startFrame_) < 4294967296.0 && std::fabs(endFrame_) < 4294967296.0;
    if (moderate) {
        insideFrom_ = std::max(startFrame_ + 4, 4.0);
        insideTo_ = std::min(endFrame_ - 4, last - 4);
    }
}

double TChannelWalk::TimeOf(double x, TelemetryChannel xChannel) {
    if (xChannel == TelemetryChannel::Time) return x;
    // The search of TimeAtPosition, step for step, with its binary search over the running
    // maximum replaced by a walk from where the previous column left it.
    if (n_ == 0 || inchesPerUnit_ == 0) return 0;
    const double p = x * 12.0 / inchesPerUnit_;
    const int32_t* pos = positions_;
    const size_t n = n_;
    const double last = static_cast<double>(n - 1);
    double offset;
    if (pos[0] > p) {
        offset = pos[0] == 0 ? 0 : -startFrame_ * p / pos[0];
    } else if (pos[n - 1] < p) {
        const double span = lap_.endPosition - pos[n - 1];
        const double frame =
            span == 0 ? endFrame_ : last + (endFrame_ - last) * (p - pos[n - 1]) / span;
        offset = frame - startFrame_;
    } else {
        if (!(p >= lastPosition_)) {
            const int32_t* found = std::upper_bound(
                index_ + 1, index_ + n, p, [](double value, int32_t m) { return value < m; });
            cursor_ = static_cast<size_t>(found - index_);
        }
        while (cursor_ < n && !(p < index_[cursor_])) ++cursor_;
        lastPosition_ = p;
        double frame = last;
        if (cursor_ != n) {
            const size_t j = cursor_, i = j - 1;
            frame = static_cast<double>(i) + (p - pos[i]) / (double(pos[j]) - double(pos[i]));
        }
        offset = frame - startFrame_;
    }
    return offset / FrameRate;
}

bool TChannelWalk::Inside(double t) const {
    const double f = startFrame_ + FrameRate * t;
    return f >= insideFrom_ && f <= insideTo_;
}

// The samples interpolated at frames f[k][c], in feet, for the columns c < m of a chunk,
// exactly as the channel operations interpolate between two samples.
template <size_t K>
void TChannelWalk::SampleFeet(const int32_t* samples, const double (&f)[K][Chunk], size_t m,
                              double (&feet)[K][Chunk]) const {
    for (size_t k = 0; k < K; ++k)
        for (size_t c = 0; c < m; ++c) {
            // Inside vouches for 0 <= f < n - 1, so the frame truncates to a sample with
            // one more after it.
            const auto i = static_cast<int64_t>(f[k][c]);
            const double r = f[k][c] - static_cast<double>(i);
            feet[k][c] = ((1 - r) * samples[i] + r * samples[i + 1]) * inchesPerUnit_ / 12.0;
        }
}

void TChannelWalk::SpeedsInside(const double* t, size_t m, double* out) const {
    double f[2][Chunk], feet[2][Chunk];
    for (size_t c = 0; c < m; ++c) {
        f[0][c] = startFrame_ + FrameRate * (t[c] + Frame);
        f[1][c] = startFrame_ + FrameRate * (t[c] - Frame);
    }
    SampleFeet(positions_, f, m, feet);
    for (size_t c = 0; c < m; ++c) out[c] = FeetPerFrameToMph((feet[0][c] - feet[1][c]) * 0.5);
}

// The smoothed force is the mean of the force at t - h, t and t + h; each force is the
// central difference of a speed at its time +- h, each speed that of the samples at its
// time +- h. Written out, the speeds fall on six times and the interpolations on twelve,
// each formed as the operations form it (t - h + h, say). Most often these times coincide
// exactly where they stand for the same instant, leaving five speeds and seven
// interpolations; a column where one pair differs by rounding is not taken here (ok false).
void TChannelWalk::ForceMeansInside(const int32_t* samples, const double* t, size_t m, double* out,
                                    bool* ok) const {
    double f[7][Chunk];
    for (size_t c = 0; c < m; ++c) {
        const double a = t[c] - Frame, b = t[c] + Frame;
        const double aDown = a - Frame, aUp = a + Frame, bDown = b - Frame, bUp = b + Frame;
        // Speed at b - h is the one at a + h; the interpolation at a + h - h is the one at
        // a - h + h, and that at b + h - h the one at a + h + h.
        ok[c] = aUp - Frame == aDown + Frame && bDown == aUp && bUp - Frame == aUp + Frame;
        const double w[7] = {aDown - Frame, aDown, aDown + Frame, aUp,
                             aUp + Frame,   bUp,   bUp + Frame};
        for (size_t k = 0; k < 7; ++k) f[k][c] = startFrame_ + FrameRate * w[k];
    }
    double s[7][Chunk];
    SampleFeet(samples, f, m, s);
    for (size_t c = 0; c < m; ++c) {
        const double vADown = FeetPerFrameToMph((s[2][c] - s[0][c]) * 0.5);
        const double vA = FeetPerFrameToMph((s[3][c] - s[1][c]) * 0.5);
        const double vAUp = FeetPerFrameToMph((s[4][c] - s[2][c]) * 0.5);  // also b - h
        const double vB = FeetPerFrameToMph((s[5][c] - s[3][c]) * 0.5);
        const double vBUp = FeetPerFrameToMph((s[6][c] - s[4][c]) * 0.5);
        out[c] = (MphPerFrameToG((vAUp - vADown) * 0.5) + MphPerFrameToG((vB - vA) * 0.5) +
                  MphPerFrameToG((vBUp - vAUp) * 0.5)) *
                 (1.0 / 3.0);
    }
}

double TChannelWalk::ValueAt(double x, TelemetryChannel xChannel, double t,
                             TelemetryChannel yChannel) const {
    double value = 0;
    ValuesAt(&x, &t, 1, xChannel, yChannel, &value);
    return value;
}

void TChannelWalk::ValuesAt(const double* x, const double* t, size_t count,
                            TelemetryChannel xChannel, TelemetryChannel yChannel,
                            double* out) const {
    ClearUpperVectorHalves();
    const bool fast = n_ > 0 && (yChannel == TelemetryChannel::Speed ||
                                 yChannel == TelemetryChannel::InlineForce ||
                                 yChannel == TelemetryChannel::LateralForce);
    for (size_t begin = 0; begin < count; begin += Chunk) {
        const size_t end = std::min(count, begin + Chunk);
        // The columns well inside the lap go through the fast steps together.
        double times[Chunk], values[Chunk];
        bool ok[Chunk];
        size_t column[Chunk];
        size_t m = 0;
        for (size_t c = begin; c < end; ++c) {
            ok[c - begin] = false;
            if (fast && Inside(t[c])) {
                column[m] = c;
                times[m++] = t[c];
            }
        }
        if (m > 0) {
            bool good[Chunk];
            if (yChannel == TelemetryChannel::Speed) {
                SpeedsInside(times, m, values);
                std::fill(good, good + m, true);
            } else {
                ForceMeansInside(yChannel == TelemetryChannel::InlineForce ? positions_ : lines_,
                                 times, m, values, good);
            }
            for (size_t k = 0; k < m; ++k)
                if (good[k]) {
                    out[column[k]] = values[k];
                    ok[column[k] - begin] = true;
                }
        }
        for (size_t c = begin; c < end; ++c)
            if (!ok[c - begin]) out[c] = Value(x[c], xChannel, t[c], yChannel);
    }
}

double TChannelWalk::Value(double x, TelemetryChannel xChannel, double t,
                           TelemetryChannel yChannel) const {
    if (n_ == 0) return 0;
    switch (yChannel) {
        case TelemetryChannel::Position:
            return xChannel == TelemetryChannel::Time ? PositionAt(lap_, t) : x;
        case TelemetryChannel::Time:
        case TelemetryChannel::Speed:
        case TelemetryChannel::Line:
        case TelemetryChannel::SlipAngle:
        case TelemetryChannel::InlineForce:
        case TelemetryChannel::LateralForce:
            // Given the time, ChannelValue on a time x-axis gives what it gives at x.
            return ChannelValue(lap_, t, TelemetryChannel::Time, yChannel, track_);
        default:
            return 0;
    }
}
