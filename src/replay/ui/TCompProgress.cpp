#include "replay/ui/TCompProgress.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/DialogButtons.h"

TCompProgress::TCompProgress(QWidget* parent) : QDialog(parent) {
    // A progress box: no size buttons; Escape still aborts.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    abort_ = DialogButton(QStringLiteral("Abort"), "abort", 101, this);
    abort_->setDefault(true);
    gauge_ = new QProgressBar(this);
    gauge_->setObjectName(QStringLiteral("gauge"));
    gauge_->setProperty("controlId", 102);
    gauge_->setRange(0, 100);
    gauge_->setValue(0);
    gauge_->setMinimumWidth(240);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("status"));
    status_->setProperty("controlId", 1854);
    status_->setTextFormat(Qt::PlainText);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(gauge_);
    layout->addWidget(status_);
    layout->addWidget(abort_, 0, Qt::AlignHCenter);
    connect(abort_, &QPushButton::clicked, this, [this] { Abort(); });

    ask_ = [this](const std::string& question) {
        return QMessageBox::question(
                   this, QStringLiteral("Import Lap"), QString::fromStdString(question),
                   QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes;
    };
}

void TCompProgress::Abort() {
    held_ = kArchiveAbort;
}

void TCompProgress::reject() {
    Abort();
}

int TCompProgress::Post(int number, const std::string& text) {
    // Abort stays held until the extraction has seen it.
    if (held_ != kArchiveAbort) {
        if (number <= 100) {
            gauge_->setValue(std::clamp(number, 0, 100));
        } else if (number == kArchiveStatusText) {
            status_->setText(QString::fromStdString(text));
        } else if (number == kArchiveOverwriteQuestion) {
            const bool yes = ask_ && ask_(text + " exists.  Overwrite?");
            held_ = yes ? kArchiveOverwriteYes : kArchiveOverwriteNo;
        }
    }
    QApplication::processEvents();
    return held_;
}
