#include "views/windows/ToolWindow.h"

#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cstdint>
#include <utility>

Qt::WindowFlags ToolWindowFlags() {
    return Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
}

int ToolWindowFontPixels(int logicalDpiY) {
    // 12 * dpi / 72, rounded as a multiply-divide rounds.
    const int64_t product = int64_t(12) * logicalDpiY;
    return int((product + (product >= 0 ? 36 : -36)) / 72);
}

QFont ToolWindowFont(int logicalDpiY) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(std::max(1, ToolWindowFontPixels(logicalDpiY)));
    font.setWeight(QFont::Normal);
    return font;
}

namespace {

QMargins FrameMargins(const QWidget& w) {
    const QRect f = w.frameGeometry();
    const QRect g = w.geometry();
    return {g.left() - f.left(), g.top() - f.top(), f.right() - g.right(), f.bottom() - g.bottom()};
}

}  // namespace

void TToolWindowPlacement::Place(const TWindowRect& rect) {
    placed_ = rect;
    Apply();
}

void TToolWindowPlacement::Apply() {
    if (window_ == nullptr) return;
    // Before the window manager has framed the window its frame is unknown; the main
    // window's frame is the best guess until then.
    QMargins m = FrameMargins(*window_);
    if (m.isNull() && window_->parentWidget() != nullptr)
        m = FrameMargins(*window_->parentWidget()->window());
    window_->move(placed_.x, placed_.y);
    window_->resize(std::max(1, placed_.w - m.left() - m.right()),
                    std::max(1, placed_.h - m.top() - m.bottom()));
}

void TToolWindowPlacement::PlaceUnstored(const TWindowRect& rect, std::function<QSize()> fit) {
    fit_ = std::move(fit);
    Place({rect.x, rect.y, 160, 160});
}

void TToolWindowPlacement::Shown() {
    if (shownOnce_ || window_ == nullptr) return;
    shownOnce_ = true;
    if (fit_) {
        // The content's size, within half the screen's width and most of its height.
        QSize client = fit_();
        fit_ = nullptr;
        const QScreen* screen = window_->screen();
        const QRect area = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
        client = client.boundedTo(QSize(area.width() / 2, area.height() * 8 / 10))
                     .expandedTo(QSize(120, 80));
        QMargins m = FrameMargins(*window_);
        if (m.isNull() && window_->parentWidget() != nullptr)
            m = FrameMargins(*window_->parentWidget()->window());
        placed_.w = client.width() + m.left() + m.right();
        placed_.h = client.height() + m.top() + m.bottom();
        Apply();
    }
    // The frame arrives from the window manager a little after the window is mapped;
    // correct the size once it is known, so that what is stored at close is what was read.
    for (int delay : {50, 250}) {
        QTimer::singleShot(delay, window_.data(), [this] {
            if (window_ == nullptr || FrameMargins(*window_).isNull()) return;
            const QRect f = window_->frameGeometry();
            if (f != QRect(placed_.x, placed_.y, placed_.w, placed_.h)) Apply();
        });
    }
}

TWindowRect TToolWindowPlacement::Rect() const {
    if (!shownOnce_ || window_ == nullptr) return placed_;
    const QRect f = window_->frameGeometry();
    return {f.x(), f.y(), f.width(), f.height()};
}
