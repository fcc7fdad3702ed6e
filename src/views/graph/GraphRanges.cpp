#include "views/graph/GraphRanges.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "commands/Document.h"
#include "commands/LapVisibility.h"

namespace {

void WithMargin(const ChannelRange& e, TelemetryChannel channel, double& lo, double& hi) {
    const double span = e.Max(channel) - e.Min(channel);
    lo = e.Min(channel) - 0.05 * span;
    hi = e.Max(channel) + 0.05 * span;
}

void Widen(double& lo, double& hi) {
    if (hi - lo < 0.02) {
        lo -= 0.01;
        hi += 0.01;
    }
}

}  // namespace

void ResetGraphRanges(const TDocument& doc, TGraphViewState& graph) {
    ResetGraphRanges(doc.extents(), GraphAxesOf(doc), graph);
}

void ResetGraphRanges(const TDocument& doc, TViewState& view) {
    ResetGraphRanges(ShownExtents(doc, view), GraphAxesOf(doc), view.graph);
}

void ResetGraphRanges(const ChannelRange& e, const TGraphAxes& a, TGraphViewState& graph) {
    TAxisRanges r;
    r.x.min = e.Min(a.x);
    r.x.max = e.Max(a.x);
    WithMargin(e, a.y, r.y.min, r.y.max);
    if (a.HasSecond()) WithMargin(e, a.y2, r.y2.min, r.y2.max);
    Widen(r.y.min, r.y.max);
    Widen(r.y2.min, r.y2.max);
    graph.fullRange = r;
    graph.viewRange = r;
}

bool GraphZoomed(const TGraphViewState& graph) {
    // The second axis is not counted.
    const TAxisRanges& v = graph.viewRange;
    const TAxisRanges& f = graph.fullRange;
    return !(v.x == f.x) || !(v.y == f.y);
}

namespace {
void ZoomOutRange(TRange& view, const TRange& full) {
    const double lo = view.min, hi = view.max;
    const double mid = (lo + hi) / 2, s = hi - lo;
    view.min = std::max(full.min, mid - s);
    view.max = std::min(full.max, mid + s);
}
}  // namespace

void ZoomOutRanges(TGraphViewState& graph) {
    ZoomOutRange(graph.viewRange.x, graph.fullRange.x);
    ZoomOutRange(graph.viewRange.y, graph.fullRange.y);
    ZoomOutRange(graph.viewRange.y2, graph.fullRange.y2);
}

bool ZoomToRect(TGraphViewState& graph, int anchorX, int anchorY, int x, int y,
                const TGraphGeometry& g) {
    if (y == anchorY) return false;  // also refuses the click at the anchor
    TAxisRanges& v = graph.viewRange;
    const TAxisRanges old = v;
    const double P = g.W - g.E - 80;
    if (!(P > 0) || g.H - 80 <= 0) return false;

    const double e = 0.001 * (graph.fullRange.x.max - graph.fullRange.x.min);
    const double xs = old.x.max - old.x.min;
    const double span = std::max(e, xs * std::abs(x - anchorX) / P);
    v.x.min = xs * (std::min(x, anchorX) - 60) / P + old.x.min;
    v.x.max = v.x.min + span;

    const double fa = double(anchorY - 40) / (g.H - 80);
    const double fb = double(y - 40) / (g.H - 80);
    const double lo = std::min(fa, fb), hi = std::max(fa, fb);
    const double ys = old.y.max - old.y.min;
    if (!g.second) {
        v.y.max = old.y.max - ys * lo;
        v.y.min = old.y.max - ys * hi;
    } else {
        const double r = (0.5 - lo) / (hi - lo);
        if (r > 0.5) {
            const double lo2 = 2 * lo, hi2 = std::min(2 * hi, 1.0);
            v.y.max = old.y.max - ys * lo2;
            v.y.min = old.y.max - ys * hi2;
        } else {
            const double lo2 = std::max(0.0, 2 * (lo - 0.5)), hi2 = 2 * (hi - 0.5);
            const double y2s = old.y2.max - old.y2.min;
            v.y2.max = old.y2.max - y2s * lo2;
            v.y2.min = old.y2.max - y2s * hi2;
        }
    }
    return true;
}

bool ZoomRangeAbout(TRange& view, const TRange& full, double f, double factor, double minSpan) {
    const TRange old = view;
    const double span = old.max - old.min, fullSpan = full.max - full.min;
    if (!(factor > 0) || !(span > 0) || !(fullSpan > 0)) return false;
    f = std::clamp(f, 0.0, 1.0);
    if (factor > 1 && span <= minSpan) return false;  // already as narrow as it may be
    double newSpan = span / factor;
    if (newSpan >= fullSpan) {
        view = full;
        return !(view == old);
    }
    newSpan = std::max(newSpan, std::min(minSpan, fullSpan));
    const double value = old.min + f * span;
    TRange r{value - f * newSpan, 0};
    r.max = r.min + newSpan;
    if (r.min < full.min) {
        r.min = full.min;
        r.max = r.min + newSpan;
    }
    if (r.max > full.max) {
        r.max = full.max;
        r.min = r.max - newSpan;
    }
    view = r;
    return !(view == old);
}

bool WheelZoomX(TGraphViewState& graph, int x, double notches, const TGraphGeometry& g) {
    const double P = g.W - g.E - 80;
    if (!(P > 0)) return false;
    const TRange& full = graph.fullRange.x;
    return ZoomRangeAbout(graph.viewRange.x, full, (x - 60) / P,
                          std::pow(kWheelZoomFactor, notches), 0.001 * (full.max - full.min));
}

bool WheelZoomY(TGraphViewState& graph, int y, double notches, const TGraphGeometry& g) {
    const double S = g.H - 80;
    if (!(S > 0)) return false;
    const double factor = std::pow(kWheelZoomFactor, notches);
    // Fraction of the plot height from the top; with a second y-axis each axis owns a half.
    double t = std::clamp((y - 40) / S, 0.0, 1.0);
    bool second = false;
    if (g.second) {
        second = t > 0.5;
        t = second ? 2 * t - 1 : 2 * t;
    }
    TRange& view = second ? graph.viewRange.y2 : graph.viewRange.y;
    const TRange& full = second ? graph.fullRange.y2 : graph.fullRange.y;
    return ZoomRangeAbout(view, full, 1 - t, factor, 0.001 * (full.max - full.min));
}

bool PanX(TGraphViewState& graph, const TRange& from, int dx, const TGraphGeometry& g) {
    const double P = g.W - g.E - 80;
    const TRange& full = graph.fullRange.x;
    const double span = from.max - from.min;
    if (!(P > 0) || !(span > 0)) return false;
    const TRange old = graph.viewRange.x;
    TRange r = from;
    const double shift = -dx * span / P;
    r.min += shift;
    r.max += shift;
    if (r.min < full.min) {
        r.min = full.min;
        r.max = std::min(full.max, r.min + span);
    } else if (r.max > full.max) {
        r.max = full.max;
        r.min = std::max(full.min, r.max - span);
    }
    graph.viewRange.x = r;
    return !(graph.viewRange.x == old);
}

void KeepZoomWithin(TGraphViewState& graph, const TAxisRanges& previous,
                    const TAxisRanges& previousFull) {
    auto keep = [](TRange& view, const TRange& full, const TRange& was, const TRange& wasFull) {
        if (was == wasFull) return;  // not zoomed: the new full range is what it showed
        if (was.min >= full.min && was.max <= full.max && was.min < was.max) view = was;
    };
    keep(graph.viewRange.x, graph.fullRange.x, previous.x, previousFull.x);
    keep(graph.viewRange.y, graph.fullRange.y, previous.y, previousFull.y);
    keep(graph.viewRange.y2, graph.fullRange.y2, previous.y2, previousFull.y2);
}
