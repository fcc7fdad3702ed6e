#include "replay/ui/TChooseLap.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/DialogButtons.h"

TChooseLap::TChooseLap(const TChooseLapXfer& xfer, QWidget* parent)
    : QDialog(parent), texts_(xfer.texts) {
    setWindowTitle(QStringLiteral("Select a Lap"));
    combo_ = new QComboBox(this);
    combo_->setObjectName(QStringLiteral("lapCombo"));
    combo_->setProperty("controlId", 101);
    combo_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    for (const std::string& text : texts_) combo_->addItem(QString::fromStdString(text));
    if (xfer.selection >= 0 && xfer.selection < combo_->count())
        combo_->setCurrentIndex(xfer.selection);

    const auto [ok, cancel] = OkCancelButtons(this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(combo_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
}

TChooseLapXfer TChooseLap::Result() const {
    TChooseLapXfer out;
    out.texts = texts_;
    out.selection = combo_->currentIndex();
    return out;
}
