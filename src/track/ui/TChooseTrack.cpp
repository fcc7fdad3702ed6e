#include "track/ui/TChooseTrack.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/DialogButtons.h"

TChooseTrack::TChooseTrack(const TChooseTrackXfer& xfer, QWidget* parent)
    : QDialog(parent), xfer_(xfer) {
    setWindowTitle(QStringLiteral("Choose Track"));
    auto* label = new QLabel(QStringLiteral("Choose the track for this replay"), this);
    label->setObjectName(QStringLiteral("chooseLabel"));
    tracks_ = new QComboBox(this);
    tracks_->setObjectName(QStringLiteral("trackList"));
    tracks_->setProperty("controlId", 101);
    remember_ = new QCheckBox(QStringLiteral("Always use <none>"), this);
    remember_->setObjectName(QStringLiteral("remember"));
    remember_->setProperty("controlId", 102);
    scope_ = new QLabel(QStringLiteral("for <none>"), this);
    scope_->setObjectName(QStringLiteral("scopeText"));
    scope_->setProperty("controlId", 1855);
    // The scope names a directory, which may hold anything that looks like markup.
    scope_->setTextFormat(Qt::PlainText);

    const auto [ok, cancel] = OkCancelButtons(this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(tracks_);
    layout->addWidget(remember_);
    auto* scopeRow = new QHBoxLayout;
    // The scope text sits indented under the box's caption, as a continuation of it.
    scopeRow->addSpacing(remember_->sizeHint().height());
    scopeRow->addWidget(scope_, 1);
    layout->addLayout(scopeRow);
    layout->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    for (const std::string& name : xfer_.trackNames) tracks_->addItem(QString::fromStdString(name));
    // The command says where to start; a selection outside the list starts on the first.
    if (tracks_->count() > 0)
        tracks_->setCurrentIndex(
            xfer_.selection >= 0 && xfer_.selection < tracks_->count() ? xfer_.selection : 0);
    remember_->setChecked(xfer_.remember);
    if (xfer_.scopeText.empty()) {
        remember_->hide();
        scope_->hide();
    } else {
        scope_->setText(QString::fromStdString(xfer_.scopeText));
        UpdateRememberCaption();
    }
    connect(tracks_, &QComboBox::currentIndexChanged, this, [this] {
        if (!xfer_.scopeText.empty()) UpdateRememberCaption();
    });
}

QString TChooseTrack::RememberCaption(const std::string& trackName) {
    return QStringLiteral("Always use ") + QString::fromStdString(trackName).left(49);
}

void TChooseTrack::UpdateRememberCaption() {
    const int index = tracks_->currentIndex();
    const std::string name = index >= 0 && size_t(index) < xfer_.trackNames.size()
                                 ? xfer_.trackNames[size_t(index)]
                                 : "";
    // A '&' in a track name is text, not a mnemonic.
    remember_->setText(RememberCaption(name).replace(QLatin1Char('&'), QStringLiteral("&&")));
}

TChooseTrackXfer TChooseTrack::Result() const {
    TChooseTrackXfer out = xfer_;
    out.selection = tracks_->currentIndex();
    out.remember = !xfer_.scopeText.empty() && remember_->isChecked();
    return out;
}
