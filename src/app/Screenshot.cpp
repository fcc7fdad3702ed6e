#include "app/Screenshot.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <cstdio>

#include "app/SideWindows.h"
#include "app/StartupOptions.h"
#include "app/TKorvaleApp.h"
#include "app/TKorvaleWindow.h"
#include "app/TSDIDecFrame.h"
#include "commands/CommandIds.h"
#include "views/graph/TGraphView.h"
#include "views/windows/TDataWindow.h"
#include "views/windows/TReplayInfo.h"

namespace {

void Settle() {
    // Let layouts settle and pending repaints run before a window is grabbed.
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

bool Save(QWidget& window, const std::string& path) {
    const QImage image = window.grab().toImage();
    if (!image.isNull() && image.save(QString::fromStdString(path), "PNG")) return true;
    std::fprintf(stderr, "korvale: cannot write the screenshot %s\n", path.c_str());
    return false;
}

// Runs a command of the main window the way its key would; false when it is disabled.
bool Run(TKorvaleWindow& window, int id, const char* what) {
    if (window.CommandEnabling(id).enabled) {
        window.RunCommand(id);
        return true;
    }
    std::fprintf(stderr, "korvale: the %s cannot be opened on this document\n", what);
    return false;
}

}  // namespace

bool WriteScreenshot(QWidget& window, const std::string& path) {
    window.show();
    Settle();
    const QImage image = window.grab().toImage();
    return !image.isNull() && image.save(QString::fromStdString(path), "PNG");
}

bool WriteProgramScreenshots(TKorvaleApp& app, const TStartupOptions& options) {
    TSDIDecFrame& frame = *app.frame();
    TKorvaleWindow& window = *app.window();
    frame.show();
    Settle();  // the first paint of the graph, which drops any cursor
    bool ok = true;
    if (options.showInfo) ok = Run(window, cmd::Info, "lap list (Info)") && ok;
    if (options.showData) ok = Run(window, cmd::Data, "data window (Data)") && ok;
    if (options.cursorFeet) {
        const TTrackData* track = CurrentTrack(window.context());
        if (track == nullptr || !(track->inchesPerUnit > 0)) {
            std::fprintf(stderr, "korvale: --cursor needs a document with a track\n");
            ok = false;
        } else {
            window.view().cursorPosition = int32_t(*options.cursorFeet * 12 / track->inchesPerUnit);
            window.graph()->CursorMoved();
            window.sideWindows().ShowLapValues(kPointedAtCursor, ChannelPosition);
        }
    }
    Settle();
    ok = Save(frame, options.screenshotFile) && ok;
    if (options.showData && !window.sideWindows().dataWindow()->isHidden())
        ok = Save(*window.sideWindows().dataWindow(),
                  SideScreenshotPath(options.screenshotFile, "-data")) &&
             ok;
    if (options.showInfo && !window.sideWindows().infoWindow()->isHidden())
        ok = Save(*window.sideWindows().infoWindow(),
                  SideScreenshotPath(options.screenshotFile, "-info")) &&
             ok;
    return ok;
}
