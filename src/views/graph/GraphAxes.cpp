#include "views/graph/GraphAxes.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <span>

#include "channels/Channels.h"
#include "commands/Document.h"
#include "views/graph/GraphCurves.h"
#include "views/graph/GraphGrid.h"

namespace {

const QColor kBlack(0, 0, 0);
const QColor kHighlight(255, 0, 0);
const QColor kZeroLine(192, 192, 192);

// The grid of View > Grid: the x labels kept clear of the x title, the y labels inside the
// plot.
void DrawAxesGrid(QPainter& p, const TGraphPaintInput& in, const TGraphGeometry& g,
                  const TGraphFonts& fonts) {
    const TGraphAxes a = in.Axes();
    const TAxisRanges& v = in.view.graph.viewRange;
    const int d = g.d, W = g.W, H = g.H, E = g.E;
    const QFontMetrics fm14(fonts.f14);
    auto centred = [](int centre2, int width) {  // the span of a text centred on centre2 / 2
        return TGridKeepOut{(centre2 - width) / 2 - 4, (centre2 + width) / 2 + 4};
    };
    const int xTitle = fm14.horizontalAdvance(QString::fromLatin1(ChannelName(a.x)));
    DrawXGrid(p, v.x, g.left, g.right, g.top, g.bottom, H - 36 / d, fonts.f10,
              centred(W + 40 / d - E, xTitle), d);
    const double k = g.second ? 0.5 : 1.0;
    const double half = g.plotHeight * k;
    DrawYGrid(p, v.y, g.top, half, g.left, g.right, g.top,
              g.second ? static_cast<int>(g.top + half) : g.bottom, -1, false, fonts.f10, {}, d);
    if (g.second)
        DrawYGrid(p, v.y2, g.top + g.plotHeight * 0.5, g.plotHeight * 0.5, g.left, g.right,
                  static_cast<int>(g.top + half), g.bottom, -1, true, fonts.f10, {}, d);
}

}  // namespace

TGraphAxes TGraphPaintInput::Axes() const {
    return paneAxes != nullptr ? *paneAxes : GraphAxesOf(doc);
}

TGraphGeometry TGraphPaintInput::Geometry() const {
    if (paneGeometry != nullptr) return *paneGeometry;
    return GraphGeometry(width, height, d, Axes().HasSecond());
}

TGraphFonts GraphFonts(int scaleDivisor, int logicalDpiY) {
    TGraphFonts f;
    f.h14 = std::abs(GraphFontHeight(14, scaleDivisor, logicalDpiY));
    f.h10 = std::abs(GraphFontHeight(10, scaleDivisor, logicalDpiY));
    for (auto [font, h] : {std::pair<QFont*, int>{&f.f14, f.h14}, {&f.f10, f.h10}}) {
        *font = QFont(QStringLiteral("Arial"));
        font->setPixelSize(h > 0 ? h : 1);
        font->setWeight(QFont::Normal);
        font->setStyleStrategy(QFont::NoAntialias);
    }
    return f;
}

QString GraphLabel(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%-7.2f", v);
    return QString::fromLatin1(buf);
}

void DrawTextAt(QPainter& p, int x, int y, const QString& text) {
    p.drawText(QPoint(x, y + QFontMetrics(p.font()).ascent()), text);
}

void DrawTextUp(QPainter& p, int x, int y, const QString& text) {
    p.save();
    p.translate(x, y);
    p.rotate(-90);
    p.drawText(QPoint(0, QFontMetrics(p.font()).ascent()), text);
    p.restore();
}

void DrawGraphAxes(QPainter& p, const TGraphPaintInput& in) {
    const TGraphGeometry g = in.Geometry();
    const TGraphAxes a = in.Axes();
    const TAxisRanges& v = in.view.graph.viewRange;
    const int d = g.d, W = g.W, H = g.H, E = g.E;
    const TGraphFonts fonts = GraphFonts(d, in.dpiY);

    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    // Text cells are painted opaque, so that redrawing the axes over themselves (a new
    // highlight colour) replaces the old text.
    p.setBackgroundMode(Qt::OpaqueMode);
    p.setBackground(Qt::white);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kBlack, 0));

    // Frame.
    const QPoint corners[4] = {
        {g.left, g.top}, {g.right, g.top}, {g.right, g.bottom}, {g.left, g.bottom}};
    p.drawPolygon(corners, 4);

    const bool track = in.track != nullptr;
    // With the grid the round ticks take the place of the quarter ticks and their labels.
    const bool grid = track && in.view.graph.gridShown;

    // Three 5-pixel ticks pointing inwards on each side.
    const double blends[3] = {0.25, 0.5, 0.75};
    for (double b : grid ? std::span<const double>() : std::span<const double>(blends)) {
        const int tx = static_cast<int>(b * g.left + (1 - b) * g.right);
        const int ty = static_cast<int>(b * g.top + (1 - b) * g.bottom);
        p.drawLine(tx, g.top, tx, g.top + 4);
        p.drawLine(tx, g.bottom, tx, g.bottom - 4);
        p.drawLine(g.left, ty, g.left + 4, ty);
        p.drawLine(g.right, ty, g.right - 4, ty);
    }

    if (grid) DrawAxesGrid(p, in, g, fonts);
    if (track && !grid) {
        p.setFont(fonts.f10);
        const QFontMetrics fm(fonts.f10);
        const int w = fm.horizontalAdvance(GraphLabel(v.x.max));
        const int h = fm.height();
        const int k = a.HasSecond() ? 2 : 1;
        for (int i : {0, 1, 3, 4}) {
            const double xv = v.x.min + i * (v.x.max - v.x.min) / 4;
            DrawTextAt(p, 60 / d + ((W - 20 - E - w - 60 / d) * i) / 4, H - 36 / d, GraphLabel(xv));
            const double yv = v.y.max + k * i * (v.y.min - v.y.max) / 4;
            DrawTextAt(p, 2, 40 / d + ((H - 40 / d - h - 40 / d) * i) / 4, GraphLabel(yv));
        }
        if (d == 1 && a.HasSecond()) {
            const int base = H - 40 - h;
            for (int i : {0, 1, 3, 4}) {
                const double yv = v.y2.min + 2 * i * (v.y2.max - v.y2.min) / 4;
                DrawTextAt(p, W - 55, base + ((40 - base) * i) / 4, GraphLabel(yv));
            }
        }
    }

    // Titles and units, each centred with the width measured in its own font.
    const QFontMetrics fm14(fonts.f14), fm10(fonts.f10);
    auto colourFor = [&](TAxisKind axis) { return in.highlighted == axis ? kHighlight : kBlack; };
    {
        p.setPen(colourFor(TAxisKind::X));
        const QString name = QString::fromLatin1(ChannelName(a.x));
        p.setFont(fonts.f14);
        DrawTextAt(p, (W + 40 / d - E - fm14.horizontalAdvance(name)) / 2, H - 36 / d, name);
        if (d == 1) {
            const QString unit = QString::fromLatin1(ChannelUnit(a.x));
            p.setFont(fonts.f10);
            DrawTextAt(p, (W + 40 - E - fm10.horizontalAdvance(unit)) / 2, H - 34 + fonts.h14,
                       unit);
        }
    }
    {
        p.setPen(colourFor(TAxisKind::Y));
        if (d == 1) {
            const QString unit = QString::fromLatin1(ChannelUnit(a.y));
            p.setFont(fonts.f10);
            DrawTextUp(p, 56 - fonts.h10, (H + fm10.horizontalAdvance(unit)) / 2, unit);
        }
        const QString name = QString::fromLatin1(ChannelName(a.y));
        p.setFont(fonts.f14);
        DrawTextUp(p, 56 / d - fonts.h10 - fonts.h14 - 2, (H + fm14.horizontalAdvance(name)) / 2,
                   name);
    }
    if (d == 1 && a.HasSecond()) {
        p.setPen(colourFor(TAxisKind::Y2));
        const QString unit = QString::fromLatin1(ChannelUnit(a.y2));
        p.setFont(fonts.f10);
        DrawTextUp(p, W - fonts.h10 - 4, (H + fm10.horizontalAdvance(unit)) / 2, unit);
        const QString name = QString::fromLatin1(ChannelName(a.y2));
        p.setFont(fonts.f14);
        DrawTextUp(p, W - fonts.h10 - fonts.h14 - 6, (H + fm14.horizontalAdvance(name)) / 2, name);
    }

    if (track) {
        p.setPen(QPen(kZeroLine, 0));
        if (v.y.min * v.y.max < 0) {
            const int row = YRow(0, v, g);
            p.drawLine(g.left, row, g.right - 1, row);  // the end pixel is left out
        }
        if (d == 1 && a.HasSecond() && v.y2.min * v.y2.max < 0) {
            const int row = Y2Row(0, v, g);
            p.drawLine(60, row, W - 41, row);
        }
    }

    DrawCornerMarks(p, in, fonts);
    p.restore();
}
