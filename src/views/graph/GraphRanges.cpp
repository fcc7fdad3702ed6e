#include "views/graph/GraphRanges.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "commands/DocumentState.h"

namespace {

void WithMargin(const ChannelRange& e, int channel, double& lo, double& hi) {
    const double span = e.maximum[channel] - e.minimum[channel];
    lo = e.minimum[channel] - 0.05 * span;
    hi = e.maximum[channel] + 0.05 * span;
}

void Widen(double& lo, double& hi) {
    if (hi - lo < 0.02) {
        lo -= 0.01;
        hi += 0.01;
    }
}

}  // namespace

void ResetGraphRanges(TDocumentState& doc) {
    const TGraphAxes a = GraphAxesOf(doc);
    const ChannelRange& e = doc.extents;
    std::array<double, 6> r{};
    r[0] = e.minimum[a.x];
    r[1] = e.maximum[a.x];
    WithMargin(e, a.y, r[2], r[3]);
    if (a.HasSecond()) WithMargin(e, a.y2, r[4], r[5]);
    Widen(r[2], r[3]);
    Widen(r[4], r[5]);
    doc.fullRange = r;
    doc.viewRange = r;
}

bool GraphZoomed(const TDocumentState& doc) {
    for (int i = 0; i < 4; ++i)
        if (doc.viewRange[i] != doc.fullRange[i]) return true;
    return false;
}

void ZoomOutRanges(TDocumentState& doc) {
    for (int i = 0; i < 6; i += 2) {
        const double lo = doc.viewRange[i], hi = doc.viewRange[i + 1];
        const double mid = (lo + hi) / 2, s = hi - lo;
        doc.viewRange[i] = std::max(doc.fullRange[i], mid - s);
        doc.viewRange[i + 1] = std::min(doc.fullRange[i + 1], mid + s);
    }
}

bool ZoomToRect(TDocumentState& doc, int anchorX, int anchorY, int x, int y,
                const TGraphGeometry& g) {
    if (y == anchorY) return false;  // also refuses the click at the anchor
    std::array<double, 6>& v = doc.viewRange;
    const std::array<double, 6> old = v;
    const double P = g.W - g.E - 80;
    if (!(P > 0) || g.H - 80 <= 0) return false;

    const double e = 0.001 * (doc.fullRange[1] - doc.fullRange[0]);
    const double xs = old[1] - old[0];
    const double span = std::max(e, xs * std::abs(x - anchorX) / P);
    v[0] = xs * (std::min(x, anchorX) - 60) / P + old[0];
    v[1] = v[0] + span;

    const double fa = double(anchorY - 40) / (g.H - 80);
    const double fb = double(y - 40) / (g.H - 80);
    const double lo = std::min(fa, fb), hi = std::max(fa, fb);
    const double ys = old[3] - old[2];
    if (!g.second) {
        v[3] = old[3] - ys * lo;
        v[2] = old[3] - ys * hi;
    } else {
        const double r = (0.5 - lo) / (hi - lo);
        if (r > 0.5) {
            const double lo2 = 2 * lo, hi2 = std::min(2 * hi, 1.0);
            v[3] = old[3] - ys * lo2;
            v[2] = old[3] - ys * hi2;
        } else {
            const double lo2 = std::max(0.0, 2 * (lo - 0.5)), hi2 = 2 * (hi - 0.5);
            const double y2s = old[5] - old[4];
            v[5] = old[5] - y2s * lo2;
            v[4] = old[5] - y2s * hi2;
        }
    }
    return true;
}
