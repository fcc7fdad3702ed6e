#include "export/ui/TExportSetup.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "ui/DialogButtons.h"

namespace {

template <class W>
W* Named(W* w, const char* name, int id) {
    w->setObjectName(QLatin1String(name));
    w->setProperty("controlId", id);
    return w;
}

QCheckBox* Check(const char* text, const char* name, int id, bool on, QWidget* parent) {
    auto* box = Named(new QCheckBox(QString::fromLatin1(text), parent), name, id);
    box->setChecked(on);
    return box;
}

}  // namespace

TExportSetup::TExportSetup(const TExportSettings& xfer, TExportSetupHooks hooks, QWidget* parent)
    : QDialog(parent), xfer_(xfer), hooks_(std::move(hooks)) {
    setWindowTitle(QStringLiteral("Export Data"));

    auto* fileLabel = new QLabel(QStringLiteral("&File Name"), this);
    fileName_ = Named(new QLineEdit(QString::fromStdString(xfer.fileName), this), "fileName", 101);
    fileName_->setMaxLength(kMaxTextLength);
    fileName_->setMinimumWidth(260);
    fileLabel->setBuddy(fileName_);
    auto* browse = DialogButton(QStringLiteral("Browse"), "browse", 102, this);

    auto* xGroup =
        Named(new QGroupBox(QStringLiteral("&As a Function of..."), this), "xGroup", 110);
    xPosition_ = Named(new QRadioButton(QStringLiteral("Position"), xGroup), "xPosition", 111);
    xTime_ = Named(new QRadioButton(QStringLiteral("Time"), xGroup), "xTime", 103);
    (xfer.xPosition ? xPosition_ : xTime_)->setChecked(true);
    resolutionLabel_ = Named(new QLabel(xGroup), "resolutionLabel", 1853);
    resolution_ =
        Named(new QLineEdit(QString::fromStdString(xfer.resolution), xGroup), "resolution", 113);
    resolution_->setMaxLength(kMaxTextLength);
    resolution_->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9.eE+\\-]*")), resolution_));
    resolutionLabel_->setBuddy(resolution_);
    auto* xLayout = new QGridLayout(xGroup);
    xLayout->addWidget(xPosition_, 0, 0);
    xLayout->addWidget(xTime_, 1, 0);
    xLayout->addWidget(resolutionLabel_, 0, 1);
    xLayout->addWidget(resolution_, 1, 1);

    auto* yGroup =
        Named(new QGroupBox(QStringLiteral("&Data to Export"), this), "channelGroup", 105);
    yPosition_ = Check("Position", "yPosition", 104, xfer.yPosition, yGroup);
    yTime_ = Check("Time", "yTime", 106, xfer.yTime, yGroup);
    ySpeed_ = Check("Speed", "ySpeed", 107, xfer.ySpeed, yGroup);
    yLine_ = Check("Line", "yLine", 109, xfer.yLine, yGroup);
    yInline_ = Check("In-line Force", "yInline", 108, xfer.yInline, yGroup);
    yLateral_ = Check("Lateral Force", "yLateral", 114, xfer.yLateral, yGroup);
    ySlip_ = Check("Slip Angle", "ySlip", 115, xfer.ySlip, yGroup);
    auto* yLayout = new QGridLayout(yGroup);
    yLayout->addWidget(yPosition_, 0, 0);
    yLayout->addWidget(yTime_, 1, 0);
    yLayout->addWidget(ySpeed_, 2, 0);
    yLayout->addWidget(yLine_, 3, 0);
    yLayout->addWidget(yInline_, 0, 1);
    yLayout->addWidget(yLateral_, 1, 1);
    yLayout->addWidget(ySlip_, 2, 1);

    comma_ = Check("C&omma Delimited", "comma", 112, xfer.comma, this);
    // For tools that read tables: one CSV table with a single header row (comma-separated
    // whatever the box above says).
    table_ = Check("&Table (one header row)", "table", 120, xfer.table, this);

    const auto [ok, cancel] = OkCancelButtons(this);
    helpButton_ = DialogButton(QStringLiteral("Help"), "help", 9, this);
    helpButton_->setEnabled(false);

    auto* layout = new QGridLayout(this);
    layout->addWidget(fileLabel, 0, 0, 1, 2);
    layout->addWidget(fileName_, 1, 0);
    layout->addWidget(browse, 1, 1);
    layout->addWidget(xGroup, 2, 0, 1, 2);
    layout->addWidget(yGroup, 3, 0, 1, 2);
    layout->addWidget(comma_, 4, 0, 1, 2);
    layout->addWidget(table_, 5, 0, 1, 2);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(helpButton_);
    buttons->addStretch(1);
    layout->addLayout(buttons, 0, 2, 6, 1);

    FollowX();
    connect(xPosition_, &QRadioButton::clicked, this, [this] { FollowX(); });
    connect(xTime_, &QRadioButton::clicked, this, [this] { FollowX(); });
    connect(fileName_, &QLineEdit::textChanged, this, [this] { askBeforeReplace_ = true; });
    connect(browse, &QPushButton::clicked, this, [this] { Browse(); });
    connect(helpButton_, &QPushButton::clicked, this, [this] {
        if (help_) help_(kHelpTopic);
    });
}

void TExportSetup::SetHelpHandler(std::function<void(int topic)> handler) {
    help_ = std::move(handler);
    helpButton_->setEnabled(bool(help_));
}

void TExportSetup::FollowX() {
    resolutionLabel_->setText(xTime_->isChecked() ? QStringLiteral("Resolution (s)")
                                                  : QStringLiteral("Resolution (ft)"));
}

void TExportSetup::Browse() {
    if (!hooks_.browse) return;
    const std::string path = hooks_.browse();
    if (path.empty()) return;
    fileName_->setText(QString::fromStdString(path));
    comma_->setFocus();
    // The save dialog has asked about this file already.
    askBeforeReplace_ = false;
}

TExportSettings TExportSetup::Result() const {
    TExportSettings out = xfer_;
    out.fileName = fileName_->text().toStdString();
    out.xPosition = xPosition_->isChecked();
    out.xTime = xTime_->isChecked();
    out.yPosition = yPosition_->isChecked();
    out.yTime = yTime_->isChecked();
    out.ySpeed = ySpeed_->isChecked();
    out.yLine = yLine_->isChecked();
    out.yInline = yInline_->isChecked();
    out.yLateral = yLateral_->isChecked();
    out.ySlip = ySlip_->isChecked();
    out.comma = comma_->isChecked();
    out.table = table_->isChecked();
    out.resolution = resolution_->text().toStdString();
    return out;
}

void TExportSetup::accept() {
    if (hooks_.canClose && !hooks_.canClose(Result(), askBeforeReplace_)) return;
    QDialog::accept();
}
