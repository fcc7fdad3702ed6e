#include "views/graph/GraphGrid.h"

#include <QFontMetrics>
#include <QPainter>

#include "views/graph/GraphAxes.h"
#include "views/graph/GraphTicks.h"

namespace {
bool Overlaps(int from, int to, TGridKeepOut k) {
    return k.to >= k.from && from <= k.to && to >= k.from;
}
}  // namespace

void DrawXGrid(QPainter& p, const TRange& x, int left, int right, int top, int bottom, int labelY,
               const QFont& font, TGridKeepOut keepOut, int scaleDivisor) {
    const int columns = right - left;
    const double span = x.max - x.min;
    if (columns <= 0 || !(span > 0)) return;
    const int d = scaleDivisor < 1 ? 1 : scaleDivisor;
    const TRoundTicks ticks = RoundTicks(x.min, x.max, columns, kGridMinPixelsX / d);
    const QFontMetrics fm(font);
    p.save();
    p.setFont(font);
    int lastLabelEnd = -1000000;
    for (int i = 0; i < ticks.count; ++i) {
        const double v = ticks.At(i);
        const int col = left + static_cast<int>((v - x.min) * columns / span);
        if (col < left || col > right) continue;
        if (col > left && col < right) {
            p.setPen(QPen(kGridColour, 0));
            p.drawLine(col, top + 1, col, bottom - 1);
            p.setPen(QPen(Qt::black, 0));
            p.drawLine(col, bottom - 1, col, bottom - 4 / d);
            p.drawLine(col, top + 1, col, top + 4 / d);
        }
        if (labelY < 0) continue;
        const QString text = QString::fromStdString(TickLabel(v, ticks.decimals));
        const int w = fm.horizontalAdvance(text);
        const int lx = col - w / 2;
        if (lx < lastLabelEnd + 4 || Overlaps(lx, lx + w, keepOut)) continue;
        p.setPen(Qt::black);
        DrawTextAt(p, lx, labelY, text);
        lastLabelEnd = lx + w;
    }
    p.restore();
}

void DrawYGrid(QPainter& p, const TRange& y, double rowTop, double rowSpan, int left, int right,
               int lineTop, int lineBottom, int labelX, bool rightHand, const QFont& font,
               TGridKeepOut keepOut, int scaleDivisor) {
    const double span = y.max - y.min;
    if (!(rowSpan > 0) || !(span > 0)) return;
    const int d = scaleDivisor < 1 ? 1 : scaleDivisor;
    const TRoundTicks ticks =
        RoundTicks(y.min, y.max, static_cast<int>(rowSpan), kGridMinPixelsY / d);
    const QFontMetrics fm(font);
    const int h = fm.height();
    p.save();
    p.setFont(font);
    int lastLabelTop = 1000000;  // labels go from the bottom up
    for (int i = 0; i < ticks.count; ++i) {
        const double v = ticks.At(i);
        const int row = static_cast<int>(rowTop + (1.0 - (v - y.min) / span) * rowSpan);
        if (row < lineTop || row > lineBottom) continue;
        if (row > lineTop && row < lineBottom) {
            p.setPen(QPen(kGridColour, 0));
            p.drawLine(left + 1, row, right - 1, row);
            p.setPen(QPen(Qt::black, 0));
            if (rightHand)
                p.drawLine(right - 1, row, right - 4 / d, row);
            else
                p.drawLine(left + 1, row, left + 4 / d, row);
        }
        const QString text = QString::fromStdString(TickLabel(v, ticks.decimals));
        // Inside the plot (labelX negative) a label sits just above its line, by the frame.
        const bool inside = labelX < 0;
        const int top = inside ? row - h + 2 : row - h / 2;
        if (top + h > lastLabelTop - 1 || Overlaps(top, top + h, keepOut)) continue;
        if (inside && top < lineTop) continue;
        const int x = !inside     ? labelX
                      : rightHand ? right - 4 - fm.horizontalAdvance(text)
                                  : left + 4;
        p.setPen(QColor(90, 90, 90));
        DrawTextAt(p, x, top, text);
        lastLabelTop = top;
    }
    p.restore();
}
