#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "platform/Archive.h"

class QLabel;
class QProgressBar;
class QPushButton;

// The progress of an archive extraction: a gauge of 0 to 100, a status line and Abort.
// It is the extraction's TArchiveProgress: every message lets the pending window events
// run, so that Abort answers while the member is unpacked.
class TCompProgress : public QDialog, public TArchiveProgress {
    Q_OBJECT
  public:
    // Asks "%s exists.  Overwrite?" and answers true for Yes.
    using AskOverwrite = std::function<bool(const std::string& question)>;

    explicit TCompProgress(QWidget* parent = nullptr);

    // By default a message box titled "Import Lap" with Yes and No.
    void SetAskOverwrite(AskOverwrite ask) { ask_ = std::move(ask); }

    int Post(int number, const std::string& text) override;
    // The number the dialog holds: 0 at first, 999 after Abort, 800/801 after a question.
    int Held() const { return held_; }

    QProgressBar* Gauge() const { return gauge_; }
    QLabel* Status() const { return status_; }
    QPushButton* AbortButton() const { return abort_; }

  protected:
    // Escape and the close box stop the extraction as Abort does.
    void reject() override;

  private:
    void Abort();

    int held_ = 0;
    AskOverwrite ask_;
    QProgressBar* gauge_;
    QLabel* status_;
    QPushButton* abort_;
};
