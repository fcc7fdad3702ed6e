#include "views/map/MapColouring.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include "analysis/LapAnalysis.h"
#include "channels/Channels.h"
#include "commands/MapColour.h"
#include "views/map/LapLine.h"
#include "views/map/Viridis.h"

namespace {

constexpr int kLegendWidth = 196;
constexpr int kLegendHeight = 56;
constexpr int kLegendMargin = 8;
constexpr int kTextPixels = 12;
constexpr int kDeltaLegendWidth = 260;
constexpr int kDeltaLegendHeight = 74;

}  // namespace

TLapColouring LapColouring(const TTrackData* track, const TReplay& lap, TMapColour colour,
                           const TReplay* reference) {
    TLapColouring out;
    if (colour == TMapColour::Laps) return out;
    const TelemetryChannel channel = MapColourInfo(colour).channel;
    if (colour == TMapColour::TimeDelta && reference == nullptr) return out;
    const std::vector<double> times = LapLineTimes(lap);
    out.values.reserve(times.size());
    for (const double t : times) {
        double v = std::numeric_limits<double>::quiet_NaN();
        if (colour == TMapColour::TimeDelta) {
            if (const auto d = DeltaRate(lap, *reference, PositionAt(lap, t))) v = *d;
        } else {
            v = ChannelValue(lap, t, TelemetryChannel::Time, channel, track);
        }
        if (!std::isfinite(v)) v = std::numeric_limits<double>::quiet_NaN();
        out.values.push_back(v);
        if (std::isnan(v)) continue;
        if (!out.any || v < out.min) out.min = v;
        if (!out.any || v > out.max) out.max = v;
        out.any = true;
    }
    if (colour == TMapColour::TimeDelta) {
        // Zero in the middle, so that the same colour means the same gain or loss.
        out.diverging = true;
        const double limit = std::max(std::fabs(out.min), std::fabs(out.max));
        out.min = -limit;
        out.max = limit;
    }
    return out;
}

QRgb DeltaColour(double value, double limit) {
    const double t = limit > 0 && std::isfinite(value) ? std::clamp(value / limit, -1.0, 1.0) : 0;
    const QRgb neutral = qRgb(200, 200, 200), gain = qRgb(0, 160, 0), loss = qRgb(220, 0, 0);
    const QRgb end = t < 0 ? gain : loss;
    const double f = std::fabs(t);
    auto mix = [f](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * f)); };
    return qRgb(mix(qRed(neutral), qRed(end)), mix(qGreen(neutral), qGreen(end)),
                mix(qBlue(neutral), qBlue(end)));
}

QRgb ColouringColour(const TLapColouring& colouring, double value) {
    return colouring.diverging ? DeltaColour(value, colouring.max)
                               : ColourForValue(value, colouring.min, colouring.max);
}

QRgb ColourForValue(double value, double min, double max) {
    if (!(max > min)) return ViridisColour(0.5);
    return ViridisColour((value - min) / (max - min));
}

TLegendBox MapLegendBox(QSize client) {
    TLegendBox b;
    b.width = kLegendWidth;
    b.height = kLegendHeight;
    b.left = client.width() - kLegendMargin - kLegendWidth;
    b.top = kLegendMargin;
    b.barLeft = b.left + 8;
    b.barWidth = kLegendWidth - 16;
    b.barTop = b.top + 22;
    b.barHeight = 10;
    return b;
}

std::string LegendValueText(TMapColour colour, double value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", MapColourInfo(colour).decimals, value);
    return buf;
}

void DrawMapLegend(QPainter& p, QSize client, TMapColour colour, double min, double max) {
    const TLegendBox b = MapLegendBox(client);
    const TMapColourInfo& info = MapColourInfo(colour);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(Qt::black));
    p.setBrush(QColor(Qt::white));
    p.drawRect(b.left, b.top, b.width - 1, b.height - 1);
    p.setPen(Qt::NoPen);
    // One column per step of the bar, lowest at the left.
    for (int x = 0; x < b.barWidth; ++x) {
        const double t = b.barWidth > 1 ? static_cast<double>(x) / (b.barWidth - 1) : 0.5;
        p.fillRect(b.barLeft + x, b.barTop, 1, b.barHeight, QColor(ViridisColour(t)));
    }
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(kTextPixels);
    p.setFont(font);
    p.setPen(QColor(Qt::black));
    const QString title = QStringLiteral("%1 (%2)").arg(QString::fromLatin1(info.name),
                                                        QString::fromLatin1(info.unit));
    const int textW = b.width - 16;
    p.drawText(QRect(b.barLeft, b.top + 4, textW, 16), Qt::AlignLeft | Qt::AlignVCenter, title);
    const int valuesTop = b.barTop + b.barHeight + 2;
    p.drawText(QRect(b.barLeft, valuesTop, textW, 16), Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromStdString(LegendValueText(colour, min)));
    p.drawText(QRect(b.barLeft, valuesTop, textW, 16), Qt::AlignRight | Qt::AlignVCenter,
               QString::fromStdString(LegendValueText(colour, max)));
    p.restore();
}

TLegendBox DeltaLegendBox(QSize client) {
    TLegendBox b;
    b.width = kDeltaLegendWidth;
    b.height = kDeltaLegendHeight;
    b.left = client.width() - kLegendMargin - kDeltaLegendWidth;
    b.top = kLegendMargin;
    b.barLeft = b.left + 8;
    b.barWidth = kDeltaLegendWidth - 16;
    b.barTop = b.top + 40;
    b.barHeight = 10;
    return b;
}

void DrawDeltaLegend(QPainter& p, QSize client, const QString& lap, const QString& reference,
                     double limit) {
    const TLegendBox b = DeltaLegendBox(client);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(Qt::black));
    p.setBrush(QColor(Qt::white));
    p.drawRect(b.left, b.top, b.width - 1, b.height - 1);
    p.setPen(Qt::NoPen);
    // Gain at the left, loss at the right, neutral in the middle.
    for (int x = 0; x < b.barWidth; ++x) {
        const double t = b.barWidth > 1 ? 2.0 * x / (b.barWidth - 1) - 1 : 0;
        p.fillRect(b.barLeft + x, b.barTop, 1, b.barHeight, QColor(DeltaColour(t, 1)));
    }
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(kTextPixels);
    p.setFont(font);
    p.setPen(QColor(Qt::black));
    const int textW = b.width - 16;
    const QFontMetrics fm(font, p.device());
    p.drawText(QRect(b.barLeft, b.top + 4, textW, 16), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Delta rate (s/100 ft)"));
    p.drawText(QRect(b.barLeft, b.top + 20, textW, 16), Qt::AlignLeft | Qt::AlignVCenter,
               fm.elidedText(lap + QStringLiteral(" vs ") + reference, Qt::ElideRight, textW));
    char buf[64];
    const int valuesTop = b.barTop + b.barHeight + 2;
    std::snprintf(buf, sizeof buf, "gain %.3f", limit);
    p.drawText(QRect(b.barLeft, valuesTop, textW, 16), Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromLatin1(buf));
    std::snprintf(buf, sizeof buf, "loss %.3f", limit);
    p.drawText(QRect(b.barLeft, valuesTop, textW, 16), Qt::AlignRight | Qt::AlignVCenter,
               QString::fromLatin1(buf));
    p.restore();
}
