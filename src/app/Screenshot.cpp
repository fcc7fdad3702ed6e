#include "app/Screenshot.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QSaveFile>
#include <QWidget>

#include <cstdio>

#include "app/MapWindows.h"
#include "app/SideWindows.h"
#include "app/StartupOptions.h"
#include "app/TKorvaleWindow.h"
#include "app/TSDIDecFrame.h"
#include "commands/CommandIds.h"
#include "views/graph/TGraphView.h"
#include "views/map/TTrackMapView.h"
#include "views/windows/TDataWindow.h"
#include "views/windows/TPipWindow.h"
#include "views/windows/TReplayInfo.h"

namespace {

void Settle() {
    // Let layouts settle and pending repaints run before a window is grabbed.
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

// Runs a command as its key would; false after saying why when it is not available.
bool Run(TSDIDecFrame& frame, int id, const char* option, const char* why) {
    if (!frame.client()->CommandEnabling(id).enabled) {
        std::fprintf(stderr, "korvale: %s: %s\n", option, why);
        return false;
    }
    frame.Dispatch(id);
    return true;
}

// The shared cursor at feet along the track, as the pointer would leave it: the views draw
// it and the data window shows the laps' values there.
bool PlaceCursor(TKorvaleWindow& window, double feet) {
    const TTrackData* track = window.doc().Track();
    if (track == nullptr || !(track->inchesPerUnit > 0)) {
        std::fprintf(stderr, "korvale: --cursor: the document has no track\n");
        return false;
    }
    window.view().cursorPosition = int32_t(feet * 12 / track->inchesPerUnit);
    window.graph()->CursorMoved();
    if (window.maps().map() != nullptr) window.maps().map()->CursorMoved();
    if (window.maps().pip() != nullptr) window.maps().pip()->CursorMoved();
    window.ShowLapValues(kPointedAtCursor, TelemetryChannel::Position);
    return true;
}

}  // namespace

bool WriteScreenshot(QWidget& window, const std::string& path) {
    window.show();
    Settle();
    const QImage image = window.grab().toImage();
    if (image.isNull()) {
        std::fprintf(stderr, "korvale: cannot write %s: the window could not be drawn\n",
                     path.c_str());
        return false;
    }
    // Whole or not at all: the smoke test polls for the file and must never read half of it.
    QSaveFile file(QString::fromStdString(path));
    if (file.open(QIODevice::WriteOnly) && image.save(&file, "PNG") && file.commit()) return true;
    std::fprintf(stderr, "korvale: cannot write %s: %s\n", path.c_str(),
                 file.errorString().toLocal8Bit().constData());
    return false;
}

bool WriteScreenshots(TSDIDecFrame& frame, const TStartupOptions& options) {
    frame.show();
    Settle();  // the first paint of the graph, which drops any cursor
    TKorvaleWindow& window = *frame.client();
    // A picture of an empty window is no picture of the document asked for: the reader's
    // message is out already, and the run fails naming the file.
    if (!options.document.empty() && window.doc().documentPath().empty()) {
        std::fprintf(stderr, "korvale: %s: the document could not be opened\n",
                     options.document.c_str());
        return false;
    }
    if (options.viewMap && !Run(frame, cmd::Map, "--view map", "the document has no track map"))
        return false;
    if (options.showPip &&
        !Run(frame, cmd::PictureInPicture, "--show pip", "the document has no track map"))
        return false;
    if (options.showInfo && !Run(frame, cmd::Info, "--show info", "the document has no laps"))
        return false;
    if (options.showData && !Run(frame, cmd::Data, "--show data", "the document has no track"))
        return false;
    Settle();
    if (options.cursorFeet && !PlaceCursor(window, *options.cursorFeet)) return false;
    if (!WriteScreenshot(frame, options.screenshotFile)) return false;
    const struct {
        bool asked;
        QWidget* window;
        const char* suffix;
    } sides[] = {{options.showPip, window.pip(), "-pip"},
                 {options.showData, window.sideWindows().dataWindow(), "-data"},
                 {options.showInfo, window.sideWindows().infoWindow(), "-info"}};
    for (const auto& side : sides) {
        if (!side.asked) continue;
        if (side.window == nullptr ||
            !WriteScreenshot(*side.window, SideScreenshotPath(options.screenshotFile, side.suffix)))
            return false;
    }
    return true;
}
