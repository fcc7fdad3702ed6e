#include "replay/ui/TImportLap.h"

#include "replay/ui/TPropListBox.h"

TImportLap::TImportLap(const TImportLapXfer& xfer, const TImportLapSource& source, QWidget* parent)
    : TImportDialog(xfer, source, Ids{102, 101, 103}, 1, parent) {
    setWindowTitle(QStringLiteral("Import Lap"));
    // A plain click selects one lap; Ctrl-click and Shift-click select a stint of them.
    LapList()->setSelectionMode(QAbstractItemView::ExtendedSelection);
    connect(LapList(), &QListWidget::itemDoubleClicked, this, [this] {
        if (!LapList()->SelectedRows().empty()) accept();
    });
    SetUp(true);
}
