#include "replay/ui/TImportAvgLaps.h"

#include <QMessageBox>
#include <QMouseEvent>

#include <algorithm>

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
    LapList()->viewport()->installEventFilter(this);
    // The first lap of every list is partial, so none is selected to begin with.
    SetUp(false);
}

bool TImportAvgLaps::eventFilter(QObject* watched, QEvent* event) {
    if (watched == LapList()->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto* e = static_cast<const QMouseEvent*>(event);
        if (e->button() == Qt::LeftButton && (e->modifiers() & Qt::ShiftModifier)) {
            const int row = LapList()->indexAt(e->position().toPoint()).row();
            if (row >= 0) {
                SelectRange(LapList()->currentRow(), row);
                return true;
            }
        }
    }
    return TImportDialog::eventFilter(watched, event);
}

void TImportAvgLaps::SelectRange(int from, int to) {
    TPropListBox* laps = LapList();
    const int n = laps->count();
    if (from < 0) from = to;
    checking_ = true;
    for (int r = std::min(from, to); r <= std::max(from, to); ++r)
        if (r > 0 && r < n - 1) laps->item(r)->setSelected(true);
    checking_ = false;
    laps->setCurrentRow(to, QItemSelectionModel::NoUpdate);
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
