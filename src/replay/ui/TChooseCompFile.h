#pragma once

#include <QDialog>
#include <functional>

#include "commands/Prompts.h"

class QListWidget;
class QPushButton;

// "Import Replay": the replays inside an archive, in the order given (sorted by the
// command), the first one selected.
class TChooseCompFile : public QDialog {
    Q_OBJECT
  public:
    explicit TChooseCompFile(const TChooseCompFileXfer& xfer, QWidget* parent = nullptr);

    // The names and the chosen index (-1 when nothing is selected).
    TChooseCompFileXfer Result() const;
    QListWidget* MemberList() const { return list_; }

    // Help opens the Import Replay topic through the handler; without one it is disabled.
    void SetHelpHandler(std::function<void(int topic)> handler);
    static constexpr int kHelpTopic = 24606;

  private:
    std::vector<std::string> names_;
    QListWidget* list_;
    QPushButton* helpButton_;
    std::function<void(int)> help_;
};
