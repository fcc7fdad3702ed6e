#include "views/map/MapMarkers.h"

#include <cmath>

#include "channels/Channels.h"
#include "track/Geometry.h"

Rgb PaleColour(Rgb c) {
    const int sum = c.r + c.g + c.b;
    const double f = sum == 765 ? 0.0 : (660.0 - sum) / (765.0 - sum);
    auto pale = [f](uint8_t v) {
        const double x = v * (1 - f) + 255 * f;
        // A sum just above 660 darkens by a hair; the result stays a byte either way.
        if (!(x > 0)) return uint8_t{0};
        if (x >= 255) return uint8_t{255};
        return static_cast<uint8_t>(x);
    };
    return Rgb{pale(c.r), pale(c.g), pale(c.b)};
}

namespace {

bool Prepared(const TTrackData& track) {
    return track.pointCount > 0 &&
           track.pointPositions.size() == static_cast<size_t>(track.pointCount) + 1;
}

}  // namespace

int32_t FirstComparedSegment(const TTrackData& track, const TReplay& a, const TReplay& b) {
    if (!Prepared(track)) return 0;
    const double k = a.inchesPerUnit / 12;
    const double startA = a.startPosition * a.inchesPerUnit / 12;
    const double startB = b.startPosition * b.inchesPerUnit / 12;
    const double later = std::max(startA, startB);
    const auto& P = track.pointPositions;
    const int32_t last = track.pointCount - 1;
    int32_t s = 0;
    while (s < last && !(P[static_cast<size_t>(s) + 1] * k > later)) ++s;
    return s;
}

std::vector<uint8_t> SegmentWinners(const TTrackData& track, const TReplay& a, const TReplay& b) {
    if (!Prepared(track)) return {};
    const auto m = static_cast<size_t>(track.pointCount);
    std::vector<uint8_t> winners(m, kNoWinner);
    const auto& P = track.pointPositions;
    const double k = a.inchesPerUnit / 12;
    const double endA = a.endPosition * a.inchesPerUnit / 12;
    const double endB = b.endPosition * b.inchesPerUnit / 12;
    auto judge = [&](size_t s, double from, double to) {
        const double dA = TimeAtPosition(a, to) - TimeAtPosition(a, from);
        const double dB = TimeAtPosition(b, to) - TimeAtPosition(b, from);
        winners[s] = dA < dB ? kFirstLapWins : kSecondLapWins;
    };
    auto s = static_cast<size_t>(FirstComparedSegment(track, a, b));
    for (;; ++s) {
        if (s == m - 1) break;
        const double next = P[s + 1] * k;
        if (next > endA || next > endB) return winners;
        judge(s, P[s] * k, next);
    }
    // The last segment ends at the track's length; it counts only when both laps end at
    // the very same position.
    if (endA == endB) judge(s, P[s] * k, P[m] * k);
    return winners;
}

Rgb MapCursorColour(const TTrackData& track, int32_t position, bool comparisonShown,
                    const std::vector<uint8_t>& winners, Rgb firstLap, Rgb secondLap) {
    if (!comparisonShown) return kCursorGreen;
    const auto s = static_cast<size_t>(SegmentAt(track, position).segment);
    const uint8_t w = s < winners.size() ? winners[s] : kNoWinner;
    Rgb base{255, 255, 255};
    if (w == kFirstLapWins) base = PaleColour(firstLap);
    if (w == kSecondLapWins) base = PaleColour(secondLap);
    return Rgb{base.r, static_cast<uint8_t>(base.g ^ 192), base.b};
}
