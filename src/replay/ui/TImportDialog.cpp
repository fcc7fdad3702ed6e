#include "replay/ui/TImportDialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/DialogButtons.h"

#include "replay/ui/TPropListBox.h"

TImportDialog::TImportDialog(const TImportLapXfer& xfer, const TImportLapSource& source, Ids ids,
                             int helpTopic, QWidget* parent)
    : QDialog(parent),
      source_(source),
      driverTexts_(xfer.driverTexts),
      lapTimes_(xfer.lapTimes),
      helpTopic_(helpTopic) {
    auto* driversLabel = new QLabel(QStringLiteral("&Drivers"), this);
    driversLabel->setObjectName(QStringLiteral("driversLabel"));
    driverList_ = new TPropListBox(this);
    driverList_->setObjectName(QStringLiteral("driverList"));
    driverList_->setProperty("controlId", ids.driverList);
    driverList_->setSelectionMode(QAbstractItemView::SingleSelection);
    driversLabel->setBuddy(driverList_);
    lapList_ = new TPropListBox(this);
    lapList_->setObjectName(QStringLiteral("lapList"));
    lapList_->setProperty("controlId", ids.lapList);
    // The first caption; set-up replaces it with the caption of the stored mode.
    modeButton_ = DialogButton(QStringLiteral("Lap Speeds"), "modeButton", ids.modeButton, this);

    const auto [ok, cancel] = OkCancelButtons(this);
    helpButton_ = DialogButton(QStringLiteral("Help"), "help", 9, this);
    helpButton_->setEnabled(false);

    auto* layout = new QGridLayout(this);
    layout->addWidget(driversLabel, 0, 0);
    layout->addWidget(driverList_, 1, 0);
    layout->addWidget(lapList_, 1, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(modeButton_);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(helpButton_);
    layout->addLayout(buttons, 1, 2);
    layout->setColumnStretch(0, 3);
    layout->setColumnStretch(1, 2);

    for (const std::string& text : driverTexts_) driverList_->addItem(QString::fromStdString(text));
    if (xfer.selectedDriver >= 0 && xfer.selectedDriver < driverList_->count())
        driverList_->setCurrentRow(xfer.selectedDriver);

    connect(driverList_, &QListWidget::itemSelectionChanged, this,
            [this] { RefillLapList(selectFirstLap_); });
    connect(modeButton_, &QPushButton::clicked, this, [this] { ToggleMode(); });
    connect(helpButton_, &QPushButton::clicked, this, [this] {
        if (help_) help_(helpTopic_);
    });
}

void TImportDialog::SetUp(bool selectFirstLap) {
    selectFirstLap_ = selectFirstLap;
    ToggleMode();
    ToggleMode();
}

void TImportDialog::SetHelpHandler(std::function<void(int topic)> handler) {
    help_ = std::move(handler);
    helpButton_->setEnabled(bool(help_));
}

void TImportDialog::ToggleMode() {
    lapTimes_ = !lapTimes_;
    if (source_.lapTimesChanged) source_.lapTimesChanged(lapTimes_);
    modeButton_->setText(lapTimes_ ? QStringLiteral("Lap Times") : QStringLiteral("Lap Speeds"));
    RefillLapList(selectFirstLap_);
}

void TImportDialog::RefillLapList(bool selectFirst) {
    lapList_->clear();
    const std::vector<int> drivers = driverList_->SelectedRows();
    // With no driver selected there is no chain to walk.
    if (drivers.empty() || !source_.lapTexts) return;
    for (const std::string& text : source_.lapTexts(drivers.front(), lapTimes_))
        lapList_->addItem(QString::fromStdString(text));
    if (selectFirst && lapList_->count() > 0) lapList_->setCurrentRow(0);
}

TImportLapXfer TImportDialog::Result() const {
    TImportLapXfer out;
    out.driverTexts = driverTexts_;
    const std::vector<int> drivers = driverList_->SelectedRows();
    out.selectedDriver = drivers.empty() ? -1 : drivers.front();
    out.selectedLaps.clear();
    for (int row : lapList_->SelectedRows()) out.selectedLaps.push_back(row);
    out.lapTimes = lapTimes_;
    return out;
}
