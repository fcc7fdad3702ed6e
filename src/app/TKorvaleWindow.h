#pragma once
// The main client window: it owns the document and view state, the track list, the
// settings file and the prompts, hosts the telemetry graph, runs the commands and says
// which of them are enabled and checked.

#include <QString>
#include <QWidget>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/AppPaths.h"
#include "commands/CommandContext.h"
#include "commands/DocumentState.h"
#include "platform/ProfileFile.h"
#include "track/TrackList.h"

class TGraphView;
class TShellPrompts;
class TSideWindows;

struct TCommandEnabling {
    bool enabled = false;
    bool checkable = false;
    bool checked = false;
};

class TKorvaleWindow : public QWidget {
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
    TDocumentState& doc() { return doc_; }
    const TDocumentState& doc() const { return doc_; }
    ProfileFile& settings() { return settings_; }
    TTrackList& tracks() { return tracks_; }
    TGraphView* graph() { return graph_; }
    const TGraphView* graph() const { return graph_; }
    TSideWindows& sideWindows() { return *side_; }
    const TSideWindows& sideWindows() const { return *side_; }
    const AppPaths& paths() const { return paths_; }
    const QString& caption() const { return caption_; }
    const QString& statusText() const { return status_; }
    TShellPrompts& prompts() { return *prompts_; }

    // What the pointer points at, for the data window: the graph's, the map's and the
    // picture-in-picture window's mouse moves call this. x is a position in track units
    // (kind ChannelPosition) or a lap time in seconds (kind ChannelTime); kPointedAtNothing
    // (-1) empties the values, kPointedAtCursor (-2) stands for doc().cursorPosition, and a
    // negative kind for the graph's x-axis (channels/LapValues.h). Cheap while the data
    // window is closed.
    void ShowLapValues(double x, int kind);

    // Called by the prompts.
    void SetCaptionText(const QString& caption);
    void SetStatus(const QString& text);
    void LapsChanged();
    void RepaintView();
    TWindowRect SideWindowPlacement(int which) const;

  signals:
    void captionChanged(const QString& caption);
    void statusChanged(const QString& text);
    // After every command and every change the commands' enabling may depend on.
    void stateChanged();
    // A help topic the window opens by itself (the first run).
    void helpRequested(int topic);

  private:
    AppPaths paths_;
    ProfileFile settings_;
    TTrackList tracks_;
    TDocumentState doc_;
    std::unique_ptr<TShellPrompts> prompts_;
    TCommandContext ctx_;
    TGraphView* graph_ = nullptr;
    TSideWindows* side_ = nullptr;  // owned through Qt's parent
    QString caption_ = QStringLiteral("Korvale");
    QString status_;
    // Placement of the side windows, read from the settings as they would be created.
    std::array<TWindowRect, 3> sidePlacement_{};
};
