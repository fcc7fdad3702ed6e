#pragma once

#include <QWidget>

class QLabel;

// The main client window. It hosts the telemetry graph and owns the document; until the
// graph view and the document state are in the tree, it shows a marked empty area.
class TKorvaleWindow : public QWidget {
    Q_OBJECT
public:
    explicit TKorvaleWindow(QWidget* parent = nullptr);

    // Close check: the save question and the settings written on close. With no document
    // state yet there is nothing unsaved, so closing may go on.
    bool CanClose();

    // The status-bar text field the window writes its readouts into.
    void SetStatusField(QLabel* field) { status_ = field; }

private:
    QLabel* status_ = nullptr;
};
