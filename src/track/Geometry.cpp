#include "track/Geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Real to integer truncates toward zero. Values beyond 32 bits (or not a number) come
// only from hostile track data; they saturate rather than invoke undefined behaviour.
int32_t Truncate(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    if (v <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

size_t Ref(const TTrackData& t) {
    return t.sideFlag != 0 ? 1 : 0;
}
size_t Oth(const TTrackData& t) {
    return 1 - Ref(t);
}

// The width value at point i; a width table shorter than the point list repeats its
// last entry instead of being read past its end.
double WidthValue(const TTrackData& t, size_t i) {
    if (t.widthCount == 0 || t.widths.empty()) return t.constantWidth;
    return t.widths[std::min(i, t.widths.size() - 1)];
}

double WidthAt(const TTrackData& t, const SegmentFraction& sf) {
    const auto s = static_cast<size_t>(sf.segment);
    return WidthValue(t, s) * (1 - sf.fraction) + WidthValue(t, s + 1) * sf.fraction;
}

// Places the points strictly between i0 and i1 in proportion to the reference edge's
// length, then pins the two ends. Indexes outside the point list (hostile anchors) are
// left alone; a stretch of zero length puts its inner points at p0.
void Spread(std::vector<int32_t>& p, const std::vector<double>& len, int32_t i0, int32_t i1,
            int32_t p0, int32_t p1) {
    const auto m = static_cast<int64_t>(p.size()) - 1;
    const double span = static_cast<double>(p1) - static_cast<double>(p0);
    const bool inside = i0 >= 0 && i1 <= m;
    for (int64_t i = int64_t{i0} + 1; inside && i < i1; ++i) {
        const auto k = static_cast<size_t>(i);
        const double ratio = (len[k] - len[static_cast<size_t>(i0)]) /
                             (len[static_cast<size_t>(i1)] - len[static_cast<size_t>(i0)]);
        p[k] = p0 + Truncate(ratio * span);
    }
    if (i0 >= 0 && i0 <= m) p[static_cast<size_t>(i0)] = p0;
    if (i1 >= 0 && i1 <= m) p[static_cast<size_t>(i1)] = p1;
}

bool Usable(const TTrackData& t) {
    const auto n = static_cast<size_t>(t.pointCount) + 1;
    return t.pointCount > 0 && t.pointPositions.size() == n && t.edgeX[0].size() >= n &&
           t.edgeX[1].size() >= n && t.edgeY[0].size() >= n && t.edgeY[1].size() >= n;
}

}  // namespace

void PrepareGeometry(TTrackData& track) {
    if (track.pointCount <= 0) return;
    ReleaseGeometry(track);
    const auto m = static_cast<size_t>(track.pointCount);
    const size_t r = Ref(track), o = Oth(track);
    const auto& rx = track.edgeX[r];
    const auto& ry = track.edgeY[r];
    if (rx.size() <= m || ry.size() <= m || track.edgeX[o].size() <= m ||
        track.edgeY[o].size() <= m)
        return;  // edges that do not match the point count: nothing can be derived

    std::vector<double> len(m + 1, 0.0);
    for (size_t i = 1; i <= m; ++i) {
        const int64_t dx = int64_t{rx[i]} - rx[i - 1];
        const int64_t dy = int64_t{ry[i]} - ry[i - 1];
        // The sum of squares is a 32-bit quantity; track data keeps it below 2^31.
        const auto sq = static_cast<int32_t>(static_cast<uint32_t>(dx * dx + dy * dy));
        len[i] = len[i - 1] + std::sqrt(static_cast<double>(sq));
    }

    auto& p = track.pointPositions;
    p.assign(m + 1, 0);
    const auto mi = static_cast<int32_t>(m);
    if (track.anchorCount == 0) {
        Spread(p, len, 0, mi, 0, track.trackLength);
    } else if (track.anchorCount < 0) {
        const auto& a = track.anchorPoints;
        const auto& ap = track.anchorPositions;
        const size_t n =
            std::min({static_cast<size_t>(-int64_t{track.anchorCount}), a.size(), ap.size()});
        if (n == 0) {
            Spread(p, len, 0, mi, 0, track.trackLength);
        } else {
            Spread(p, len, 0, a[0], 0, ap[0]);
            for (size_t j = 1; j < n; ++j) Spread(p, len, a[j - 1], a[j], ap[j - 1], ap[j]);
            Spread(p, len, a[n - 1], mi, ap[n - 1], track.trackLength);
        }
    } else {
        const auto& ap = track.anchorPositions;
        for (size_t i = 0; i < m && i < ap.size(); ++i) p[i] = ap[i];
    }
    p[m] = track.trackLength;

    // SegmentAt looks for the first s with P[s+1] >= a; a running maximum of P[1..]
    // turns that into a binary search with the same answer, whatever the order of P.
    auto& pm = track.pointPositionPrefixMax;
    pm.resize(m);
    for (size_t s = 0; s < m; ++s) pm[s] = s == 0 ? p[1] : std::max(pm[s - 1], p[s + 1]);

    track.segMinX.resize(m);
    track.segMinY.resize(m);
    track.segMaxX.resize(m);
    track.segMaxY.resize(m);
    const auto& ox = track.edgeX[o];
    const auto& oy = track.edgeY[o];
    for (size_t s = 0; s < m; ++s) {
        track.segMinX[s] = std::min({rx[s], rx[s + 1], ox[s], ox[s + 1]});
        track.segMaxX[s] = std::max({rx[s], rx[s + 1], ox[s], ox[s + 1]});
        track.segMinY[s] = std::min({ry[s], ry[s + 1], oy[s], oy[s + 1]});
        track.segMaxY[s] = std::max({ry[s], ry[s + 1], oy[s], oy[s + 1]});
    }
}

void ReleaseGeometry(TTrackData& track) {
    if (track.pointCount == 0) return;
    std::vector<int32_t>().swap(track.pointPositions);
    std::vector<int32_t>().swap(track.pointPositionPrefixMax);
    std::vector<int32_t>().swap(track.segMinX);
    std::vector<int32_t>().swap(track.segMinY);
    std::vector<int32_t>().swap(track.segMaxX);
    std::vector<int32_t>().swap(track.segMaxY);
}

SegmentFraction SegmentAt(const TTrackData& track, int32_t position) {
    if (position < 0 || position > track.trackLength || !Usable(track)) return {};
    const auto& p = track.pointPositions;
    const auto& pm = track.pointPositionPrefixMax;
    // pm's last entry is at least P[M] = trackLength >= position, so this always lands.
    const auto s =
        static_cast<size_t>(std::lower_bound(pm.begin(), pm.end(), position) - pm.begin());
    SegmentFraction out;
    out.segment = static_cast<int32_t>(s);
    const double span = static_cast<double>(p[s + 1]) - p[s];
    // Two point pairs at the same position give no fraction; the segment's start it is.
    out.fraction = span == 0 ? 0.0 : (static_cast<double>(position) - p[s]) / span;
    return out;
}

double TrackWidthAt(const TTrackData& track, double position) {
    if (!Usable(track)) return WidthValue(track, 0);
    return WidthAt(track, SegmentAt(track, Truncate(position)));
}

EdgePoints EdgePointsAt(const TTrackData& track, int32_t position) {
    if (!Usable(track)) return {};
    const SegmentFraction sf = SegmentAt(track, position);
    const auto s = static_cast<size_t>(sf.segment);
    const double f = sf.fraction;
    auto at = [&](size_t e) {
        const auto& xs = track.edgeX[e];
        const auto& ys = track.edgeY[e];
        return TrackPoint{Truncate(xs[s] * (1 - f) + f * xs[s + 1]),
                          Truncate(ys[s] * (1 - f) + f * ys[s + 1])};
    };
    return EdgePoints{at(Ref(track)), at(Oth(track))};
}

TrackPoint WorldPointAt(const TTrackData& track, int32_t position, int32_t lateral) {
    if (!Usable(track)) return {};
    const SegmentFraction sf = SegmentAt(track, position);
    const auto s = static_cast<size_t>(sf.segment);
    const double f = sf.fraction;
    const size_t r = Ref(track), o = Oth(track);
    const double rx = track.edgeX[r][s] * (1 - f) + track.edgeX[r][s + 1] * f;
    const double ry = track.edgeY[r][s] * (1 - f) + track.edgeY[r][s + 1] * f;
    const double ox = track.edgeX[o][s] * (1 - f) + track.edgeX[o][s + 1] * f;
    const double oy = track.edgeY[o][s] * (1 - f) + track.edgeY[o][s + 1] * f;
    const double across = std::sqrt((ox - rx) * (ox - rx) + (oy - ry) * (oy - ry));
    // Edges that touch leave no direction across the track: the point is the edge point.
    const double d = across == 0 ? 0.0 : (lateral - WidthAt(track, sf)) / across;
    const double k = track.sideFlag != 0 ? d : -d;
    return TrackPoint{Truncate(rx * (1 - k) + ox * k), Truncate(ry * (1 - k) + oy * k)};
}

LocatedPoint LocatePoint(const TTrackData& track, int32_t x, int32_t y) {
    if (!Usable(track) || track.segMinX.size() != static_cast<size_t>(track.pointCount)) return {};
    const size_t r = Ref(track), o = Oth(track);
    const auto& Rx = track.edgeX[r];
    const auto& Ry = track.edgeY[r];
    const auto& Ox = track.edgeX[o];
    const auto& Oy = track.edgeY[o];
    const auto& P = track.pointPositions;
    const size_t m = track.segMinX.size();
    for (size_t s = 0; s < m; ++s) {
        if (x < track.segMinX[s] || x > track.segMaxX[s] || y < track.segMinY[s] ||
            y > track.segMaxY[s])
            continue;
        const double drx = static_cast<double>(Rx[s + 1]) - Rx[s];
        const double dry = static_cast<double>(Ry[s + 1]) - Ry[s];
        const double ex = (static_cast<double>(Ox[s + 1]) - Ox[s]) - drx;
        const double ey = (static_cast<double>(Oy[s + 1]) - Oy[s]) - dry;
        const double px = static_cast<double>(x) - Rx[s];
        const double py = static_cast<double>(y) - Ry[s];
        const double fx = static_cast<double>(Rx[s]) - Ox[s];
        const double fy = static_cast<double>(Ry[s]) - Oy[s];
        const double I = ey * fx - ex * fy;
        const double H = ey * px - ex * py + dry * fx - drx * fy;
        const double J = dry * px - drx * py;
        const double K = H * H - 4 * I * J;
        if (!(K >= 0)) continue;
        double candidates[2];
        if (I != 0) {
            candidates[0] = (std::sqrt(K) - H) / (2 * I);
            candidates[1] = (-H - std::sqrt(K)) / (2 * I);
        } else if (H != 0) {
            candidates[0] = candidates[1] = -J / H;
        } else {
            // No quadratic and no linear term: the segment is degenerate (its edges are
            // parallel copies of one line through the point, or a single point) and
            // gives no position, rather than one from a division by zero.
            continue;
        }
        for (const double u : candidates) {
            if (!(u >= 0 && u < 1)) continue;
            double v = -1;
            if (drx + ex * u != 0)
                v = (px + fx * u) / (drx + ex * u);
            else if (dry + ey * u != 0)
                v = (py + fy * u) / (dry + ey * u);
            if (!(v >= 0 && v < 1)) continue;
            const double position = P[s] + v * (static_cast<double>(P[s + 1]) - P[s]);
            const double acrossX = -fx + v * ex;
            const double acrossY = -fy + v * ey;
            const double lateral = u * std::sqrt(acrossX * acrossX + acrossY * acrossY);
            LocatedPoint out;
            out.found = true;
            out.positionFeet = position * track.inchesPerUnit / 12;
            out.lateralFeet = lateral * track.inchesPerUnit / 12;
            return out;
        }
    }
    return {};
}
