#include "app/AppIcons.h"

#include <QPainter>
#include <QPixmap>
#include <QStandardPaths>
#include <QSvgRenderer>

#include "commands/CommandIds.h"

// The pictograms live in a static library; naming their resource here keeps the linker
// from dropping it.
static void InitIconResource() {
    Q_INIT_RESOURCE(icons);
}

namespace {
// Our pictogram, drawn for each of the sizes it was made for. Rendered here rather than left
// to an image plug-in, so that a missing plug-in can never leave a button blank.
QIcon Pictogram(const char* name) {
    static const bool loaded = [] {
        InitIconResource();
        return true;
    }();
    (void)loaded;
    QIcon icon;
    for (int size : {16, 24, 32}) {
        QSvgRenderer svg(
            QStringLiteral(":/korvale/icons/%1/%2.svg").arg(size).arg(QString::fromLatin1(name)));
        if (!svg.isValid()) continue;
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        svg.render(&p);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

// Without a desktop (a plain X server, the offscreen platform of the tests) Qt knows no
// icon theme, or only "hicolor", which has no action icons, and may not even search the
// system's icon folders: then the set-up's Adwaita theme stands in, so that the look does
// not depend on the machine. A desktop's own theme is left as it is.
void PrepareIconTheme() {
    QStringList paths = QIcon::themeSearchPaths();
    const QStringList system =
        QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("icons"),
                                  QStandardPaths::LocateDirectory);
    bool added = false;
    for (const QString& dir : system) {
        if (!paths.contains(dir)) {
            paths << dir;
            added = true;
        }
    }
    if (added) QIcon::setThemeSearchPaths(paths);
    const QString theme = QIcon::themeName();
    if (theme.isEmpty() || theme == QLatin1String("hicolor"))
        QIcon::setThemeName(QStringLiteral("Adwaita"));
}

// The theme's icon of this freedesktop name, our pictogram of the same name where the theme
// has none.
QIcon Themed(const char* name) {
    static const bool prepared = [] {
        PrepareIconTheme();
        return true;
    }();
    (void)prepared;
    return QIcon::fromTheme(QString::fromLatin1(name), Pictogram(name));
}
}  // namespace

QIcon AppIcon() {
    // The icon the package installs into the icon theme; the same picture, built in, where
    // the program runs uninstalled. Rendered at each size a title bar or task switcher asks
    // for, so that no image plug-in is needed.
    static const bool loaded = [] {
        InitIconResource();
        return true;
    }();
    (void)loaded;
    QIcon bundled;
    QSvgRenderer svg(QStringLiteral(":/korvale/app/korvale.svg"));
    if (svg.isValid()) {
        for (int size : {16, 24, 32, 48, 64, 128}) {
            QPixmap pixmap(size, size);
            pixmap.fill(Qt::transparent);
            QPainter p(&pixmap);
            svg.render(&p);
            p.end();
            bundled.addPixmap(pixmap);
        }
    }
    return QIcon::fromTheme(QStringLiteral("korvale"), bundled);
}

QIcon CommandIcon(int id) {
    switch (id) {
        case cmd::FileNew:
            return Themed("document-new");
        case cmd::FileOpen:
            return Themed("document-open");
        case cmd::FileSave:
            return Themed("document-save");
        case cmd::ImportReplay:
            return Pictogram("import-replay");
        case cmd::ImportAverageLap:
            return Pictogram("import-average-lap");
        case cmd::ExportTextData:
            return Pictogram("export-text-data");
        case cmd::ExportToReplay:
            return Pictogram("export-to-replay");
        case cmd::Info:
            return Pictogram("info");
        case cmd::Corners:
            return Pictogram("corners");
        case cmd::Data:
            return Pictogram("data");
        case cmd::SpeedComparison:
            return Pictogram("speed-comparison");
        case cmd::FullSize:
            return Themed("zoom-fit-best");
        case cmd::ZoomOut:
            return Themed("zoom-out");
        case cmd::Graph:
            return Pictogram("graph");
        case cmd::Map:
            return Pictogram("map");
        case cmd::PictureInPicture:
            return Pictogram("picture-in-picture");
        case cmd::HelpContents:
            return Themed("help-contents");
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
