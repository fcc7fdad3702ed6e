#pragma once

#include <QWidget>

#include "app/HelpFile.h"

class QListWidget;
class QTextBrowser;

// Shows the help file: its topics on the left, the chosen topic's text on the right.
class HelpWindow : public QWidget {
    Q_OBJECT
  public:
    explicit HelpWindow(const HelpFile& help, QWidget* parent = nullptr);

    // Shows the topic; false when the help file has no such topic.
    bool ShowTopic(int number);
    int currentTopic() const { return current_; }

  private:
    const HelpFile& help_;
    QListWidget* list_;
    QTextBrowser* text_;
    int current_ = -1;
};
