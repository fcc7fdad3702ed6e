#include "app/LockKeyIndicators.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>

namespace {
QLabel* Indicator(const QString& name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) + 8);
    return label;
}
}  // namespace

TLockKeyIndicators::TLockKeyIndicators(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    caps_ = Indicator(QStringLiteral("capsIndicator"), this);
    num_ = Indicator(QStringLiteral("numIndicator"), this);
    scroll_ = Indicator(QStringLiteral("scrollIndicator"), this);
    layout->addWidget(caps_);
    layout->addWidget(num_);
    layout->addWidget(scroll_);
    if (const auto leds = ReadLockKeyLeds()) state_ = *leds;
    Refresh();
    qApp->installEventFilter(this);
}

TLockKeyIndicators::~TLockKeyIndicators() {
    qApp->removeEventFilter(this);
}

void TLockKeyIndicators::SetState(const TLockKeyState& state) {
    state_ = state;
    Refresh();
}

void TLockKeyIndicators::Refresh() {
    caps_->setText(state_.caps ? QStringLiteral("CAPS") : QString());
    num_->setText(state_.num ? QStringLiteral("NUM") : QString());
    scroll_->setText(state_.scroll ? QStringLiteral("SCRL") : QString());
}

bool TLockKeyIndicators::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyRelease) {
        const auto* ke = static_cast<QKeyEvent*>(event);
        const int key = ke->key();
        // A key event passes the filter once per widget it propagates through.
        const bool seen = ke->timestamp() == lastTimestamp_ && key == lastKey_;
        lastTimestamp_ = ke->timestamp();
        lastKey_ = key;
        if (!seen &&
            (key == Qt::Key_CapsLock || key == Qt::Key_NumLock || key == Qt::Key_ScrollLock)) {
            if (const auto leds = ReadLockKeyLeds()) {
                state_ = *leds;
            } else if (key == Qt::Key_CapsLock) {
                state_.caps = !state_.caps;
            } else if (key == Qt::Key_NumLock) {
                state_.num = !state_.num;
            } else {
                state_.scroll = !state_.scroll;
            }
            Refresh();
        }
    }
    return QWidget::eventFilter(watched, event);
}
