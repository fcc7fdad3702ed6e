#include "ui/DialogButtons.h"

#include <QDialog>
#include <QPushButton>

QPushButton* DialogButton(const QString& text, const char* name, int id, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setProperty("controlId", id);
    b->setAutoDefault(false);
    return b;
}

TOkCancel OkCancelButtons(QDialog* dialog) {
    TOkCancel b{DialogButton(QStringLiteral("OK"), "ok", 1, dialog),
                DialogButton(QStringLiteral("Cancel"), "cancel", 2, dialog)};
    b.ok->setDefault(true);
    QObject::connect(b.ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(b.cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return b;
}
