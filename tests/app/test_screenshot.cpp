// The program's --screenshot run: the real executable renders its main window into a PNG
// without a display and ends with 0.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QColor>
#include <QImage>
#include <QPoint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "document/LapPalette.h"
#include "support/Golden.h"

namespace fs = std::filesystem;

namespace {
int RunKorvale(const std::string& args, const fs::path& settings,
               const fs::path& errors = "/dev/null") {
    const std::string command = "env QT_QPA_PLATFORM=offscreen KORVALE_SETTINGS='" +
                                settings.string() + "' '" + std::string(KORVALE_BIN_DIR) +
                                "/korvale' " + args + " 2>'" + errors.string() + "'";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The number of pixels close to a colour.
int Count(const QImage& image, QColor colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) < 8 && std::abs(c.green() - colour.green()) < 8 &&
                std::abs(c.blue() - colour.blue()) < 8)
                ++n;
        }
    return n;
}

std::string FileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

class ScreenshotTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("korvale-shot-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path dir;
};
}  // namespace

TEST_F(ScreenshotTest, WritesAPngOfTheMainWindowWithTheDocumentsLaps) {
    const fs::path png = dir / "main.png";
    ASSERT_EQ(RunKorvale("--screenshot '" + png.string() + "' '" + std::string(KORVALE_BIN_DIR) +
                             "/sample.kvl'",
                         dir / "korvale.ini"),
              0);
    QImage image(QString::fromStdString(png.string()));
    ASSERT_FALSE(image.isNull());
    EXPECT_GE(image.width(), 320);
    EXPECT_GE(image.height(), 320);
    // The sample document's three laps take the palette's first three colours.
    for (size_t i = 0; i < 3; ++i) {
        const Rgb c = LapPalette[i];
        EXPECT_GT(Count(image, QColor(c.r, c.g, c.b)), 20) << "lap colour " << i;
    }
    // The fourth colour is not used by any lap.
    const Rgb unused = LapPalette[3];
    EXPECT_EQ(Count(image, QColor(unused.r, unused.g, unused.b)), 0);
}

TEST_F(ScreenshotTest, FailsWhenThePngCannotBeWrittenOrTheCommandLineIsIncomplete) {
    EXPECT_NE(RunKorvale("--screenshot '" + (dir / "no" / "such" / "dir.png").string() + "'",
                         dir / "korvale.ini"),
              0);
    EXPECT_EQ(RunKorvale("--screenshot", dir / "korvale.ini"), 2);
}

// Regression: a document that could not be read still gave a picture of an empty window and
// exit 0; an unwritable picture failed without a word.
TEST_F(ScreenshotTest, AnUnreadableDocumentOrPictureFailsSayingWhichAndWhy) {
    std::ofstream(dir / "junk.kvl") << "not a document";
    const fs::path err = dir / "err.txt";
    const fs::path png = dir / "junk.png";
    EXPECT_EQ(
        RunKorvale("--screenshot '" + png.string() + "' '" + (dir / "junk.kvl").string() + "'",
                   dir / "korvale.ini", err),
        1);
    std::string said = FileText(err);
    EXPECT_NE(said.find("Open Error: "), std::string::npos) << said;
    EXPECT_NE(said.find((dir / "junk.kvl").string()), std::string::npos) << said;
    EXPECT_FALSE(fs::exists(png));

    const fs::path nowhere = dir / "no" / "such" / "dir.png";
    EXPECT_EQ(RunKorvale("--screenshot '" + nowhere.string() + "'", dir / "korvale.ini", err), 1);
    said = FileText(err);
    EXPECT_NE(said.find("cannot write " + nowhere.string()), std::string::npos) << said;
}

TEST_F(ScreenshotTest, SideWindowsGoBesideTheMainPictureWithTheCursorsValues) {
    const fs::path png = dir / "main.png";
    const std::string sample = "'" + std::string(KORVALE_BIN_DIR) + "/sample.kvl'";
    ASSERT_EQ(
        RunKorvale("--screenshot '" + png.string() + "' --show data,info --cursor 2500 " + sample,
                   dir / "korvale.ini"),
        0);
    const QImage data(QString::fromStdString((dir / "main-data.png").string()));
    const QImage info(QString::fromStdString((dir / "main-info.png").string()));
    ASSERT_FALSE(data.isNull());
    ASSERT_FALSE(info.isNull());
    // Both show the first lap's colour: its colour bar and its line symbol.
    const Rgb first = LapPalette[0];
    EXPECT_GT(Count(data, QColor(first.r, first.g, first.b)), 10);
    EXPECT_GT(Count(info, QColor(first.r, first.g, first.b)), 5);
    // The graph's cursor line is drawn at the cursor: a column of green (the third lap's
    // colour too) from the plot's top to its bottom.
    const fs::path plain = dir / "plain.png";
    ASSERT_EQ(RunKorvale("--screenshot '" + plain.string() + "' " + sample, dir / "korvale.ini"),
              0);
    const QImage withCursor(QString::fromStdString(png.string()));
    EXPECT_GT(Count(withCursor, QColor(0, 192, 0)),
              Count(QImage(QString::fromStdString(plain.string())), QColor(0, 192, 0)) +
                  withCursor.height() / 2);
    EXPECT_FALSE(fs::exists(dir / "plain-data.png"));

    // A document without a track cannot open the data window: the run says so and fails.
    EXPECT_NE(RunKorvale("--screenshot '" + (dir / "empty.png").string() + "' --show data",
                         dir / "korvale.ini"),
              0);
    EXPECT_FALSE(fs::exists(dir / "empty-data.png"));
}

TEST_F(ScreenshotTest, TheMapViewAndThePictureInPictureWindowBesideIt) {
    const fs::path png = dir / "map.png";
    ASSERT_EQ(RunKorvale("--screenshot '" + png.string() + "' --view map --show pip '" +
                             std::string(KORVALE_BIN_DIR) + "/sample.kvl'",
                         dir / "korvale.ini"),
              0);
    const QImage map(QString::fromStdString(png.string()));
    const QImage pip(QString::fromStdString((dir / "map-pip.png").string()));
    ASSERT_FALSE(map.isNull());
    ASSERT_FALSE(pip.isNull());
    // The laps on the map, and in the half-scale graph of the picture-in-picture window.
    for (size_t i = 0; i < 3; ++i) {
        const Rgb c = LapPalette[i];
        EXPECT_GT(Count(map, QColor(c.r, c.g, c.b)), 20) << "lap colour " << i;
        EXPECT_GT(Count(pip, QColor(c.r, c.g, c.b)), 20) << "lap colour " << i;
    }
    // A document without a map cannot be shown as one.
    EXPECT_NE(RunKorvale("--screenshot '" + png.string() + "' --view map", dir / "korvale.ini"), 0);
}

// Guards every pixel of the sample document's main window against changes meant to be
// invisible (a refactoring, a new opt-in feature left off). The golden is the program's own
// screenshot, checked by eye; a deliberate change of the picture replaces it.
TEST_F(ScreenshotTest, TheSampleDocumentRendersExactlyAsTheGoldenEveryTime) {
    const std::string sample = "'" + std::string(KORVALE_BIN_DIR) + "/sample.kvl'";
    const fs::path first = dir / "first.png", second = dir / "second.png";
    ASSERT_EQ(RunKorvale("--screenshot '" + first.string() + "' " + sample, dir / "a.ini"), 0);
    ASSERT_EQ(RunKorvale("--screenshot '" + second.string() + "' " + sample, dir / "b.ini"), 0);
    EXPECT_TRUE(FileText(first) == FileText(second)) << "two runs wrote different files";

    const std::string goldenPath = GoldenPath("app/golden/sample-main.png");
    const QImage golden =
        QImage(QString::fromStdString(goldenPath)).convertToFormat(QImage::Format_RGB32);
    const QImage image =
        QImage(QString::fromStdString(first.string())).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(golden.isNull()) << goldenPath;
    ASSERT_FALSE(image.isNull());
    int differing = 0;
    QPoint firstDifference;
    if (image.size() == golden.size())
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != golden.pixel(x, y) && differing++ == 0)
                    firstDifference = QPoint(x, y);
    if (image.size() != golden.size() || differing > 0) {
        const std::string keep = std::string(KORVALE_BIN_DIR) + "/sample-main.actual.png";
        fs::copy_file(first, keep, fs::copy_options::overwrite_existing);
        ADD_FAILURE() << "the screenshot (" << image.width() << "x" << image.height()
                      << ") differs from " << goldenPath << " (" << golden.width() << "x"
                      << golden.height() << ") in " << differing << " pixels, first at ("
                      << firstDifference.x() << ", " << firstDifference.y() << "); kept in "
                      << keep;
    }
}
