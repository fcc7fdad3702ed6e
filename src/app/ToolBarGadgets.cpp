#include "app/ToolBarGadgets.h"

#include <QAction>
#include <QPainter>

QToolButton* MakeToolBarButton(QAction* action, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setDefaultAction(action);
    button->setAutoRaise(true);
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    button->setFocusPolicy(Qt::NoFocus);
    button->setObjectName(QStringLiteral("toolButton%1").arg(action->data().toInt()));
    return button;
}

TNewSeparatorGadget::TNewSeparatorGadget(int width, QWidget* parent)
    : QWidget(parent), width_(width) {
    setFixedWidth(width);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
}

QSize TNewSeparatorGadget::sizeHint() const {
    return {width_, 16};
}

void TNewSeparatorGadget::paintEvent(QPaintEvent*) {
    // An etched line: a shadow line with a light line beside it, in the middle, 2 pixels
    // in from the top and bottom.
    QPainter p(this);
    const int x = width() / 2 - 1;
    const int top = 2, bottom = height() - 3;
    p.setPen(palette().color(QPalette::Dark));
    p.drawLine(x, top, x, bottom);
    p.setPen(palette().color(QPalette::Light));
    p.drawLine(x + 1, top, x + 1, bottom);
}
