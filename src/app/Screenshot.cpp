#include "app/Screenshot.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QWidget>

bool WriteScreenshot(QWidget& window, const std::string& path) {
    window.show();
    // Let layouts settle and pending repaints run before the window is grabbed.
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
    const QImage image = window.grab().toImage();
    return !image.isNull() && image.save(QString::fromStdString(path), "PNG");
}
