#include "replay/ui/TChooseCompFile.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/DialogButtons.h"

TChooseCompFile::TChooseCompFile(const TChooseCompFileXfer& xfer, QWidget* parent)
    : QDialog(parent), names_(xfer.names) {
    setWindowTitle(QStringLiteral("Import Replay"));
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("memberList"));
    list_->setProperty("controlId", 101);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    for (const std::string& name : names_) list_->addItem(QString::fromStdString(name));
    if (list_->count() > 0) list_->setCurrentRow(0);

    const auto [ok, cancel] = OkCancelButtons(this);
    helpButton_ = DialogButton(QStringLiteral("Help"), "help", 9, this);
    helpButton_->setEnabled(false);
    connect(helpButton_, &QPushButton::clicked, this, [this] {
        if (help_) help_(kHelpTopic);
    });
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] {
        if (!list_->selectedItems().isEmpty()) accept();
    });

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(list_, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(helpButton_);
    buttons->addStretch(1);
    layout->addLayout(buttons);
}

void TChooseCompFile::SetHelpHandler(std::function<void(int topic)> handler) {
    help_ = std::move(handler);
    helpButton_->setEnabled(bool(help_));
}

TChooseCompFileXfer TChooseCompFile::Result() const {
    TChooseCompFileXfer out;
    out.names = names_;
    const QList<QListWidgetItem*> selected = list_->selectedItems();
    out.selection = selected.isEmpty() ? -1 : list_->row(selected.front());
    return out;
}
