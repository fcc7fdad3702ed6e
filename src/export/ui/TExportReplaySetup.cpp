#include "export/ui/TExportReplaySetup.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/DialogButtons.h"

TExportReplaySetup::TExportReplaySetup(const TExportReplayXfer& xfer, TExportReplaySetupHooks hooks,
                                       QWidget* parent)
    : QDialog(parent), hooks_(std::move(hooks)) {
    setWindowTitle(QStringLiteral("Export to Replay"));
    auto* fileLabel = new QLabel(QStringLiteral("&File Name"), this);
    fileLabel->setObjectName(QStringLiteral("fileNameLabel"));
    fileName_ = new QLineEdit(QString::fromStdString(xfer.fileName), this);
    fileName_->setObjectName(QStringLiteral("fileName"));
    fileName_->setProperty("controlId", 101);
    fileName_->setMaxLength(kMaxTextLength);
    fileName_->setMinimumWidth(260);
    fileLabel->setBuddy(fileName_);
    auto* browse = DialogButton(QStringLiteral("Browse"), "browse", 102, this);
    separateLaps_ = new QCheckBox(QStringLiteral("&Put replays on separate laps"), this);
    separateLaps_->setObjectName(QStringLiteral("separateLaps"));
    separateLaps_->setProperty("controlId", 103);
    separateLaps_->setChecked(xfer.separateLaps);

    const auto [ok, cancel] = OkCancelButtons(this);
    helpButton_ = DialogButton(QStringLiteral("Help"), "help", 9, this);
    helpButton_->setEnabled(false);

    auto* layout = new QGridLayout(this);
    layout->addWidget(fileLabel, 0, 0, 1, 2);
    layout->addWidget(fileName_, 1, 0);
    layout->addWidget(browse, 1, 1);
    layout->addWidget(separateLaps_, 2, 0, 1, 2);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(helpButton_);
    buttons->addStretch(1);
    layout->addLayout(buttons, 0, 2, 3, 1);

    connect(fileName_, &QLineEdit::textChanged, this, [this] { askBeforeReplace_ = true; });
    connect(browse, &QPushButton::clicked, this, [this] { Browse(); });
    connect(helpButton_, &QPushButton::clicked, this, [this] {
        if (help_) help_(kHelpTopic);
    });
}

void TExportReplaySetup::SetHelpHandler(std::function<void(int topic)> handler) {
    help_ = std::move(handler);
    helpButton_->setEnabled(bool(help_));
}

void TExportReplaySetup::Browse() {
    if (!hooks_.browse) return;
    const std::string path = hooks_.browse();
    if (path.empty()) return;
    fileName_->setText(QString::fromStdString(path));
    // The save dialog has asked about this file already.
    askBeforeReplace_ = false;
    separateLaps_->setFocus();
}

TExportReplayXfer TExportReplaySetup::Result() const {
    TExportReplayXfer out;
    out.fileName = fileName_->text().toStdString();
    out.separateLaps = separateLaps_->isChecked();
    return out;
}

void TExportReplaySetup::accept() {
    if (hooks_.canClose && !hooks_.canClose(Result(), askBeforeReplace_)) return;
    QDialog::accept();
}
