#pragma once
// Tool-bar pieces: flat buttons that raise their border under the mouse, and separators
// drawn as an etched double line.

#include <QToolButton>
#include <QWidget>

class QAction;

// A tool button for one command: flat until hovered (autoRaise), its border shown while
// hot and enabled or while pressed.
QToolButton* MakeToolBarButton(QAction* action, QWidget* parent);

class TNewSeparatorGadget : public QWidget {
  public:
    TNewSeparatorGadget(int width, QWidget* parent);
    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int width_;
};
