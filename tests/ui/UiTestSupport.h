#pragma once
// Finding a dialog's controls by objectName and acting on them as the user would.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QListWidget>
#include <QMouseEvent>
#include <QString>
#include <QStringList>
#include <string>
#include <vector>

namespace ui_test {

template <class W>
W* Find(QWidget* dialog, const char* name) {
    W* w = dialog->findChild<W*>(QLatin1String(name));
    EXPECT_NE(w, nullptr) << "no control named " << name;
    return w;
}

inline void Click(QWidget* dialog, const char* name) {
    if (auto* b = Find<QAbstractButton>(dialog, name)) b->click();
}

inline QStringList Texts(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

inline std::vector<int> SelectedRows(const QListWidget* list) {
    std::vector<int> rows;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->isSelected()) rows.push_back(i);
    return rows;
}

// A press and release (or a double click) on a row, through the list's viewport as a mouse
// would deliver it.
inline void MouseOnRow(QListWidget* list, int row, bool doubleClick = false,
                       Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QPoint at = list->visualItemRect(list->item(row)).center();
    QWidget* port = list->viewport();
    const QPointF local(at);
    const QPointF global(port->mapToGlobal(at));
    auto send = [&](QEvent::Type type, Qt::MouseButtons buttons) {
        QMouseEvent e(type, local, global, Qt::LeftButton, buttons, modifiers);
        QApplication::sendEvent(port, &e);
    };
    send(QEvent::MouseButtonPress, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::NoButton);
    if (doubleClick) {
        send(QEvent::MouseButtonDblClick, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, Qt::NoButton);
    }
}

inline QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace ui_test
