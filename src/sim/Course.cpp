#include "sim/Course.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace sim {

namespace {

constexpr double kMinWidthFeet = 1.0;

// Places the points between two known ones in proportion to the reference edge's length,
// as the track geometry does, so that recorded positions agree with the map.
void Spread(std::vector<double>& p, const std::vector<double>& len, int32_t i0, int32_t i1,
            double p0, double p1) {
    const double span = len[static_cast<size_t>(i1)] - len[static_cast<size_t>(i0)];
    for (int32_t i = i0 + 1; i < i1; ++i) {
        const double share =
            span > 0 ? (len[static_cast<size_t>(i)] - len[static_cast<size_t>(i0)]) / span : 0;
        p[static_cast<size_t>(i)] = p0 + std::trunc(share * (p1 - p0));
    }
    p[static_cast<size_t>(i0)] = p0;
    p[static_cast<size_t>(i1)] = p1;
}

bool FromGeometry(const TTrackData& t, Course& c) {
    const int32_t m = t.pointCount;
    if (m < 3 || (t.sideFlag != 0 && t.sideFlag != 1)) return false;
    const size_t n = static_cast<size_t>(m) + 1;
    for (int e = 0; e < 2; ++e)
        if (t.edgeX[static_cast<size_t>(e)].size() < n ||
            t.edgeY[static_cast<size_t>(e)].size() < n)
            return false;
    const size_t ref = static_cast<size_t>(t.sideFlag);
    const size_t oth = 1 - ref;
    c.rx.resize(n);
    c.ry.resize(n);
    c.ox.resize(n);
    c.oy.resize(n);
    for (size_t i = 0; i < n; ++i) {
        c.rx[i] = t.edgeX[ref][i] * c.feetPerUnit;
        c.ry[i] = t.edgeY[ref][i] * c.feetPerUnit;
        c.ox[i] = t.edgeX[oth][i] * c.feetPerUnit;
        c.oy[i] = t.edgeY[oth][i] * c.feetPerUnit;
        if (std::hypot(c.ox[i] - c.rx[i], c.oy[i] - c.ry[i]) < kMinWidthFeet) return false;
    }

    std::vector<double> len(n, 0.0);
    for (size_t i = 1; i < n; ++i)
        len[i] =
            len[i - 1] + std::hypot(static_cast<double>(t.edgeX[ref][i]) - t.edgeX[ref][i - 1],
                                    static_cast<double>(t.edgeY[ref][i]) - t.edgeY[ref][i - 1]);
    c.positions.assign(n, 0.0);
    const int32_t na = t.anchorCount;
    if (na == 0) {
        Spread(c.positions, len, 0, m, 0, t.trackLength);
    } else if (na < 0) {
        const size_t q = static_cast<size_t>(-static_cast<int64_t>(na));
        if (t.anchorPoints.size() < q || t.anchorPositions.size() < q) return false;
        int32_t prevPoint = 0;
        double prevPos = 0;
        for (size_t j = 0; j < q; ++j) {
            const int32_t a = t.anchorPoints[j];
            if (a < prevPoint || a > m) return false;
            Spread(c.positions, len, prevPoint, a, prevPos, t.anchorPositions[j]);
            prevPoint = a;
            prevPos = t.anchorPositions[j];
        }
        Spread(c.positions, len, prevPoint, m, prevPos, t.trackLength);
    } else {
        if (t.anchorPositions.size() < static_cast<size_t>(m)) return false;
        for (size_t i = 0; i < static_cast<size_t>(m); ++i) c.positions[i] = t.anchorPositions[i];
        c.positions[static_cast<size_t>(m)] = t.trackLength;
    }
    // A car's recorded position must grow steadily round the lap.
    for (size_t i = 1; i < n; ++i)
        if (c.positions[i] < c.positions[i - 1]) return false;
    if (c.positions[0] < 0 || c.positions[n - 1] <= c.positions[0]) return false;

    c.widthValues.assign(n, static_cast<double>(t.constantWidth));
    if (t.widthCount != 0) {
        if (t.widths.empty()) return false;
        for (size_t i = 0; i < n; ++i)
            c.widthValues[i] = t.widths[std::min(i, t.widths.size() - 1)];
    }
    c.sideSign = t.sideFlag != 0 ? 1.0 : -1.0;
    c.gripFactor = 1.0;
    c.synthetic = false;
    return true;
}

// A banked oval whose inner (reference) edge is one lap long: two straights and two
// half circles of equal length, 50 feet wide (narrower on very short tracks). The line
// lies in the middle of the front straight; the cars run counter-clockwise.
void LayOutOval(const TTrackData& t, Course& c) {
    const double lapFeet = t.trackLength * c.feetPerUnit;
    const double straight = lapFeet * 0.25;
    const double radius = lapFeet * 0.25 / std::numbers::pi;
    const double turn = std::numbers::pi * radius;
    const double width = std::min(50.0, radius / 3.0);
    constexpr int32_t m = 240;
    c.rx.clear();
    c.ry.clear();
    c.ox.clear();
    c.oy.clear();
    for (int32_t i = 0; i <= m; ++i) {
        double u = lapFeet * (i % m) / m;
        double x = 0, y = 0, nx = 0, ny = -1;  // inner point and outward normal
        if (u < straight / 2) {
            x = u;
            y = -radius;
        } else if ((u -= straight / 2) < turn) {
            const double a = -std::numbers::pi / 2 + u / radius;
            nx = std::cos(a);
            ny = std::sin(a);
            x = straight / 2 + radius * nx;
            y = radius * ny;
        } else if ((u -= turn) < straight) {
            x = straight / 2 - u;
            y = radius;
            nx = 0;
            ny = 1;
        } else if ((u -= straight) < turn) {
            const double a = std::numbers::pi / 2 + u / radius;
            nx = std::cos(a);
            ny = std::sin(a);
            x = -straight / 2 + radius * nx;
            y = radius * ny;
        } else {
            x = -straight / 2 + (u - turn);
            y = -radius;
        }
        c.rx.push_back(x);
        c.ry.push_back(y);
        c.ox.push_back(x + nx * width);
        c.oy.push_back(y + ny * width);
    }
    const size_t n = static_cast<size_t>(m) + 1;
    std::vector<double> len(n, 0.0);
    for (size_t i = 1; i < n; ++i)
        len[i] = len[i - 1] + std::hypot(c.rx[i] - c.rx[i - 1], c.ry[i] - c.ry[i - 1]);
    c.positions.assign(n, 0.0);
    Spread(c.positions, len, 0, m, 0, t.trackLength);
    c.widthValues.assign(n, 0.0);  // lateral offsets measured from the inner wall
    c.sideSign = 1.0;
    c.gripFactor = 1.5;
    c.synthetic = true;
}

}  // namespace

Course BuildCourse(const TTrackData& track) {
    Course c;
    c.trackLength = track.trackLength;
    c.feetPerUnit = track.inchesPerUnit / 12.0;
    if (!track.hasGeometry() || !FromGeometry(track, c)) LayOutOval(track, c);
    return c;
}

std::vector<double> RacingLineFractions(const Course& c, double marginFeet) {
    const int32_t m = c.segmentCount();
    const size_t n = static_cast<size_t>(m);
    std::vector<double> k(n, 0.5), lo(n), hi(n), wx(n), wy(n), w2(n);
    for (size_t i = 0; i < n; ++i) {
        wx[i] = c.ox[i] - c.rx[i];
        wy[i] = c.oy[i] - c.ry[i];
        w2[i] = wx[i] * wx[i] + wy[i] * wy[i];
        const double margin = std::min(0.4, marginFeet / std::sqrt(w2[i]));
        lo[i] = margin;
        hi[i] = 1 - margin;
    }
    auto px = [&](size_t i) { return c.rx[i] + k[i] * wx[i]; };
    auto py = [&](size_t i) { return c.ry[i] + k[i] * wy[i]; };
    // Each point moves to where the bend through it and its neighbours is least (the
    // minimum of the squared second differences), coarse strides first so that long
    // corners settle without thousands of sweeps; the clamp keeps the line on the track.
    for (int32_t stride = 32; stride >= 1; stride /= 2) {
        const size_t h = static_cast<size_t>(stride);
        if (h * 5 > n) continue;
        for (int32_t sweep = 0; sweep < 150; ++sweep) {
            for (size_t i = 0; i < n; ++i) {
                const size_t a2 = (i + n - 2 * h) % n, a1 = (i + n - h) % n;
                const size_t b1 = (i + h) % n, b2 = (i + 2 * h) % n;
                const double tx = (-px(a2) + 4 * px(a1) + 4 * px(b1) - px(b2)) / 6;
                const double ty = (-py(a2) + 4 * py(a1) + 4 * py(b1) - py(b2)) / 6;
                const double target = ((tx - c.rx[i]) * wx[i] + (ty - c.ry[i]) * wy[i]) / w2[i];
                k[i] = std::clamp(k[i] + 0.5 * (target - k[i]), lo[i], hi[i]);
            }
        }
    }
    k.push_back(k.front());
    return k;
}

DrivingLine BuildDrivingLine(const Course& c, const std::vector<double>& fractions,
                             double spacingFeet) {
    struct Dense {
        double s, position, lateral, x, y, ux, uy;
    };
    const int32_t m = c.segmentCount();
    std::vector<Dense> dense;
    auto at = [&](int32_t seg, double f) {
        const size_t a = static_cast<size_t>(seg), b = a + 1;
        const double k = fractions[a] * (1 - f) + fractions[b] * f;
        const double rx = c.rx[a] * (1 - f) + c.rx[b] * f, ry = c.ry[a] * (1 - f) + c.ry[b] * f;
        const double ox = c.ox[a] * (1 - f) + c.ox[b] * f, oy = c.oy[a] * (1 - f) + c.oy[b] * f;
        const double across = std::hypot(ox - rx, oy - ry);
        Dense d{};
        d.position = c.positions[a] + f * (c.positions[b] - c.positions[a]);
        const double width = c.widthValues[a] * (1 - f) + c.widthValues[b] * f;
        d.lateral = width + c.sideSign * k * across / c.feetPerUnit;
        d.x = rx + k * (ox - rx);
        d.y = ry + k * (oy - ry);
        d.ux = c.sideSign * (ox - rx) / across;
        d.uy = c.sideSign * (oy - ry) / across;
        return d;
    };
    for (int32_t seg = 0; seg < m; ++seg) {
        const Dense a = at(seg, 0), b = at(seg, 1);
        const double len = std::hypot(b.x - a.x, b.y - a.y);
        const int32_t pieces =
            std::max(1, static_cast<int32_t>(std::ceil(len / (spacingFeet * 0.5))));
        for (int32_t i = 0; i < pieces; ++i)
            dense.push_back(at(seg, static_cast<double>(i) / pieces));
    }
    dense.push_back(at(m - 1, 1));
    dense[0].s = 0;
    for (size_t i = 1; i < dense.size(); ++i)
        dense[i].s =
            dense[i - 1].s + std::hypot(dense[i].x - dense[i - 1].x, dense[i].y - dense[i - 1].y);

    DrivingLine line;
    line.length = dense.back().s;
    const int32_t count =
        std::max(16, static_cast<int32_t>(std::lround(line.length / spacingFeet)));
    line.spacing = line.length / count;
    line.stations.resize(static_cast<size_t>(count) + 1);
    size_t d = 0;
    for (int32_t j = 0; j <= count; ++j) {
        const double s = j == count ? line.length : j * line.spacing;
        while (d + 2 < dense.size() && dense[d + 1].s <= s) ++d;
        const Dense& a = dense[d];
        const Dense& b = dense[d + 1];
        const double f = b.s > a.s ? std::clamp((s - a.s) / (b.s - a.s), 0.0, 1.0) : 0.0;
        Station& st = line.stations[static_cast<size_t>(j)];
        st.position = a.position + f * (b.position - a.position);
        st.lateral = a.lateral + f * (b.lateral - a.lateral);
        st.x = a.x + f * (b.x - a.x);
        st.y = a.y + f * (b.y - a.y);
        st.lateralUnitX = a.ux + f * (b.ux - a.ux);
        st.lateralUnitY = a.uy + f * (b.uy - a.uy);
    }
    line.stations[static_cast<size_t>(count)].position = c.trackLength;

    // Curvature from the circle through stations about 20 feet either side, then averaged
    // over some 60 feet: the edges are polylines, and their corners must not read as kinks.
    const size_t n = static_cast<size_t>(count);
    const size_t reach = std::max<size_t>(1, static_cast<size_t>(std::lround(20.0 / line.spacing)));
    std::vector<double> raw(n);
    for (size_t j = 0; j < n; ++j) {
        const Station& a = line.stations[(j + n - reach) % n];
        const Station& b = line.stations[j];
        const Station& e = line.stations[(j + reach) % n];
        const double abx = b.x - a.x, aby = b.y - a.y, bex = e.x - b.x, bey = e.y - b.y;
        const double cross = abx * bey - aby * bex;
        const double denom =
            std::hypot(abx, aby) * std::hypot(bex, bey) * std::hypot(e.x - a.x, e.y - a.y);
        const double left = denom > 0 ? 2 * cross / denom : 0;  // positive: turning left
        // The left normal of the direction of travel, against the lateral direction.
        const double tx = e.x - a.x, ty = e.y - a.y, tl = std::hypot(tx, ty);
        const double side = tl > 0 ? (-ty * b.lateralUnitX + tx * b.lateralUnitY) / tl : 0;
        raw[j] = left * side;
    }
    const size_t half = std::max<size_t>(1, static_cast<size_t>(std::lround(30.0 / line.spacing)));
    line.curvature.assign(n + 1, 0.0);
    double sum = 0;
    for (size_t k = 0; k <= 2 * half; ++k) sum += raw[(k + n * 4 - half) % n];
    for (size_t j = 0; j < n; ++j) {
        line.curvature[j] = sum / static_cast<double>(2 * half + 1);
        sum += raw[(j + half + 1) % n] - raw[(j + n * 4 - half) % n];
    }
    line.curvature[n] = line.curvature[0];

    // Rates over the same 20 feet either side, so that the kinks of the edge polylines
    // do not show as jumps in speed along the track.
    line.positionRate.assign(n + 1, 0.0);
    line.lateralRate.assign(n + 1, 0.0);
    const double lapUnits = c.trackLength;
    for (size_t j = 0; j < n; ++j) {
        const size_t a = (j + n - reach) % n, b = (j + reach) % n;
        double posDiff = line.stations[b].position - line.stations[a].position;
        if (posDiff < -lapUnits / 2) posDiff += lapUnits;  // across the line
        if (posDiff > lapUnits / 2) posDiff -= lapUnits;
        const double span = 2.0 * static_cast<double>(reach) * line.spacing;
        line.positionRate[j] = posDiff / span;
        line.lateralRate[j] = (line.stations[b].lateral - line.stations[a].lateral) / span;
    }
    line.positionRate[n] = line.positionRate[0];
    line.lateralRate[n] = line.lateralRate[0];
    return line;
}

}  // namespace sim
