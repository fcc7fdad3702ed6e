#pragma once

#include <QDialog>
#include <functional>

#include "commands/ExportCommands.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

// "Export to Replay": the replay file to write and whether the laps follow each other.
// OK runs the command's closing checks; the dialog closes only when they pass.
class TExportReplaySetup : public QDialog {
    Q_OBJECT
  public:
    TExportReplaySetup(const TExportReplayXfer& xfer, TExportReplaySetupHooks hooks,
                       QWidget* parent = nullptr);

    TExportReplayXfer Result() const;
    bool AskBeforeReplace() const { return askBeforeReplace_; }

    void SetHelpHandler(std::function<void(int topic)> handler);
    static constexpr int kHelpTopic = 4;
    static constexpr int kMaxTextLength = 254;

    void accept() override;

  private:
    void Browse();

    TExportReplaySetupHooks hooks_;
    bool askBeforeReplace_ = true;
    std::function<void(int)> help_;
    QLineEdit* fileName_;
    QCheckBox* separateLaps_;
    QPushButton* helpButton_;
};
