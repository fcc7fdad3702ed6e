#include "app/TStackedChannelsDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

#include "ui/DialogButtons.h"

TStackedChannelsDlg::TStackedChannelsDlg(const TStackedChannelsXfer& xfer, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("stackedChannelsDialog"));
    setWindowTitle(QStringLiteral("Stacked Channels"));
    auto* label = new QLabel(QStringLiteral("&Channels, top pane first:"), this);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("stackedChannelList"));
    label->setBuddy(list_);
    // The chosen channels first, in their order, then the others.
    std::vector<TelemetryChannel> order;
    for (TelemetryChannel c : xfer.channels)
        if (ChannelNumber(c) >= 0 && c <= TelemetryChannel::SlipAngle &&
            std::find(order.begin(), order.end(), c) == order.end())
            order.push_back(c);
    const size_t chosen = order.size();
    for (int n = 0; n <= ChannelNumber(TelemetryChannel::SlipAngle); ++n)
        if (std::find(order.begin(), order.end(), static_cast<TelemetryChannel>(n)) == order.end())
            order.push_back(static_cast<TelemetryChannel>(n));
    for (size_t i = 0; i < order.size(); ++i) {
        auto* item = new QListWidgetItem(QString::fromLatin1(ChannelName(order[i])), list_);
        item->setData(Qt::UserRole, ChannelNumber(order[i]));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(i < chosen ? Qt::Checked : Qt::Unchecked);
    }
    list_->setCurrentRow(0);
    up_ = DialogButton(QStringLiteral("&Up"), "upButton", 0, this);
    down_ = DialogButton(QStringLiteral("&Down"), "downButton", 0, this);
    connect(up_, &QPushButton::clicked, this, [this] { Move(-1); });
    connect(down_, &QPushButton::clicked, this, [this] { Move(1); });
    connect(list_, &QListWidget::currentRowChanged, this, [this] { Update(); });
    connect(list_, &QListWidget::itemChanged, this, [this] { Update(); });
    const TOkCancel buttons = OkCancelButtons(this);
    ok_ = buttons.ok;

    auto* side = new QVBoxLayout;
    side->addWidget(up_);
    side->addWidget(down_);
    side->addStretch();
    side->addWidget(buttons.ok);
    side->addWidget(buttons.cancel);
    auto* left = new QVBoxLayout;
    left->addWidget(label);
    left->addWidget(list_);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addLayout(side);
    Update();
}

void TStackedChannelsDlg::Move(int by) {
    const int row = list_->currentRow(), to = row + by;
    if (row < 0 || to < 0 || to >= list_->count()) return;
    QListWidgetItem* item = list_->takeItem(row);
    list_->insertItem(to, item);
    list_->setCurrentRow(to);
}

void TStackedChannelsDlg::Update() {
    const int row = list_->currentRow();
    up_->setEnabled(row > 0);
    down_->setEnabled(row >= 0 && row + 1 < list_->count());
    ok_->setEnabled(!Result().channels.empty());
}

TStackedChannelsXfer TStackedChannelsDlg::Result() const {
    TStackedChannelsXfer x;
    for (int i = 0; i < list_->count(); ++i) {
        const QListWidgetItem* item = list_->item(i);
        if (item->checkState() == Qt::Checked)
            x.channels.push_back(static_cast<TelemetryChannel>(item->data(Qt::UserRole).toInt()));
    }
    return x;
}
