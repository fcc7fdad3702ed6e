// korvale [DOCUMENT]
// korvale --screenshot FILE [--view graph|map] [--show pip,data,info] [--cursor FEET]
// [DOCUMENT]: renders the main window offscreen into a PNG file (and each side window asked for
// beside it) and ends, for machines without a display and for tests. korvale --help, korvale
// --version: print and end.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/AppPaths.h"
#include "app/Screenshot.h"
#include "app/StartupOptions.h"
#include "app/TKorvaleApp.h"
#include "app/TSDIDecFrame.h"

int main(int argc, char** argv) {
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

    const std::string exeDir = QCoreApplication::applicationDirPath().toStdString();
    // The document path goes to the recent-files list and the settings, which outlive the
    // directory the program was started from.
    std::string document = options.document;
    if (!document.empty()) {
        std::error_code ec;
        const std::filesystem::path absolute = std::filesystem::absolute(document, ec);
        if (!ec) document = absolute.lexically_normal().string();
    }
    TKorvaleApp app(LocateAppPaths(exeDir, UserConfigHome()), document);
    if (!options.screenshotFile.empty()) app.SetNonInteractive(true);
    if (!app.CreateMainWindow()) return 1;

    if (!options.screenshotFile.empty()) return WriteScreenshots(*app.frame(), options) ? 0 : 1;

    app.frame()->show();
    return QApplication::exec();
}
