#pragma once
// "Replay Info": a floating list of the document's laps, one 16-pixel row each: a line
// symbol in the lap's colour, the driver name, the lap time and the average speed. A click
// selects a row, a double click edits its lap, a right click offers Edit Info and Delete
// Lap, and the Delete key deletes the selected lap; the edits and deletions themselves are
// the document's commands, which the main window runs when asked through the signals.
// Before each symbol a check box shows whether the lap is shown in the views; a click on it
// (or Space on the selected row) asks to hide or show the lap, which is view state only.
#include <QAbstractScrollArea>
#include <cstdint>
#include <functional>
#include <vector>

#include "document/LapList.h"
#include "views/windows/ToolWindow.h"

class QMenu;

class TReplayInfo : public QAbstractScrollArea {
    Q_OBJECT
  public:
    static constexpr int kScrollUnit = 16;
    static constexpr int kRowHeight = 16;
    // The pop-up menu's commands.
    static constexpr int kEditInfoId = 7618;
    static constexpr int kDeleteLapId = 7619;
    // The column of check boxes before the line symbols: the rest of each row starts this
    // much further right.
    static constexpr int kCheckColumn = 16;

    TReplayInfo(const TLapList& laps, QWidget* owner);
    ~TReplayInfo() override;

    // Set-up: the placement the settings give.
    void Setup(const TWindowRect& placement);
    TWindowRect Placement() const { return placement_.Rect(); }
    // The client size that shows every row.
    QSize ContentSize();

    // The laps were replaced or added to: the next paint measures the rows again and the
    // list goes back to its top.
    void RefreshLapList();
    // Any change of the lap list: no selection can stand for a lap that moved or went, so
    // nothing stays selected. The measured width is kept.
    void LapListChanged();
    // The serials of the laps hidden from the views (the main window's view state), which the
    // check boxes show; nullptr shows every lap ticked.
    void SetHiddenLaps(const std::vector<int32_t>* hiddenLaps);
    bool LapShown(const TReplay& lap) const;

    int32_t selectedLap() const { return selectedLap_; }
    int32_t listWidth() const { return listWidth_; }
    // The selected row is shown marked: the list has the focus, or its menu or a question
    // about that lap is open.
    bool hasFocusHighlight() const { return hasFocus_ || acting_; }
    // "%7.3f s=%7.3f mph": the lap time and the average lap speed.
    static QString LapText(const TReplay& lap);

  signals:
    // The window manager closed the window (its close button): it is hidden now.
    void closedByUser();
    void editLapRequested(int32_t index);
    void deleteLapRequested(int32_t index);
    // A check box was clicked: hide (or show again) the lap with this serial.
    void lapHiddenRequested(int32_t serial, bool hidden);
    // The selection changed: the selected lap's serial, -1 for none.
    void lapSelected(int32_t serial);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Shows the pop-up menu and returns the chosen command id, 0 for none.
    virtual int ExecPopupMenu(QMenu& menu, const QPoint& globalPos);

  private:
    void SelectAt(const QPoint& viewportPos);
    void SetSelection(int32_t index);
    void MeasureRows();
    void SetScrollRanges();
    void Edit();
    void Delete();
    void ToggleShown(int32_t index);
    // Runs act (the menu, or a request whose question takes the focus) with the selected
    // row kept marked, and gives the focus back to the list afterwards.
    void ActOnSelectedLap(const std::function<void()>& act);

    const TLapList& laps_;
    const std::vector<int32_t>* hiddenLaps_ = nullptr;
    int32_t listWidth_ = 1;
    int32_t selectedLap_ = -1;
    bool hasFocus_ = false;
    bool acting_ = false;
    TToolWindowPlacement placement_{*this};
};
