#include "views/graph/GraphLegend.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <utility>
#include <vector>

#include "analysis/LapAnalysis.h"
#include "commands/Document.h"
#include "commands/LapVisibility.h"
#include "views/LapNameText.h"

namespace {

constexpr int kPadding = 4;     // inside the box, around the rows
constexpr int kStroke = 18;     // length of a lap's colour stroke
constexpr int kGap = 5;         // between the stroke and the name
constexpr int kFromCorner = 6;  // from the plot's top-right corner
constexpr int kMaxNameWidth = 200;

struct TLegendLayout {
    QRect box;
    int rowHeight = 0;
    std::vector<const TReplay*> laps;
    std::vector<QString> names;  // per shown lap, told apart by lap time where names repeat
};

// The shown laps' names, as the document's laps are told apart.
std::vector<QString> ShownLapNames(const TDocument& doc, const std::vector<const TReplay*>& shown) {
    const std::vector<const TReplay*> all = doc.laps().Pointers();
    const std::vector<std::string> names = LapDisplayNames(all);
    std::vector<QString> out;
    for (const TReplay* lap : shown) {
        const auto at = std::find(all.begin(), all.end(), lap);
        out.push_back(at == all.end() ? QString()
                                      : QString::fromStdString(names[size_t(at - all.begin())]));
    }
    return out;
}

TLegendLayout Layout(const TGraphPaintInput& in, const QFontMetrics& fm) {
    TLegendLayout l;
    if (in.d != 1 || !in.view.graph.legendShown) return l;
    std::vector<const TReplay*> laps = ShownLaps(in.doc, in.view);
    if (laps.size() < 2) return l;
    const TGraphGeometry g = in.Geometry();
    int nameWidth = 0;
    std::vector<QString> names = ShownLapNames(in.doc, laps);
    // One pixel more than the rounded advance: a name whose exact width rounds down would
    // otherwise be elided although it fits.
    for (const QString& name : names)
        nameWidth = std::max(nameWidth, std::min(kMaxNameWidth, fm.horizontalAdvance(name) + 1));
    l.rowHeight = fm.height();
    const int w = 2 * kPadding + kStroke + kGap + nameWidth;
    const int h = 2 * kPadding + l.rowHeight * static_cast<int>(laps.size());
    // Only a legend that fits inside the plot is drawn: it must never cover the axes.
    if (w + 2 * kFromCorner > g.right - g.left || h + 2 * kFromCorner > g.bottom - g.top) return l;
    l.laps = std::move(laps);
    l.names = std::move(names);
    l.box = QRect(g.right - kFromCorner - w, g.top + kFromCorner, w, h);
    return l;
}

}  // namespace

QRect GraphLegendRect(const TGraphPaintInput& in) {
    // Measured on an image, as the graph is drawn: a screen may hint the font differently.
    const QImage probe(1, 1, QImage::Format_RGB32);
    const TGraphFonts fonts = GraphFonts(in.d, in.dpiY);
    return Layout(in, QFontMetrics(fonts.f10, &probe)).box;
}

void DrawGraphLegend(QPainter& p, const TGraphPaintInput& in) {
    const TGraphFonts fonts = GraphFonts(in.d, in.dpiY);
    const QFontMetrics fm(fonts.f10, p.device());
    const TLegendLayout l = Layout(in, fm);
    if (l.box.isEmpty()) return;
    p.save();
    p.setPen(QColor(128, 128, 128));
    p.setBrush(Qt::white);
    p.drawRect(l.box.adjusted(0, 0, -1, -1));
    p.setFont(fonts.f10);
    int y = l.box.top() + kPadding;
    const int strokeX = l.box.left() + kPadding;
    const int nameX = strokeX + kStroke + kGap;
    const int nameWidth = l.box.right() - kPadding - nameX + 1;
    for (size_t i = 0; i < l.laps.size(); ++i) {
        const TReplay* lap = l.laps[i];
        const QColor colour(lap->colour.r, lap->colour.g, lap->colour.b);
        const int mid = y + l.rowHeight / 2;
        p.fillRect(QRect(strokeX, mid - 1, kStroke, 3), colour);
        p.setPen(Qt::black);
        const QString name = fm.elidedText(l.names[i], Qt::ElideRight, nameWidth);
        p.drawText(QRect(nameX, y, nameWidth, l.rowHeight), Qt::AlignLeft | Qt::AlignVCenter, name);
        y += l.rowHeight;
    }
    p.restore();
}
