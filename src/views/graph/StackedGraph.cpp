#include "views/graph/StackedGraph.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

#include "commands/Document.h"
#include "commands/LapVisibility.h"
#include "views/graph/GraphCurves.h"
#include "views/graph/GraphGrid.h"
#include "views/graph/GraphLegend.h"
#include "views/graph/GraphRanges.h"

namespace {

const QColor kZeroLine(192, 192, 192);
const QColor kHighlight(255, 0, 0);

QString Latin(const char* s) {
    return QString::fromLatin1(s);
}

// Frame, ticks or grid, labels, title, unit and zero line of one pane.
void DrawPaneAxes(QPainter& p, const TGraphPaintInput& in, const TStackedPane& pane,
                  const TGraphFonts& fonts, bool last) {
    const TGraphGeometry& g = pane.g;
    const bool track = in.track != nullptr;
    const bool grid = track && in.view.graph.gridShown;
    const TRange& x = in.view.graph.viewRange.x;
    p.setPen(QPen(Qt::black, 0));
    p.setBrush(Qt::NoBrush);
    const QPoint corners[4] = {
        {g.left, g.top}, {g.right, g.top}, {g.right, g.bottom}, {g.left, g.bottom}};
    p.drawPolygon(corners, 4);
    const QFontMetrics fm14(fonts.f14), fm10(fonts.f10);
    const QString name = Latin(ChannelName(pane.channel)), unit = Latin(ChannelUnit(pane.channel));
    const int middle2 = g.top + g.bottom;  // twice the pane's middle row
    if (!grid) {
        for (double b : {0.25, 0.5, 0.75}) {
            const int tx = static_cast<int>(b * g.left + (1 - b) * g.right);
            const int ty = static_cast<int>(b * g.top + (1 - b) * g.bottom);
            p.drawLine(tx, g.top, tx, g.top + 4);
            p.drawLine(tx, g.bottom, tx, g.bottom - 4);
            p.drawLine(g.left, ty, g.left + 4, ty);
            p.drawLine(g.right, ty, g.right - 4, ty);
        }
    }
    if (grid) {
        DrawYGrid(p, pane.y, g.top, g.plotHeight, g.left, g.right, g.top, g.bottom, -1, false,
                  fonts.f10, {}, 1);
        const int xTitle = fm14.horizontalAdvance(Latin(ChannelName(in.Axes().x)));
        DrawXGrid(p, x, g.left, g.right, g.top, g.bottom, last ? g.H - 36 : -1, fonts.f10,
                  {(g.W + 40 - xTitle) / 2 - 4, (g.W + 40 + xTitle) / 2 + 4}, 1);
    } else if (track) {
        p.setFont(fonts.f10);
        const int h = fm10.height();
        for (int i : {0, 1, 3, 4}) {
            const double v = pane.y.max + i * (pane.y.min - pane.y.max) / 4;
            DrawTextAt(p, 2, g.top + ((g.plotHeight - h) * i) / 4, GraphLabel(v));
        }
    }
    p.setPen(Qt::black);
    p.setFont(fonts.f10);
    DrawTextUp(p, 56 - fonts.h10, (middle2 + fm10.horizontalAdvance(unit)) / 2, unit);
    p.setFont(fonts.f14);
    DrawTextUp(p, 56 - fonts.h10 - fonts.h14 - 2, (middle2 + fm14.horizontalAdvance(name)) / 2,
               name);
    if (track && pane.y.min * pane.y.max < 0) {
        TAxisRanges r;
        r.y = pane.y;
        const int row = YRow(0, r, g);
        p.setPen(QPen(kZeroLine, 0));
        p.drawLine(g.left, row, g.right - 1, row);
    }
}

// The x labels, title and unit under the last pane, where the single graph has them.
void DrawXAxis(QPainter& p, const TGraphPaintInput& in, const TGraphGeometry& g,
               const TGraphFonts& fonts) {
    const TRange& x = in.view.graph.viewRange.x;
    const TelemetryChannel channel = in.Axes().x;
    const QFontMetrics fm14(fonts.f14), fm10(fonts.f10);
    const int W = g.W, H = g.H;
    if (in.track != nullptr && !in.view.graph.gridShown) {
        p.setPen(Qt::black);
        p.setFont(fonts.f10);
        const int w = fm10.horizontalAdvance(GraphLabel(x.max));
        for (int i : {0, 1, 3, 4})
            DrawTextAt(p, 60 + ((W - 20 - w - 60) * i) / 4, H - 36,
                       GraphLabel(x.min + i * (x.max - x.min) / 4));
    }
    p.setPen(in.highlighted == TAxisKind::X ? kHighlight : QColor(Qt::black));
    const QString name = Latin(ChannelName(channel)), unit = Latin(ChannelUnit(channel));
    p.setFont(fonts.f14);
    DrawTextAt(p, (W + 40 - fm14.horizontalAdvance(name)) / 2, H - 36, name);
    p.setFont(fonts.f10);
    DrawTextAt(p, (W + 40 - fm10.horizontalAdvance(unit)) / 2, H - 34 + fonts.h14, unit);
}

}  // namespace

TGraphAxes StackedAxes(const TDocument& doc) {
    TGraphAxes a = GraphAxesOf(doc);
    a.y2 = TelemetryChannel::None;
    return a;
}

std::vector<TStackedPane> StackedPanes(const TDocument& doc, const TViewState& view, int width,
                                       int height) {
    std::vector<TelemetryChannel> channels = view.graph.stackedChannels;
    if (channels.empty()) channels = TGraphViewState::DefaultStackedChannels();
    if (channels.size() > size_t(kMaxStackedPanes)) channels.resize(size_t(kMaxStackedPanes));
    const int n = static_cast<int>(channels.size());
    const TGraphGeometry whole = GraphGeometry(width, height, 1, false);
    const int paneHeight = std::max(1, (whole.plotHeight - kStackedPaneGap * (n - 1)) / n);
    const ChannelRange extents = ShownExtents(doc, view);
    const TGraphAxes axes = StackedAxes(doc);
    std::vector<TStackedPane> panes;
    panes.reserve(channels.size());
    for (int k = 0; k < n; ++k) {
        TStackedPane pane;
        pane.channel = channels[size_t(k)];
        pane.g = whole;
        pane.g.top = whole.top + k * (paneHeight + kStackedPaneGap);
        pane.g.bottom = k == n - 1 ? whole.bottom : pane.g.top + paneHeight;
        pane.g.plotHeight = pane.g.bottom - pane.g.top;
        TGraphViewState ranges;
        ResetGraphRanges(extents, TGraphAxes{axes.x, pane.channel, TelemetryChannel::None}, ranges);
        pane.y = ranges.fullRange.y;
        panes.push_back(pane);
    }
    return panes;
}

int StackedPaneAt(const std::vector<TStackedPane>& panes, int y) {
    int best = -1, bestDistance = 0;
    for (size_t k = 0; k < panes.size(); ++k) {
        const TGraphGeometry& g = panes[k].g;
        const int distance = y < g.top ? g.top - y : y > g.bottom ? y - g.bottom : 0;
        if (best < 0 || distance < bestDistance) {
            best = static_cast<int>(k);
            bestDistance = distance;
        }
    }
    return best;
}

double StackedValueAt(const TStackedPane& pane, int y) {
    const int rows = std::max(1, pane.g.plotHeight);
    return pane.y.max - (pane.y.max - pane.y.min) * (y - pane.g.top) / rows;
}

void RenderStackedGraph(QImage& image, const TGraphPaintInput& in) {
    image.fill(Qt::white);
    const std::vector<TStackedPane> panes = StackedPanes(in.doc, in.view, in.width, in.height);
    const TGraphAxes axes = StackedAxes(in.doc);
    const TGraphGeometry whole = GraphGeometry(in.width, in.height, 1, false);
    TGraphPaintInput plain = in;
    plain.paneAxes = &axes;
    plain.paneGeometry = nullptr;
    const TGraphFonts fonts = GraphFonts(1, in.dpiY);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setBackgroundMode(Qt::OpaqueMode);
        p.setBackground(Qt::white);
        for (size_t k = 0; k < panes.size(); ++k)
            DrawPaneAxes(p, plain, panes[k], fonts, k + 1 == panes.size());
        DrawXAxis(p, plain, whole, fonts);
        DrawCornerMarks(p, plain, fonts);
    }
    // Each pane's curves through the single graph's drawing, with the pane's rows and range.
    std::vector<TGraphAxes> paneAxes(panes.size());
    for (size_t k = 0; k < panes.size(); ++k) {
        TViewState view = in.view;
        view.graph.viewRange.y = panes[k].y;
        view.graph.viewRange.y2 = {};
        paneAxes[k] = TGraphAxes{axes.x, panes[k].channel, TelemetryChannel::None};
        DrawGraphCurves(image,
                        TGraphPaintInput{in.doc, view, in.track, in.width, in.height, 1, in.dpiY,
                                         TAxisKind::None, &panes[k].g, &paneAxes[k]});
        if (k == 0) {
            QPainter p(&image);
            DrawGraphLegend(
                p, TGraphPaintInput{in.doc, view, in.track, in.width, in.height, 1, in.dpiY,
                                    TAxisKind::None, &panes[k].g, &paneAxes[k]});
        }
    }
}

bool ZoomXToColumns(TGraphViewState& graph, int anchorX, int x, const TGraphGeometry& g) {
    const double P = g.W - g.E - 80;
    if (x == anchorX || !(P > 0)) return false;
    TRange& v = graph.viewRange.x;
    const TRange& full = graph.fullRange.x;
    const double e = 0.001 * (full.max - full.min);
    const double span = std::max(e, (v.max - v.min) * std::abs(x - anchorX) / P);
    const double from = (v.max - v.min) * (std::min(x, anchorX) - 60) / P + v.min;
    if (!(span > 0) || (from == v.min && from + span == v.max)) return false;
    v = {from, from + span};
    return true;
}

std::string StackedChannelsText(const std::vector<TelemetryChannel>& channels) {
    std::string text;
    for (TelemetryChannel c : channels) {
        if (!text.empty()) text += ',';
        text += std::to_string(ChannelNumber(c));
    }
    return text;
}

std::vector<TelemetryChannel> ParseStackedChannels(const std::string& text) {
    std::vector<TelemetryChannel> channels;
    size_t i = 0;
    while (i < text.size() && channels.size() < size_t(kMaxStackedPanes)) {
        size_t end = text.find(',', i);
        if (end == std::string::npos) end = text.size();
        const std::string item = text.substr(i, end - i);
        i = end + 1;
        if (item.empty() || item.size() > 2 ||
            !std::all_of(item.begin(), item.end(), [](char c) { return c >= '0' && c <= '9'; }))
            continue;
        const auto c = ChannelFromNumber(std::atoi(item.c_str()), TelemetryChannel::SlipAngle);
        if (c && std::find(channels.begin(), channels.end(), *c) == channels.end())
            channels.push_back(*c);
    }
    if (channels.empty()) return TGraphViewState::DefaultStackedChannels();
    return channels;
}
