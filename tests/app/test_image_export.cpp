// Export Image and korvale --render: the pictures are what the window shows, the SVG keeps
// one path per lap curve, and the command line refuses what it cannot draw.
#include <sys/wait.h>

#include <QApplication>
#include <QFile>
#include <QScrollBar>
#include <QXmlStreamReader>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>

#include "AppFixture.h"
#include "app/ExportImageCommand.h"
#include "app/ImageExport.h"
#include "app/MapWindows.h"
#include "app/RenderOptions.h"
#include "commands/CommandIds.h"
#include "commands/MapColour.h"
#include "commands/QuietPrompts.h"
#include "views/graph/TGraphView.h"
#include "views/map/TTrackMapView.h"

using namespace app_test;

namespace {

// The size dialog and the file dialog answered by the test; messages kept.
class ImagePrompts : public TQuietPrompts {
  public:
    std::optional<TExportImageXfer> size;
    std::optional<std::string> file;
    std::vector<std::string> asked;
    std::vector<std::string> messages;
    TFileDialogXfer fileXfer;

    bool ExportImageSize(TExportImageXfer& x) override {
        asked.push_back("size " + std::to_string(x.windowWidth) + "x" +
                        std::to_string(x.windowHeight));
        if (!size) return false;
        const TExportImageXfer in = x;
        x = *size;
        x.windowWidth = in.windowWidth;
        x.windowHeight = in.windowHeight;
        return true;
    }
    bool SaveFileDialog(TFileDialogXfer& x) override {
        asked.push_back("file " + x.title);
        fileXfer = x;
        if (!file) return false;
        x.path = *file;
        return true;
    }
    TMsgAnswer MessageBox(const std::string& title, const std::string& text, TMsgIcon,
                          TMsgButtons) override {
        messages.push_back(title + " | " + text);
        return TMsgAnswer::Ok;
    }
};

QImage Rgb32(const QImage& image) {
    return image.convertToFormat(QImage::Format_RGB32);
}

// The number of pixels in which two pictures of one size differ; -1 for different sizes.
int Differing(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return -1;
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) ++n;
    return n;
}

// The stroke colour of every <path> of an SVG file (inherited from its groups), with the
// number of <text> elements; false when the file is not well-formed XML.
struct TSvgSummary {
    std::map<std::string, int> pathsByStroke;
    int texts = 0;
    int images = 0;
    std::string allText;
};
bool ReadSvg(const std::string& path, TSvgSummary& out) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return false;
    QXmlStreamReader xml(&file);
    std::vector<std::string> strokes{"none"};
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const auto attributes = xml.attributes();
            strokes.push_back(
                attributes.hasAttribute(QStringLiteral("stroke"))
                    ? attributes.value(QStringLiteral("stroke")).toString().toStdString()
                    : strokes.back());
            if (xml.name() == QStringLiteral("path")) ++out.pathsByStroke[strokes.back()];
            if (xml.name() == QStringLiteral("image")) ++out.images;
            if (xml.name() == QStringLiteral("text")) {
                ++out.texts;
                out.allText += xml.readElementText().toStdString() + "\n";
                strokes.pop_back();
            }
        } else if (xml.isEndElement()) {
            strokes.pop_back();
        }
    }
    return !xml.hasError();
}

std::string Hex(const Rgb& c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "#%02x%02x%02x", c.r, c.g, c.b);
    return buf;
}

class ImageExportTest : public AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        NotFirstRun();
        ASSERT_TRUE(Start(Sample()));
        ASSERT_EQ(window().doc().laps().Count(), 3);
        frame().show();
        for (int i = 0; i < 3; ++i) QApplication::processEvents();
    }
    // The window's own document and view with the test's prompts.
    TCommandContext Context() {
        return {window().doc(),    window().view(),     window().session(),
                window().tracks(), window().settings(), prompts};
    }
    QImage Grab() { return Rgb32(window().graph()->grab().toImage()); }
    QImage Rendered(QSize size) {
        return RenderViewImage(window().context(), TImageView::Graph, size,
                               window().graph()->logicalDpiY());
    }
    ImagePrompts prompts;
};

int RunKorvale(const std::string& args, std::string* errors = nullptr) {
    const std::string err =
        (fs::temp_directory_path() / ("korvale-render-err-" + std::to_string(::getpid()))).string();
    const std::string command = "env QT_QPA_PLATFORM=offscreen '" + std::string(KORVALE_BIN_DIR) +
                                "/korvale' " + args + " 2>'" + err + "'";
    const int status = std::system(command.c_str());
    if (errors != nullptr) {
        std::ifstream in(err);
        *errors = std::string((std::istreambuf_iterator<char>(in)), {});
    }
    fs::remove(err);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

TEST_F(ImageExportTest, ThePictureAtTheWindowsSizeIsTheGraphOnScreenZoomedOrNot) {
    const QSize size = window().graph()->size();
    ASSERT_GT(size.width(), 100);
    EXPECT_EQ(Differing(Rendered(size), Grab()), 0);

    // Zoomed into the middle, on other axes: still the screen's pixels.
    window().graph()->SetAxes(TelemetryChannel::Time, TelemetryChannel::LateralForce,
                              TelemetryChannel::Speed);
    TGraphViewState& graph = window().view().graph;
    const double span = graph.fullRange.x.max - graph.fullRange.x.min;
    graph.viewRange.x = {graph.fullRange.x.min + span / 4, graph.fullRange.x.max - span / 4};
    window().graph()->FullRepaint();
    QApplication::processEvents();
    EXPECT_EQ(Differing(Rendered(size), Grab()), 0);

    // Regression: the picture left out the time-delta strip and the legend.
    window().graph()->SetAxes(TelemetryChannel::Position, TelemetryChannel::Speed,
                              TelemetryChannel::None);
    window().view().analysis.deltaShown = true;
    window().view().graph.legendShown = true;
    window().graph()->FullRepaint();
    QApplication::processEvents();
    EXPECT_EQ(Differing(Rendered(size), Grab()), 0);
}

TEST_F(ImageExportTest, ExportWritesPngAtTheWindowsOrATypedSizeAndRemembersTheTypedOne) {
    TCommandContext ctx = Context();
    const QSize windowSize = window().graph()->size();
    const int dpi = window().graph()->logicalDpiY();
    prompts.size = TExportImageXfer{};
    prompts.file = (dir / "window.png").string();
    ASSERT_TRUE(ExportImageCommand(ctx, TImageView::Graph, windowSize, dpi));
    EXPECT_EQ(prompts.fileXfer.filter, kImageFilter);
    EXPECT_EQ(Differing(Rgb32(QImage(QString::fromStdString(*prompts.file))), Grab()), 0);

    TExportImageXfer typed;
    typed.windowSize = false;
    typed.width = 1234;
    typed.height = 567;
    prompts.size = typed;
    prompts.file = (dir / "typed.png").string();
    ASSERT_TRUE(ExportImageCommand(ctx, TImageView::Graph, windowSize, dpi));
    const QImage image(QString::fromStdString(*prompts.file));
    EXPECT_EQ(image.size(), QSize(1234, 567));
    EXPECT_EQ(Differing(Rgb32(image), Rendered(QSize(1234, 567))), 0);
    // The next export offers the typed size again.
    prompts.size.reset();
    EXPECT_FALSE(ExportImageCommand(ctx, TImageView::Graph, windowSize, dpi));
    EXPECT_EQ(window().session().imageWidth, 1234);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(ImageExportTest, TheSvgIsXmlWithOnePathPerLapCurveAndTextAsText) {
    window().graph()->SetAxes(TelemetryChannel::Position, TelemetryChannel::Speed,
                              TelemetryChannel::Line);
    TCommandContext ctx = Context();
    prompts.size = TExportImageXfer{};
    prompts.file = (dir / "graph.svg").string();
    ASSERT_TRUE(ExportImageCommand(ctx, TImageView::Graph, QSize(900, 600), 96));
    TSvgSummary svg;
    ASSERT_TRUE(ReadSvg(*prompts.file, svg));
    // Two curves per lap with the second y-axis on, each lap's in its own colour.
    for (int n = 0; n < 3; ++n)
        EXPECT_EQ(svg.pathsByStroke[Hex(window().doc().laps().At(n).colour)], 2) << n;
    EXPECT_GT(svg.texts, 5);
    EXPECT_NE(svg.allText.find("Speed"), std::string::npos);
    EXPECT_NE(svg.allText.find("Position"), std::string::npos);

    // Regression: the legend and the time-delta strip (its scale's label) were left out.
    window().view().analysis.deltaShown = true;
    window().view().graph.legendShown = true;
    prompts.file = (dir / "graph-delta.svg").string();
    ASSERT_TRUE(ExportImageCommand(ctx, TImageView::Graph, QSize(900, 600), 96));
    TSvgSummary withStrip;
    ASSERT_TRUE(ReadSvg(*prompts.file, withStrip));
    const std::string name = window().doc().laps().At(1).driverName;
    EXPECT_NE(withStrip.allText.find(name), std::string::npos) << withStrip.allText;
    EXPECT_GE(withStrip.images, 1);
}

TEST_F(ImageExportTest, CancelOrAnUnwritablePlaceWritesNothingAndSaysWhy) {
    TCommandContext ctx = Context();
    // Cancelling the size dialog asks for no file.
    EXPECT_FALSE(ExportImageCommand(ctx, TImageView::Graph, QSize(400, 300), 96));
    EXPECT_EQ(prompts.asked, std::vector<std::string>{"size 400x300"});

    prompts.size = TExportImageXfer{};
    prompts.file = (dir / "no" / "such" / "dir.png").string();
    EXPECT_FALSE(ExportImageCommand(ctx, TImageView::Graph, QSize(400, 300), 96));
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].rfind("Export Image | Unable to write " + *prompts.file, 0), 0u)
        << prompts.messages[0];
    EXPECT_FALSE(fs::exists(dir / "no"));

    // A size beyond the limit is refused before anything is written over the file.
    prompts.messages.clear();
    std::ofstream(dir / "kept.png") << "old";
    TExportImageXfer huge;
    huge.windowSize = false;
    huge.width = kMaxImageWidth + 1;
    huge.height = 10;
    prompts.size = huge;
    prompts.file = (dir / "kept.png").string();
    EXPECT_FALSE(ExportImageCommand(ctx, TImageView::Graph, QSize(400, 300), 96));
    ASSERT_EQ(prompts.messages.size(), 1u);
    std::ifstream kept(dir / "kept.png");
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(kept)), {}), "old");
}

TEST_F(ImageExportTest, RenderFromTheCommandLineEqualsAGrabOfTheSameWindow) {
    // The graph view of this window made 640 x 400, as --size asks.
    TGraphView view(window().context());
    view.resize(640, 400);
    view.show();
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
    const QImage grab = Rgb32(view.grab().toImage());

    const std::string png = (dir / "cli.png").string();
    ASSERT_EQ(RunKorvale("--render '" + png + "' --size 640x400 '" + Sample("cli.kvl") + "'"), 0);
    EXPECT_EQ(Differing(Rgb32(QImage(QString::fromStdString(png))), grab), 0);

    // Axes and range from the command line: the same as choosing them in the window.
    window().graph()->SetAxes(TelemetryChannel::Time, TelemetryChannel::SlipAngle,
                              TelemetryChannel::None);
    window().view().graph.viewRange.x = {10, 30};
    const std::string zoomed = (dir / "zoomed.png").string();
    ASSERT_EQ(RunKorvale("--render '" + zoomed +
                         "' --size 640x400 --x time --y 'slip angle' --y2 none --range 10:30 '" +
                         Sample("cli.kvl") + "'"),
              0);
    // The repaint flag is shared with the main window's graph, which may have painted since.
    view.FullRepaint();
    const QImage zoomedGrab = Rgb32(view.grab().toImage());
    EXPECT_EQ(Differing(Rgb32(QImage(QString::fromStdString(zoomed))), zoomedGrab), 0);

    const std::string svg = (dir / "cli.svg").string();
    ASSERT_EQ(RunKorvale("--render '" + svg + "' '" + Sample("cli.kvl") + "'"), 0);
    TSvgSummary summary;
    EXPECT_TRUE(ReadSvg(svg, summary));
}

TEST_F(ImageExportTest, RenderRefusesBadOptionsAndDocumentsWithAMessage) {
    const std::string out = "'" + (dir / "x.png").string() + "' ";
    const std::string sample = "'" + Sample() + "'";
    std::string errors;
    const std::pair<std::string, std::string> bad[] = {
        {"--size 0x10 ", "--size"},
        {"--size 8000x100 ", "--size"},
        {"--size 12 ", "--size"},
        {"--view plan ", "--view"},
        {"--x speed ", "--x"},
        {"--y sped ", "--y"},
        {"--y2 zero ", "--y2"},
        {"--range 5:1 ", "--range"},
        {"--range a:b ", "--range"},
        {"--colour-by speed ", "--view map"},
        {"--colour-by time --view map ", "--colour-by"},
        {"--frobnicate ", "frobnicate"},
    };
    for (const auto& [options, said] : bad) {
        EXPECT_EQ(RunKorvale("--render " + out + options + sample, &errors), 2) << options;
        EXPECT_NE(errors.find(said), std::string::npos) << options << ": " << errors;
    }
    EXPECT_EQ(RunKorvale("--render " + out, &errors), 2);
    EXPECT_NE(errors.find("DOCUMENT"), std::string::npos) << errors;

    // A document that is not there, or not a document: the open message, exit 1.
    EXPECT_EQ(RunKorvale("--render " + out + "'" + (dir / "none.kvl").string() + "'", &errors), 1);
    EXPECT_NE(errors.find("Open Error"), std::string::npos) << errors;
    std::ofstream(dir / "junk.kvl") << "not a document";
    EXPECT_EQ(RunKorvale("--render " + out + "'" + (dir / "junk.kvl").string() + "'", &errors), 1);
    EXPECT_FALSE(fs::exists(dir / "x.png"));
}

// The map as the window shows it, coloured by speed through the View menu.
class MapImageExportTest : public ImageExportTest {
  protected:
    void SetUp() override {
        ImageExportTest::SetUp();
        ASSERT_TRUE(window().RunCommand(cmd::Map));
        ASSERT_TRUE(window().RunCommand(cmd::ColourMapSpeed));
        for (int i = 0; i < 3; ++i) QApplication::processEvents();
        ASSERT_EQ(window().view().viewMode, ViewMap);
    }
    TTrackMapView& Map() { return *window().maps().map(); }
    QImage MapGrab() { return Rgb32(Map().viewport()->grab().toImage()); }
    TMapPicture Picture() { return {Map().State(), Map().ClientSize(), &Map().Lines()}; }
};

TEST_F(MapImageExportTest, ThePictureAtTheWindowsSizeIsTheColouredMapOnScreen) {
    const QSize client = Map().ClientSize();
    ASSERT_GT(client.width(), 100);
    const TMapPicture picture = Picture();
    EXPECT_EQ(Differing(RenderViewImage(window().context(), TImageView::Map, client, 96, &picture),
                        MapGrab()),
              0);
    // The choice is kept in the settings file for the next start.
    EXPECT_EQ(ReadMapColourSetting(window().settings()), TMapColour::Speed);

    // Through the menu's command, as PNG; Lap Colours again gives the map as it always was.
    TCommandContext ctx = Context();
    prompts.size = TExportImageXfer{};
    prompts.file = (dir / "map.png").string();
    ASSERT_TRUE(ExportImageCommand(ctx, TImageView::Map, client, 96, &picture));
    EXPECT_EQ(Differing(Rgb32(QImage(QString::fromStdString(*prompts.file))), MapGrab()), 0);
    ASSERT_TRUE(window().RunCommand(cmd::ColourMapLaps));
    QApplication::processEvents();
    EXPECT_GT(Differing(Rgb32(QImage(QString::fromStdString(*prompts.file))), MapGrab()), 0);
}

TEST_F(MapImageExportTest, TheMapsSvgIsXmlWithOnePathPerLap) {
    TCommandContext ctx = Context();
    const TMapPicture picture = Picture();
    prompts.size = TExportImageXfer{};
    prompts.file = (dir / "map.svg").string();
    ASSERT_TRUE(ExportImageCommand(ctx, TImageView::Map, picture.client, 96, &picture));
    TSvgSummary svg;
    ASSERT_TRUE(ReadSvg(*prompts.file, svg));
    for (int n = 0; n < 3; ++n)
        EXPECT_EQ(svg.pathsByStroke[Hex(window().doc().laps().At(n).colour)], 1) << n;
    EXPECT_EQ(svg.pathsByStroke["#000000"], 3);  // the two edges and the start/finish line
    EXPECT_NE(svg.allText.find("Speed (mph)"), std::string::npos) << svg.allText;
}

TEST_F(MapImageExportTest, RenderOfTheMapFromTheCommandLineEqualsTheFittedWindow) {
    // A map window whose client is 640 x 400, fitted as the Map command fits it.
    TTrackMapView view(window().context(), Map().Lines());
    view.resize(640 + view.verticalScrollBar()->sizeHint().width(),
                400 + view.horizontalScrollBar()->sizeHint().height());
    view.show();
    view.Enter();
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
    ASSERT_EQ(view.ClientSize(), QSize(640, 400));
    const QImage grab = Rgb32(view.viewport()->grab().toImage());

    const std::string png = (dir / "map-cli.png").string();
    std::string errors;
    ASSERT_EQ(RunKorvale("--render '" + png + "' --view map --size 640x400 --colour-by speed '" +
                             Sample("cli.kvl") + "'",
                         &errors),
              0)
        << errors;
    EXPECT_EQ(Differing(Rgb32(QImage(QString::fromStdString(png))), grab), 0);
    const std::string svg = (dir / "map-cli.svg").string();
    ASSERT_EQ(RunKorvale("--render '" + svg + "' --view map '" + Sample("cli.kvl") + "'"), 0);
    TSvgSummary summary;
    EXPECT_TRUE(ReadSvg(svg, summary));
}

TEST(RenderOptionsTest, ChannelNamesAreTheAxisMenusInAnySpelling) {
    EXPECT_EQ(RenderChannelByName("time", 0), TelemetryChannel::Time);
    EXPECT_EQ(RenderChannelByName("Position", 0), TelemetryChannel::Position);
    EXPECT_EQ(RenderChannelByName("speed", 0), std::nullopt);
    EXPECT_EQ(RenderChannelByName("In-line Force", 1), TelemetryChannel::InlineForce);
    EXPECT_EQ(RenderChannelByName("inline-force", 1), TelemetryChannel::InlineForce);
    EXPECT_EQ(RenderChannelByName("LATERAL FORCE", 2), TelemetryChannel::LateralForce);
    EXPECT_EQ(RenderChannelByName("none", 2), TelemetryChannel::None);
    EXPECT_EQ(RenderChannelByName("none", 1), std::nullopt);
    TMapColour colour = TMapColour::Laps;
    EXPECT_TRUE(MapColourByName("time-delta", colour));
    EXPECT_EQ(colour, TMapColour::TimeDelta);
    EXPECT_TRUE(MapColourByName("In-line Force", colour));
    EXPECT_EQ(colour, TMapColour::InlineForce);
    EXPECT_FALSE(MapColourByName("position", colour));
    EXPECT_EQ(ImageFormatFor("a/b.SVG"), TImageFormat::Svg);
    EXPECT_EQ(ImageFormatFor("svg"), TImageFormat::Png);
}
