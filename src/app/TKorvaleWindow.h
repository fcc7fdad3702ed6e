#pragma once
// The main client window: it owns the document, the view state, the track list, the
// settings file and the prompts, hosts the telemetry graph, runs the commands and says
// which of them are enabled and checked. It learns what a command changed by subscribing to
// the document's change channel, as each side window does.

#include <QString>
#include <QWidget>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/AppPaths.h"
#include "app/WindowCommand.h"
#include "commands/CommandContext.h"
#include "commands/Document.h"
#include "commands/DocumentChange.h"
#include "commands/SessionState.h"
#include "commands/ViewState.h"
#include "platform/ProfileFile.h"
#include "track/TrackList.h"

class TGraphView;
class TSectorsWindow;
class TGGPlotWindow;
class TDockedWindows;
class TMapWindows;
class TShellPrompts;
class TSideWindows;
class QStackedLayout;

class TKorvaleWindow : public QWidget, public TDocumentObserver {
    Q_OBJECT
  public:
    TKorvaleWindow(const AppPaths& paths, QWidget* parent = nullptr);
    ~TKorvaleWindow() override;

    // Runs once when the window is created: track data (false after the fatal message,
    // the program must then end), associations, export choices, first-run help.
    bool Setup();

    // Handles a command id of the menus, tool bar or accelerators; false for ids that are
    // not this window's (the frame and the application handle those).
    bool RunCommand(int id);
    // Enabled and checked state of a command id this window handles.
    TCommandEnabling CommandEnabling(int id) const;
    bool HandlesCommand(int id) const;

    // Close check: the save question and the settings written on close.
    bool CanClose();

    // The other ways a document arrives.
    void OpenStartupDocument(const std::string& path);
    void RecentFileChosen(const std::string& path);
    void FilesDropped(const std::vector<std::string>& paths);

    TCommandContext& context() { return ctx_; }
    TDocument& doc() { return doc_; }
    const TDocument& doc() const { return doc_; }
    TViewState& view() { return view_; }
    const TViewState& view() const { return view_; }
    TSessionState& session() { return session_; }
    ProfileFile& settings() { return settings_; }
    TTrackList& tracks() { return tracks_; }
    TGraphView* graph() { return graph_; }
    TSectorsWindow* sectorsWindow() { return sectors_.get(); }
    TGGPlotWindow* ggWindow() { return gg_.get(); }
    // View > Dock Side Windows.
    TDockedWindows& docks() { return *docks_; }
    // View > G-G Plot: shows or hides the G-G plot.
    void ToggleGGPlot();
    const TGraphView* graph() const { return graph_; }
    // The track map and the picture-in-picture window with their commands.
    TMapWindows& maps() { return *maps_; }
    const TMapWindows& maps() const { return *maps_; }
    QWidget* pip() const;
    // The data window and the lap list with their commands.
    TSideWindows& sideWindows() { return *side_; }
    const TSideWindows& sideWindows() const { return *side_; }
    const AppPaths& paths() const { return paths_; }
    const QString& caption() const { return caption_; }
    const QString& statusText() const { return status_; }
    TShellPrompts& prompts() { return *prompts_; }

    // View > Sectors: shows or hides the sectors window.
    void ToggleSectorsWindow();
    // The sectors window's header click: the graph's x range becomes the sector (x on
    // Position, which the graph is switched to when it shows Time).
    void ZoomToSector(double fromFeet, double toFeet);

    // The document's change channel.
    void Changed(const TDocumentChange& change) override;

    // View > Legend: shows or hides the graph's lap legend and keeps the choice.
    void ToggleLegend();
    // Hides a lap from the views or shows it again (the info window's check boxes), and
    // Lap > Show All Laps. View state only: the document does not change.
    void SetLapHidden(int32_t serial, bool hidden);
    void ShowAllLapsCommand();

    // What the pointer points at, for the data window: the graph's, the map's and the
    // picture-in-picture window's mouse moves call this. x is a position in track units
    // (kind TelemetryChannel::Position) or a lap time in seconds (kind TelemetryChannel::Time);
    // kPointedAtNothing
    // (-1) empties the values, kPointedAtCursor (-2) stands for view().cursorPosition, and
    // a negative kind for the graph's x-axis (channels/LapValues.h). Cheap while the data
    // window is closed.
    void ShowLapValues(double x, TelemetryChannel kind);

    // Called by the prompts.
    void SetStatus(const QString& text);
    TWindowRect SideWindowPlacement(int which) const;

  signals:
    void captionChanged(const QString& caption);
    void statusChanged(const QString& text);
    // After every command and every change the commands' enabling may depend on.
    void stateChanged();
    // A help topic the window opens by itself (the first run).
    void helpRequested(int topic);

  private:
    void SetCaptionText(const QString& caption);
    void LapsChanged();
    void LapVisibilityChanged();
    void RepaintView();
    void SectorsClosed();

    AppPaths paths_;
    ProfileFile settings_;
    TTrackList tracks_;
    TDocument doc_{tracks_};
    TViewState view_;
    TSessionState session_;
    std::unique_ptr<TShellPrompts> prompts_;
    TCommandContext ctx_;
    TGraphView* graph_ = nullptr;
    QStackedLayout* views_ = nullptr;  // the graph or the map
    TDockedWindows* docks_ = nullptr;  // a child QObject of this window
    TMapWindows* maps_ = nullptr;      // a child QObject of this window
    // Subscribed to doc_, so it goes before it; its windows are children of this one.
    std::unique_ptr<TSideWindows> side_;
    QString caption_ = QStringLiteral("Korvale");
    QString status_;
    // Placement of the side windows, read from the settings as they would be created.
    std::array<TWindowRect, 3> sidePlacement_{};
    bool deltaShownAtStart_ = false;  // the setting is written only when it changed
    // Last: it unsubscribes from the document when it goes, so it must go first.
    std::unique_ptr<TSectorsWindow> sectors_;
    std::unique_ptr<TGGPlotWindow> gg_;  // goes first for the same reason
};
