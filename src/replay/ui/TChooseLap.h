#pragma once

#include <QDialog>

#include "commands/Prompts.h"

class QComboBox;

// "Select a Lap": one drop-down list of the document's laps.
class TChooseLap : public QDialog {
    Q_OBJECT
  public:
    explicit TChooseLap(const TChooseLapXfer& xfer, QWidget* parent = nullptr);

    // The texts and the chosen index (-1 when the list is empty).
    TChooseLapXfer Result() const;
    QComboBox* LapCombo() const { return combo_; }

  private:
    std::vector<std::string> texts_;
    QComboBox* combo_;
};
