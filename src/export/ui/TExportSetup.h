#pragma once

#include <QDialog>
#include <functional>

#include "commands/ExportCommands.h"
#include "commands/SessionState.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// "Export Data": the file, the x quantity and its step, the channels and the delimiter of
// Export Text Data. OK runs the command's closing checks; the dialog closes only when they
// pass.
class TExportSetup : public QDialog {
    Q_OBJECT
  public:
    TExportSetup(const TExportSettings& xfer, TExportSetupHooks hooks, QWidget* parent = nullptr);

    // The record as the controls stand.
    TExportSettings Result() const;
    bool AskBeforeReplace() const { return askBeforeReplace_; }

    void SetHelpHandler(std::function<void(int topic)> handler);
    static constexpr int kHelpTopic = 4;
    static constexpr int kMaxTextLength = 254;

    void accept() override;

  private:
    void Browse();
    void FollowX();

    TExportSettings xfer_;
    TExportSetupHooks hooks_;
    bool askBeforeReplace_ = true;
    std::function<void(int)> help_;
    QLineEdit* fileName_;
    QRadioButton* xPosition_;
    QRadioButton* xTime_;
    QLabel* resolutionLabel_;
    QLineEdit* resolution_;
    QCheckBox* yPosition_;
    QCheckBox* yTime_;
    QCheckBox* ySpeed_;
    QCheckBox* yLine_;
    QCheckBox* yInline_;
    QCheckBox* yLateral_;
    QCheckBox* ySlip_;
    QCheckBox* comma_;
    QCheckBox* table_ = nullptr;
    QPushButton* helpButton_;
};
