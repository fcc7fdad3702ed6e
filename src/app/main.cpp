// korvale [DOCUMENT]
// korvale --screenshot FILE [--view graph|map] [--show pip,data,info] [--cursor FEET]
// [DOCUMENT]: renders the main window offscreen into a PNG file (and each side window asked for
// beside it) and ends, for machines without a display and for tests.
// korvale --render OUT.png|OUT.svg [options] DOCUMENT: draws the graph or the map of
// DOCUMENT into a picture without a window (app/RenderOptions.h lists the options).
// korvale --help, korvale --version: print and end.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/AppIcons.h"
#include "app/AppPaths.h"
#include "app/RenderOptions.h"
#include "app/RenderRun.h"
#include "app/Screenshot.h"
#include "app/StartupOptions.h"
#include "app/TKorvaleApp.h"
#include "app/TSDIDecFrame.h"

namespace {

int RenderMain(int argc, char** argv) {
    // A batch picture needs no display.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvale"));
    // Every window (main window, help, tool windows, dialogs) shows the program's icon.
    QApplication::setWindowIcon(AppIcon());
    const TRenderOptions options = ParseRenderOptions(QCoreApplication::arguments());
    if (!options.error.empty()) {
        std::fprintf(stderr, "korvale: %s\n\n%s", options.error.c_str(), options.usage.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(options.usage.c_str(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    const std::string exeDir = QCoreApplication::applicationDirPath().toStdString();
    return RunRender(options, LocateAppPaths(exeDir, UserConfigHome()));
}

}  // namespace

int main(int argc, char** argv) {
    // A batch picture has options of its own (korvale --render OUT --help lists them).
    if (IsRenderCommandLine(argc, argv)) return RenderMain(argc, argv);

    // The command line is read before the display is opened: --help, --version and a
    // mistake in it need none, and a screenshot needs none either.
    TStartupOptions options;
    {
        QCoreApplication reader(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("korvale"));
        options = ParseStartupOptions(QCoreApplication::arguments());
    }
    if (!options.error.empty()) {
        std::fprintf(stderr, "korvale: %s\n\n%s", options.error.c_str(), options.usage.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(options.usage.c_str(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    if (options.version) {
        std::printf("%s\n", VersionText().c_str());
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    if (!options.screenshotFile.empty() && std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);

    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvale"));
    // Every window (main window, help, tool windows, dialogs) shows the program's icon.
    QApplication::setWindowIcon(AppIcon());

    const std::string exeDir = QCoreApplication::applicationDirPath().toStdString();
    // The document path goes to the recent-files list and the settings, which outlive the
    // directory the program was started from.
    std::string document = options.document;
    if (!document.empty()) {
        std::error_code ec;
        const std::filesystem::path absolute = std::filesystem::absolute(document, ec);
        if (!ec) document = absolute.lexically_normal().string();
    }
    const AppPaths paths = LocateAppPaths(exeDir, UserConfigHome());
    if (paths.settingsFile.empty())
        std::fputs(
            "korvale: no usable configuration directory (HOME or XDG_CONFIG_HOME); "
            "running with the default settings, which are not saved\n",
            stderr);
    TKorvaleApp app(paths, document);
    if (!options.screenshotFile.empty()) app.SetNonInteractive(true);
    if (!app.CreateMainWindow()) return 1;

    if (!options.screenshotFile.empty()) return WriteScreenshots(*app.frame(), options) ? 0 : 1;

    app.frame()->show();
    return QApplication::exec();
}
