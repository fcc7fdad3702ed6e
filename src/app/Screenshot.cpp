#include "app/Screenshot.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <cstdio>

#include "app/StartupOptions.h"
#include "app/TKorvaleWindow.h"
#include "app/TSDIDecFrame.h"
#include "commands/CommandIds.h"

namespace {

void Settle() {
    // Let layouts settle and pending repaints run before a window is grabbed.
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

}  // namespace

bool WriteScreenshot(QWidget& window, const std::string& path) {
    window.show();
    Settle();
    const QImage image = window.grab().toImage();
    return !image.isNull() && image.save(QString::fromStdString(path), "PNG");
}

bool WriteScreenshots(TSDIDecFrame& frame, const TStartupOptions& options) {
    frame.show();
    Settle();
    TKorvaleWindow& window = *frame.client();
    if (options.viewMap) {
        if (!window.CommandEnabling(cmd::Map).enabled) {
            std::fprintf(stderr, "korvale: --view map: the document has no track map\n");
            return false;
        }
        frame.Dispatch(cmd::Map);
    }
    if (options.showPip) {
        if (!window.CommandEnabling(cmd::PictureInPicture).enabled) {
            std::fprintf(stderr, "korvale: --show pip: the document has no track map\n");
            return false;
        }
        frame.Dispatch(cmd::PictureInPicture);
    }
    Settle();
    if (!WriteScreenshot(frame, options.screenshotFile)) return false;
    if (options.showPip) {
        QWidget* pip = window.pip();
        if (pip == nullptr ||
            !WriteScreenshot(*pip, SideScreenshotPath(options.screenshotFile, "-pip")))
            return false;
    }
    return true;
}
