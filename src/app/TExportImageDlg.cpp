#include "app/TExportImageDlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/ImageExport.h"

TExportImageDlg::TExportImageDlg(const TExportImageXfer& xfer, QWidget* parent)
    : QDialog(parent), xfer_(xfer) {
    setObjectName(QStringLiteral("exportImageDialog"));
    setWindowTitle(QStringLiteral("Export Image"));
    windowSize_ = new QRadioButton(
        QStringLiteral("&Window size (%1 x %2)").arg(xfer.windowWidth).arg(xfer.windowHeight),
        this);
    windowSize_->setObjectName(QStringLiteral("windowSize"));
    customSize_ = new QRadioButton(QStringLiteral("&Custom size:"), this);
    customSize_->setObjectName(QStringLiteral("customSize"));
    width_ = new QSpinBox(this);
    width_->setObjectName(QStringLiteral("width"));
    width_->setRange(1, kMaxImageWidth);
    height_ = new QSpinBox(this);
    height_->setObjectName(QStringLiteral("height"));
    height_->setRange(1, kMaxImageHeight);
    // A size never typed starts as the window's, which the user then changes.
    width_->setValue(xfer.width > 0 ? xfer.width : xfer.windowWidth);
    height_->setValue(xfer.height > 0 ? xfer.height : xfer.windowHeight);
    (xfer.windowSize ? windowSize_ : customSize_)->setChecked(true);

    auto* grid = new QGridLayout;
    grid->addWidget(windowSize_, 0, 0, 1, 4);
    grid->addWidget(customSize_, 1, 0);
    grid->addWidget(width_, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("x"), this), 1, 2);
    grid->addWidget(height_, 1, 3);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(customSize_, &QRadioButton::toggled, this, &TExportImageDlg::UpdateEnabling);
    UpdateEnabling();
}

void TExportImageDlg::UpdateEnabling() {
    width_->setEnabled(customSize_->isChecked());
    height_->setEnabled(customSize_->isChecked());
}

TExportImageXfer TExportImageDlg::Result() const {
    TExportImageXfer out = xfer_;
    out.windowSize = windowSize_->isChecked();
    out.width = width_->value();
    out.height = height_->value();
    return out;
}
