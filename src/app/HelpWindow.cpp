#include "app/HelpWindow.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QTextBrowser>

#include "app/AppIcons.h"

HelpWindow::HelpWindow(const HelpFile& help, QWidget* parent)
    : QWidget(parent, Qt::Window), help_(help) {
    setWindowTitle(QStringLiteral("Korvale Help"));
    setWindowIcon(AppIcon());
    setObjectName(QStringLiteral("helpWindow"));
    auto* layout = new QHBoxLayout(this);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("helpTopics"));
    text_ = new QTextBrowser(this);
    text_->setObjectName(QStringLiteral("helpText"));
    layout->addWidget(list_, 2);
    layout->addWidget(text_, 5);
    for (const int number : help_.order()) {
        auto* item = new QListWidgetItem(QString::fromStdString(help_.Find(number)->title), list_);
        item->setData(Qt::UserRole, number);
    }
    connect(list_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (item != nullptr) ShowTopic(item->data(Qt::UserRole).toInt());
    });
    resize(720, 480);
}

bool HelpWindow::ShowTopic(int number) {
    const HelpTopic* topic = help_.Find(number);
    if (topic == nullptr) return false;
    current_ = number;
    QString html =
        QStringLiteral("<h2>%1</h2>").arg(QString::fromStdString(topic->title).toHtmlEscaped());
    for (const QString& para : QString::fromStdString(topic->text).split(QStringLiteral("\n\n")))
        html += QStringLiteral("<p>%1</p>").arg(para.toHtmlEscaped());
    text_->setHtml(html);
    for (int i = 0; i < list_->count(); ++i) {
        if (list_->item(i)->data(Qt::UserRole).toInt() == number) {
            const QSignalBlocker block(list_);
            list_->setCurrentRow(i);
        }
    }
    return true;
}
