#pragma once
// The push buttons every dialog builds the same way: its text, the name tests find it by,
// its control id, and no auto-default; OK (id 1, the default) and Cancel (id 2) also close
// the dialog.
#include <QString>

class QDialog;
class QPushButton;
class QWidget;

QPushButton* DialogButton(const QString& text, const char* name, int id, QWidget* parent);

struct TOkCancel {
    QPushButton* ok;
    QPushButton* cancel;
};
TOkCancel OkCancelButtons(QDialog* dialog);
