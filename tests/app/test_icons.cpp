// The tool bar's pictograms: each of Korvale's own commands has one drawn at 16, 24 and 32
// pixels, and every command the theme may lack has ours to fall back on.
#include <gtest/gtest.h>

#include <QDir>
#include <QIcon>
#include <QImage>
#include <QSvgRenderer>

#include "app/AppIcons.h"
#include "commands/CommandIds.h"

namespace {

TEST(ToolBarIcons, OwnCommandsHavePictogramsAtEachSizeAndEveryFallbackDraws) {
    for (int id : {cmd::ImportReplay, cmd::ImportAverageLap, cmd::ExportTextData,
                   cmd::ExportToReplay, cmd::Info, cmd::Corners, cmd::Data, cmd::SpeedComparison,
                   cmd::Graph, cmd::Map, cmd::PictureInPicture}) {
        const QIcon icon = CommandIcon(id);
        const QList<QSize> sizes = icon.availableSizes();
        for (int s : {16, 24, 32}) EXPECT_TRUE(sizes.contains(QSize(s, s))) << id << " " << s;
        // Something is drawn: not a blank square.
        const QImage image = icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
        int painted = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) painted += qAlpha(image.pixel(x, y)) > 0;
        EXPECT_GT(painted, 30) << id;
    }
    // Every picture in the resources is a valid drawing of its own size, and each size has
    // the same set of names.
    CommandIcon(cmd::Graph);  // loads the resource
    const QStringList names = QDir(QStringLiteral(":/korvale/icons/16")).entryList();
    EXPECT_GE(names.size(), 17);
    for (int s : {16, 24, 32}) {
        const QString dir = QStringLiteral(":/korvale/icons/%1/").arg(s);
        EXPECT_EQ(QDir(dir).entryList(), names) << s;
        for (const QString& name : names) {
            QSvgRenderer svg(dir + name);
            EXPECT_TRUE(svg.isValid()) << name.toStdString();
            EXPECT_EQ(svg.defaultSize(), QSize(s, s)) << name.toStdString();
        }
    }
    for (int id : {cmd::FileNew, cmd::FileOpen, cmd::FileSave, cmd::FullSize, cmd::ZoomOut,
                   cmd::HelpContents})
        EXPECT_FALSE(CommandIcon(id).isNull()) << id;
}

}  // namespace
