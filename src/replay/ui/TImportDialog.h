#pragma once
// What the Import Lap and Import Average Lap dialogs share: a driver list, a lap list that
// shows the selected driver's laps as times or speeds, and the button that switches the two.
#include <QDialog>
#include <functional>

#include "commands/Prompts.h"

class QPushButton;
class TPropListBox;

class TImportDialog : public QDialog {
    Q_OBJECT
  public:
    // The ids of the three controls, kept as the "controlId" property of each.
    struct Ids {
        int driverList;
        int lapList;
        int modeButton;
    };

    // The record's outputs, as the controls stand: -1 / empty when nothing is selected.
    TImportLapXfer Result() const;
    bool LapTimes() const { return lapTimes_; }

    // The Help button opens this topic through the handler; without one it stays disabled.
    void SetHelpHandler(std::function<void(int topic)> handler);

    TPropListBox* DriverList() const { return driverList_; }
    TPropListBox* LapList() const { return lapList_; }
    QPushButton* ModeButton() const { return modeButton_; }

  protected:
    TImportDialog(const TImportLapXfer& xfer, const TImportLapSource& source, Ids ids,
                  int helpTopic, QWidget* parent);

    // Switches between lap times and lap speeds, stores the choice and refills the laps.
    void ToggleMode();
    // The selected driver's laps, in chain order; selectFirst selects the first of them.
    void RefillLapList(bool selectFirst);
    // Set-up after the subclass has set the lap list's selection mode: the stored mode is
    // toggled twice so that it stands, which also sets the caption and fills the lap list.
    void SetUp(bool selectFirstLap);

  private:
    TImportLapSource source_;
    std::vector<std::string> driverTexts_;
    bool lapTimes_;
    bool selectFirstLap_ = true;
    int helpTopic_;
    std::function<void(int)> help_;
    TPropListBox* driverList_;
    TPropListBox* lapList_;
    QPushButton* modeButton_;
    QPushButton* helpButton_;
};
