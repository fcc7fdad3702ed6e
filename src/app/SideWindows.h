#pragma once
// The main window's data window and lap list: created hidden with it, kept in step with
// the document's laps through its change channel, shown and hidden by the Data and Info
// commands, and placed where the settings say.
#include <QObject>
#include <functional>

#include "channels/LapValues.h"
#include "commands/CommandContext.h"
#include "commands/DocumentChange.h"

class QAction;
class QWidget;
class TDataWindow;
class TReplayInfo;

class TSideWindows : public QObject, public TDocumentObserver {
    Q_OBJECT
  public:
    // owner: the main window, which owns both windows (and this object, which it destroys
    // before its document). afterCommand runs after the lap list's own edits and
    // deletions, as after any command.
    TSideWindows(TCommandContext& ctx, QWidget* owner, std::function<void()> afterCommand);
    ~TSideWindows() override;

    // Set-up: each window takes the placement of its settings keys.
    void Setup(const TWindowRect& info, const TWindowRect& data);

    // The document's change channel: the lap columns and rows follow the laps.
    void Changed(const TDocumentChange& change) override;

    // Laps were hidden or shown again: the lap list's check boxes and the data window's
    // columns follow view().hiddenLaps.
    void LapVisibilityChanged();

    // What the pointer points at: see TDataWindow::ShowLapValues.
    void ShowLapValues(double x, TelemetryChannel kind);
    // The time delta strip or the reference lap changed: the data window's Delta row follows.
    void RefreshDelta();

    void DataCommand();
    void InfoCommand();
    bool DataEnabled() const;
    bool InfoEnabled() const;

    // F11, F12 and the other keys of the main window also work over the side windows.
    void AddKeys(const QList<QAction*>& actions);

    TWindowRect InfoPlacement() const;
    TWindowRect DataPlacement() const;
    TDataWindow* dataWindow() const { return data_; }
    TReplayInfo* infoWindow() const { return info_; }

    // At the end of every command: the lap list closes when the document holds no laps.
    void CloseEmptyList();

  signals:
    // The lap list's check box: the main window hides or shows the lap in every view.
    void lapHiddenRequested(int32_t serial, bool hidden);
    // The lap list's selection changed (kept in the view state's analysis.selectedSerial).
    void lapSelected();

  private:
    TCommandContext& ctx_;
    std::function<void()> afterCommand_;
    TDataWindow* data_ = nullptr;  // owned by the main window
    TReplayInfo* info_ = nullptr;  // owned by the main window
};
