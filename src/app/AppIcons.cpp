#include "app/AppIcons.h"

#include <QPainter>
#include <QPixmap>

#include "commands/CommandIds.h"

namespace {
// A small badge with a letter or two: readable at 16 pixels, ours, and distinct per group.
QIcon Badge(const QString& text, QColor colour) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(colour.darker(150));
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
    QFont font = p.font();
    font.setPixelSize(text.size() > 1 ? 8 : 11);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, text);
    return QIcon(pixmap);
}

QIcon Themed(const char* name, const QString& text, QColor colour) {
    return QIcon::fromTheme(QString::fromLatin1(name), Badge(text, colour));
}
}  // namespace

QIcon AppIcon() {
    return Badge(QStringLiteral("K"), QColor(200, 40, 40));
}

QIcon CommandIcon(int id) {
    const QColor file(60, 110, 180), data(40, 140, 80), view(150, 90, 30), help(120, 60, 160);
    switch (id) {
        case cmd::FileNew:
            return Themed("document-new", QStringLiteral("N"), file);
        case cmd::FileOpen:
            return Themed("document-open", QStringLiteral("O"), file);
        case cmd::FileSave:
            return Themed("document-save", QStringLiteral("S"), file);
        case cmd::ImportReplay:
            return Badge(QStringLiteral("IR"), data);
        case cmd::ImportAverageLap:
            return Badge(QStringLiteral("IA"), data);
        case cmd::ExportTextData:
            return Badge(QStringLiteral("ET"), data);
        case cmd::ExportToReplay:
            return Badge(QStringLiteral("ER"), data);
        case cmd::Info:
            return Badge(QStringLiteral("i"), view);
        case cmd::Corners:
            return Badge(QStringLiteral("C"), view);
        case cmd::Data:
            return Badge(QStringLiteral("D"), view);
        case cmd::SpeedComparison:
            return Badge(QStringLiteral("SC"), view);
        case cmd::FullSize:
            return Themed("zoom-original", QStringLiteral("FS"), view);
        case cmd::ZoomOut:
            return Themed("zoom-out", QStringLiteral("Z-"), view);
        case cmd::Graph:
            return Badge(QStringLiteral("G"), view);
        case cmd::Map:
            return Badge(QStringLiteral("M"), view);
        case cmd::PictureInPicture:
            return Badge(QStringLiteral("P"), view);
        case cmd::HelpContents:
            return Themed("help-contents", QStringLiteral("?"), help);
        default:
            return {};
    }
}

QPixmap AboutImage() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(QColor(80, 60, 40));
    p.drawLine(4, 2, 4, 30);  // the pole
    const int cell = 5;
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 5; ++col)
            p.fillRect(6 + col * cell, 3 + row * cell, cell, cell,
                       (row + col) % 2 ? Qt::white : Qt::black);
    p.setPen(Qt::black);
    p.setBrush(Qt::NoBrush);
    p.drawRect(6, 3, 5 * cell - 1, 4 * cell - 1);
    return pixmap;
}
