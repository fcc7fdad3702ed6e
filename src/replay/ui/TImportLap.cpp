#include "replay/ui/TImportLap.h"

#include "replay/ui/TPropListBox.h"

TImportLap::TImportLap(const TImportLapXfer& xfer, const TImportLapSource& source, QWidget* parent)
    : TImportDialog(xfer, source, Ids{102, 101, 103}, 1, parent) {
    setWindowTitle(QStringLiteral("Import Lap"));
    LapList()->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(LapList(), &QListWidget::itemDoubleClicked, this, [this] {
        if (!LapList()->SelectedRows().empty()) accept();
    });
    SetUp(true);
}
