#include "views/graph/DeltaStrip.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <system_error>
#include <thread>

#include "analysis/LapAnalysis.h"
#include "channels/Channels.h"
#include "commands/Document.h"
#include "commands/LapVisibility.h"
#include "views/LapNameText.h"
#include "views/graph/GraphCurves.h"

namespace {

const QColor kZeroLine(192, 192, 192);

// Runs body(lap) for every lap index, on up to the machine's cores; each lap is touched by
// one thread only. Without threads to be had, all of it runs here.
template <typename Body>
void ForEachLap(int count, Body body) {
    const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    const int workers = count >= 4 ? std::min(cores, 8) : 1;
    auto walk = [&](int begin) {
        for (int n = begin; n < count; n += workers) body(n);
    };
    std::vector<std::thread> helpers;
    try {
        for (int w = 1; w < workers; ++w) helpers.emplace_back(walk, w);
    } catch (const std::system_error&) {
        for (std::thread& t : helpers) t.join();
        for (int n = 0; n < count; ++n) body(n);
        return;
    }
    walk(0);
    for (std::thread& t : helpers) t.join();
}

}  // namespace

int DeltaStripHeight(int clientHeight) {
    const int h = std::clamp(clientHeight / 4, 80, 240);
    return clientHeight - h >= 240 ? h : 0;
}

bool DeltaStripShown(const TDocument& doc, const TViewState& view, const TTrackData* track) {
    return view.analysis.deltaShown && GraphAxesOf(doc).x == TelemetryChannel::Position &&
           track != nullptr &&
           ReferenceLap(doc.laps().Pointers(), view.analysis.referenceSerial) >= 0;
}

TDeltaStripGeometry DeltaStripGeometry(const TGraphGeometry& graph, int stripTop, int stripHeight) {
    TDeltaStripGeometry g;
    g.top = stripTop;
    g.bottom = stripTop + stripHeight;
    g.left = graph.left;
    g.right = graph.right;
    g.plotTop = stripTop + 10;
    g.plotBottom = g.bottom - 20;
    g.plotWidth = graph.plotWidth;
    return g;
}

int DeltaRow(double delta, const TDeltaCurves& scale, const TDeltaStripGeometry& g) {
    const double span = g.plotBottom - g.plotTop;
    return TruncRow((scale.high - delta) / (scale.high - scale.low) * span + g.plotTop);
}

void ScaleDeltaCurves(TDeltaCurves& curves, double lowest, double highest) {
    // Zero is always on the strip, so that gains and losses read at a glance.
    double low = std::isfinite(lowest) ? std::min(0.0, lowest) : 0.0;
    double high = std::isfinite(highest) ? std::max(0.0, highest) : 0.0;
    const double margin = (high - low) * 0.05;
    low -= margin;
    high += margin;
    if (high - low < 0.02) {
        const double widen = (0.02 - (high - low)) / 2;
        low -= widen;
        high += widen;
    }
    if (!std::isfinite(low) || !std::isfinite(high)) low = -0.01, high = 0.01;
    curves.low = low;
    curves.high = high;
}

QString DeltaStripTitle(TDeltaMode mode) {
    return mode == TDeltaMode::Rate ? QStringLiteral("Rate (s/100 ft)")
                                    : QStringLiteral("Delta (s)");
}

TDeltaCurves ComputeDeltaCurves(const TGraphPaintInput& in, int reference) {
    TDeltaCurves out;
    const TLapList& laps = in.doc.laps();
    if (reference < 0 || reference >= laps.Count()) return out;
    const TDeltaMode mode = in.view.analysis.deltaMode;
    const TGraphGeometry g = in.Geometry();
    const TAxisRanges& v = in.view.graph.viewRange;
    const int P = std::max(0, g.plotWidth);
    const double step = P > 0 ? (v.x.max - v.x.min) / P : 0;
    const double none = std::numeric_limits<double>::quiet_NaN();

    // The columns' positions, advancing as the curves' do; the reference lap's times once.
    std::vector<double> columns(static_cast<size_t>(P));
    double x = v.x.min;
    for (int i = 0; i < P; ++i, x += step) columns[size_t(i)] = x;
    const TReplay& ref = laps.At(reference);
    std::vector<double> refTimes(size_t(P), none);
    TimesAtPositions(ref, columns.data(), columns.size(), refTimes.data());
    for (int i = 0; i < P; ++i)
        if (!CoversPosition(ref, columns[size_t(i)])) refTimes[size_t(i)] = none;

    out.deltas.assign(size_t(laps.Count()), {});
    std::vector<double> lowest(size_t(laps.Count()), none), highest(size_t(laps.Count()), none);
    ForEachLap(laps.Count(), [&](int n) {
        const TReplay& lap = laps.At(n);
        // A hidden lap neither draws nor widens the scale; the reference may be hidden and
        // still be what the others are measured against.
        if (LapHidden(in.view, lap.serial)) return;
        std::vector<double>& d = out.deltas[size_t(n)];
        d.assign(size_t(P), none);
        if (mode == TDeltaMode::Rate) {
            // The stretches of DeltaRate, walked with the rising columns: the very same values.
            const auto cols = static_cast<size_t>(P);
            std::vector<double> from(cols), to(cols);
            std::vector<char> valid(cols, 0);
            double lastFrom = v.x.min, lastTo = v.x.min;
            for (int i = 0; i < P; ++i) {
                if (const auto s = DeltaRateStretch(lap, ref, columns[size_t(i)])) {
                    lastFrom = s->from;
                    lastTo = s->to;
                    valid[size_t(i)] = 1;
                }
                from[size_t(i)] = lastFrom;
                to[size_t(i)] = lastTo;
            }
            std::vector<double> lapFrom(cols), lapTo(cols), refFrom(cols), refTo(cols);
            TimesAtPositions(lap, from.data(), from.size(), lapFrom.data());
            TimesAtPositions(lap, to.data(), to.size(), lapTo.data());
            TimesAtPositions(ref, from.data(), from.size(), refFrom.data());
            TimesAtPositions(ref, to.data(), to.size(), refTo.data());
            for (int i = 0; i < P; ++i) {
                if (!valid[size_t(i)]) continue;
                const size_t k = size_t(i);
                d[k] = n == reference ? 0.0
                                      : ((lapTo[k] - refTo[k]) - (lapFrom[k] - refFrom[k])) *
                                            kDeltaRateFeet / (to[k] - from[k]);
            }
        } else {
            TimesAtPositions(lap, columns.data(), columns.size(), d.data());
            for (int i = 0; i < P; ++i) {
                const double rt = refTimes[size_t(i)];
                double& delta = d[size_t(i)];
                if (std::isnan(rt) || !CoversPosition(lap, columns[size_t(i)])) {
                    delta = none;
                    continue;
                }
                delta = n == reference ? 0.0 : delta - rt;
            }
            if (mode == TDeltaMode::FromLeftEdge) {
                // Each curve starts at zero where it starts in the shown range.
                const auto first = std::find_if(d.begin(), d.end(),
                                                [](double value) { return !std::isnan(value); });
                if (first != d.end()) {
                    const double start = *first;
                    for (double& value : d) value -= start;
                }
            }
        }
        for (double value : d) {  // NaN never widens the scale
            if (std::isnan(value)) continue;
            double& lo = lowest[size_t(n)];
            double& hi = highest[size_t(n)];
            if (std::isnan(lo) || value < lo) lo = value;
            if (std::isnan(hi) || value > hi) hi = value;
        }
    });
    double lo = none, hi = none;
    for (size_t n = 0; n < lowest.size(); ++n) {
        if (!std::isnan(lowest[n]) && !(lowest[n] >= lo)) lo = lowest[n];
        if (!std::isnan(highest[n]) && !(highest[n] <= hi)) hi = highest[n];
    }
    ScaleDeltaCurves(out, lo, hi);
    return out;
}

void DrawDeltaStrip(QImage& image, const TGraphPaintInput& in, const TDeltaStripGeometry& g,
                    int reference) {
    const TDeltaCurves curves = ComputeDeltaCurves(in, reference);
    const TGraphFonts fonts = GraphFonts(1, in.dpiY);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(QColor(0, 0, 0), 0));
        p.setBrush(Qt::NoBrush);
        const QPoint corners[4] = {{g.left, g.plotTop},
                                   {g.right, g.plotTop},
                                   {g.right, g.plotBottom},
                                   {g.left, g.plotBottom}};
        p.drawPolygon(corners, 4);

        p.setFont(fonts.f10);
        const QFontMetrics fm(fonts.f10);
        const int h = fm.height();
        const int zero = DeltaRow(0, curves, g);
        DrawTextAt(p, 2, g.plotTop, GraphLabel(curves.high));
        DrawTextAt(p, 2, g.plotBottom - h, GraphLabel(curves.low));
        // Zero's label where it does not run into the ends' labels.
        if (zero - h / 2 >= g.plotTop + h && zero + h / 2 <= g.plotBottom - h)
            DrawTextAt(p, 2, zero - h / 2, GraphLabel(0));
        const QString title = DeltaStripTitle(in.view.analysis.deltaMode);
        DrawTextUp(p, 56 - fonts.h10, (g.plotTop + g.plotBottom + fm.horizontalAdvance(title)) / 2,
                   title);

        p.setPen(QPen(kZeroLine, 0));
        p.drawLine(g.left + 1, zero, g.right - 1, zero);
    }
    // The curves as the graph draws its own: per lap, polylines between the columns where
    // the delta is defined, in document order.
    for (int n = 0; n < static_cast<int>(curves.deltas.size()); ++n) {
        const TReplay& lap = in.doc.laps().At(n);
        const QRgb colour = qRgb(lap.colour.r, lap.colour.g, lap.colour.b);
        const std::vector<double>& d = curves.deltas[size_t(n)];
        QPolygon line;
        auto flush = [&] {
            if (line.size() == 1) line.append(line.back() + QPoint(1, 0));  // a lone point shows
            DrawPolylinePixels(image, line, colour);
            line.clear();
        };
        for (int i = 0; i < static_cast<int>(d.size()); ++i) {
            if (std::isnan(d[size_t(i)])) {
                flush();
                continue;
            }
            line.append(QPoint(g.left + i, DeltaRow(d[size_t(i)], curves, g)));
        }
        flush();
    }
}

QString DeltaReadout(const TDocument& doc, const TViewState& view, int reference, double feet) {
    if (reference < 0 || reference >= doc.laps().Count()) return {};
    const TReplay& ref = doc.laps().At(reference);
    const std::vector<std::string> names = LapDisplayNames(doc.laps().Pointers());
    QString text;
    for (int n = 0; n < doc.laps().Count(); ++n) {
        const TReplay& lap = doc.laps().At(n);
        if (LapHidden(view, lap.serial)) continue;
        const auto delta = TimeDelta(lap, ref, feet);
        if (!delta) continue;
        char buf[64];
        std::snprintf(buf, sizeof buf, " %+.3f", *delta);
        text += text.isEmpty() ? QStringLiteral(", Delta: ") : QStringLiteral(", ");
        text += QString::fromStdString(names[size_t(n)]) + QString::fromLatin1(buf);
    }
    return text;
}
