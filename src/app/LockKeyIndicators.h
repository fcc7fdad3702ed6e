#pragma once
// The Caps Lock, Num Lock and Scroll Lock indicators at the right of the status bar.

#include <QWidget>

#include "app/LockKeys.h"

class QLabel;

class TLockKeyIndicators : public QWidget {
    Q_OBJECT
  public:
    explicit TLockKeyIndicators(QWidget* parent);
    ~TLockKeyIndicators() override;

    const TLockKeyState& state() const { return state_; }
    void SetState(const TLockKeyState& state);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Refresh();

    TLockKeyState state_;
    quint64 lastTimestamp_ = 0;
    int lastKey_ = 0;
    QLabel* caps_;
    QLabel* num_;
    QLabel* scroll_;
};
