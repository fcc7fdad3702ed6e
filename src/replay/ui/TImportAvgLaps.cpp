#include "replay/ui/TImportAvgLaps.h"

#include <QMessageBox>

#include "replay/ui/TPropListBox.h"

TImportAvgLaps::TImportAvgLaps(const TImportLapXfer& xfer, const TImportLapSource& source,
                               QWidget* parent)
    : TImportDialog(xfer, source, Ids{101, 103, 102}, 7, parent) {
    // This dialog has always been untitled.
    setWindowTitle(QString());
    LapList()->setSelectionMode(QAbstractItemView::MultiSelection);
    warn_ = [this](const std::string& title, const std::string& text) {
        QMessageBox::warning(this, QString::fromStdString(title), QString::fromStdString(text));
    };
    connect(LapList(), &QListWidget::itemSelectionChanged, this, [this] {
        if (!checking_) RefusePartialLaps();
    });
    // The first lap of every list is partial, so none is selected to begin with.
    SetUp(false);
}

bool TImportAvgLaps::RefusePartialLaps() {
    TPropListBox* laps = LapList();
    const int n = laps->count();
    if (n == 0) return true;
    QListWidgetItem* first = laps->item(0);
    QListWidgetItem* last = laps->item(n - 1);
    if (!first->isSelected() && !last->isSelected()) return true;
    // The message comes while the refused lap is still shown selected, so that the user sees
    // which one it means; the selections go once it is read.
    if (warn_) warn_(kPartialLapsTitle, kPartialLapsText);
    {
        // Deselecting must not run this check again.
        checking_ = true;
        first->setSelected(false);
        last->setSelected(false);
        checking_ = false;
    }
    return false;
}

void TImportAvgLaps::accept() {
    if (!RefusePartialLaps()) return;
    TImportDialog::accept();
}
