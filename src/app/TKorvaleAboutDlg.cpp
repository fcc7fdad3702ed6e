#include "app/TKorvaleAboutDlg.h"

#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "app/AppIcons.h"

TKorvaleAboutDlg::TKorvaleAboutDlg(const VersionData& version, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About Korvale"));
    auto* layout = new QGridLayout(this);

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("icon"));
    icon->setPixmap(AppIcon().pixmap(32, 32));
    auto* image = new QLabel(this);
    image->setObjectName(QStringLiteral("image"));
    image->setPixmap(AboutImage());
    auto* title = new QLabel(QStringLiteral("Korvale lap telemetry viewer"), this);
    title->setObjectName(QStringLiteral("title"));
    title->setAlignment(Qt::AlignCenter);
    version_ = new QLabel(QStringLiteral("Version"), this);
    version_->setObjectName(QStringLiteral("version"));
    version_->setAlignment(Qt::AlignCenter);
    legal_ = new QLabel(this);
    legal_->setObjectName(QStringLiteral("legal"));
    legal_->setAlignment(Qt::AlignCenter);
    build_ = new QLabel(this);
    build_->setObjectName(QStringLiteral("specialBuild"));
    build_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    layout->addWidget(icon, 0, 0, 2, 1);
    layout->addWidget(title, 0, 1);
    layout->addWidget(image, 0, 2, 2, 1);
    layout->addWidget(version_, 1, 1);
    layout->addWidget(legal_, 2, 0, 1, 3);
    layout->addWidget(ok, 3, 1, Qt::AlignCenter);
    layout->addWidget(build_, 3, 1, 1, 2, Qt::AlignRight);

    const auto name = version.ProductName();
    const auto number = version.ProductVersion();
    if (name && number) {
        version_->setText(QStringLiteral("%1 %2 %3")
                              .arg(QString::fromStdString(*name), version_->text(),
                                   QString::fromStdString(*number)));
    }
    if (const auto legal = version.LegalCopyright())
        legal_->setText(QString::fromStdString(*legal));
    if (const auto special = version.SpecialBuild())
        build_->setText(QString::fromStdString(*special));
}
