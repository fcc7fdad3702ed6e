#include "app/TEditInfoDlg.h"

#include <QColorDialog>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>

#include "platform/NameCodec.h"
#include "ui/DialogButtons.h"

namespace {

// Only what a stored name can hold: characters Windows-1252 has, one byte each, so that the
// edit's 31 characters are the field's 31 bytes and no letter is replaced behind the
// user's back.
class TStoredNameValidator : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        for (const char32_t c : input.toUcs4())
            if (!NameCharacterStorable(c)) return Invalid;
        return Acceptable;
    }
};

QColor ToQColor(const Rgb& c) {
    return QColor(c.r, c.g, c.b);
}
Rgb ToRgb(const QColor& c) {
    return Rgb{uint8_t(c.red()), uint8_t(c.green()), uint8_t(c.blue())};
}

}  // namespace

TEditInfo::TEditInfo(const TEditInfoXfer& xfer, QWidget* parent)
    : QDialog(parent), xfer_(xfer), colour_(ToQColor(xfer.colour)) {
    setWindowTitle(QStringLiteral("Edit Replay Info"));
    choose_ = [](const QColor& initial, QWidget* owner) -> std::optional<QColor> {
        const QColor c = QColorDialog::getColor(initial, owner);
        if (!c.isValid()) return std::nullopt;
        return c;
    };

    auto* nameLabel = new QLabel(QStringLiteral("Driver &Name"), this);
    nameLabel->setObjectName(QStringLiteral("nameLabel"));
    name_ = new QLineEdit(this);
    name_->setObjectName(QStringLiteral("nameEdit"));
    name_->setProperty("controlId", 101);
    name_->setMaxLength(kMaxNameLength);
    name_->setValidator(new TStoredNameValidator(name_));
    name_->setText(QString::fromStdString(xfer.name));
    name_->setModified(false);
    nameLabel->setBuddy(name_);
    auto* colourLabel = new QLabel(QStringLiteral("Line Color"), this);
    colourLabel->setObjectName(QStringLiteral("colourLabel"));
    swatch_ = new QFrame(this);
    swatch_->setObjectName(QStringLiteral("colourSwatch"));
    swatch_->setProperty("controlId", 4091);
    swatch_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    swatch_->setMinimumSize(48, 20);
    swatch_->setAutoFillBackground(true);
    auto* change = DialogButton(QStringLiteral("&Change"), "changeButton", 102, this);
    const auto [ok, cancel] = OkCancelButtons(this);
    helpButton_ = DialogButton(QStringLiteral("Help"), "help", 9, this);
    helpButton_->setEnabled(false);

    auto* layout = new QGridLayout(this);
    layout->addWidget(nameLabel, 0, 0);
    layout->addWidget(name_, 0, 1, 1, 2);
    layout->addWidget(colourLabel, 1, 0);
    layout->addWidget(swatch_, 1, 1);
    layout->addWidget(change, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(helpButton_);
    layout->addLayout(buttons, 2, 0, 1, 3);

    connect(change, &QPushButton::clicked, this, [this] { ChangeColour(); });
    connect(helpButton_, &QPushButton::clicked, this, [this] {
        if (help_) help_(kHelpTopic);
    });
    PaintSwatch();
}

void TEditInfo::SetHelpHandler(std::function<void(int topic)> handler) {
    help_ = std::move(handler);
    helpButton_->setEnabled(bool(help_));
}

void TEditInfo::ChangeColour() {
    if (!choose_) return;
    const std::optional<QColor> chosen = choose_(colour_, this);
    if (!chosen || !chosen->isValid()) return;
    colour_ = chosen->toRgb();
    PaintSwatch();
}

void TEditInfo::PaintSwatch() {
    QPalette palette = swatch_->palette();
    palette.setColor(QPalette::Window, colour_);
    swatch_->setPalette(palette);
    swatch_->update();
}

std::string TEditInfo::FitName(const QString& name, size_t maxBytes) {
    return NameToUtf8(NameFromUtf8(name.toStdString(), maxBytes));
}

TEditInfoXfer TEditInfo::Result() const {
    TEditInfoXfer out;
    // An untouched name keeps its bytes even when they are not valid UTF-8.
    out.name = name_->isModified() ? FitName(name_->text()) : xfer_.name;
    out.colour = ToRgb(colour_);
    return out;
}
