#pragma once
// The main window's track map and picture-in-picture window: the Map, Graph and
// Picture-in-picture commands that move between the views, the marker commands (Corners,
// Speed Comparison, Other Markers), the map-mode halves of Zoom Out and Full Size, their
// enabling, and what the document's changes mean for the two windows.
#include <QObject>
#include <QString>

#include <cstdint>

#include "channels/Channels.h"
#include "commands/CommandContext.h"
#include "commands/DocumentChange.h"
#include "views/map/LapLine.h"

class QStackedLayout;
class QWidget;
class TGraphView;
class TPipWindow;
class TTrackMapView;

class TMapWindows : public QObject, public TDocumentObserver {
    Q_OBJECT
  public:
    // stack: the main window's layout, holding the graph; the map joins it. owner: the main
    // window, which owns the map view and the picture-in-picture window.
    TMapWindows(TCommandContext& ctx, TGraphView& graph, QStackedLayout& stack, QWidget& owner);
    ~TMapWindows() override;

    // Set-up: the picture-in-picture window takes its stored placement.
    void Setup(const TWindowRect& pip);
    TWindowRect PipPlacement() const;

    TTrackMapView* map() const { return map_; }
    TPipWindow* pip() const { return pip_; }
    bool InMap() const;

    void MapCommand();
    void GraphCommand();
    void PipCommand();
    void CornersCommand();
    void SpeedComparisonCommand();
    // The reference lap or the lap list's selection changed: with more than two laps the
    // comparison and the Time Delta colouring follow them.
    void ComparedLapsChanged();
    void OtherMarkersCommand();
    // View > Colour Map By: the choice is kept in the settings file.
    void ColourMapCommand(TMapColour colour);
    // Zoom Out and Full Size while the map is shown.
    void ZoomOut();
    void FullSize();

    bool MapEnabled() const;
    bool PipEnabled() const;
    bool CornersEnabled() const;
    bool SpeedComparisonEnabled() const;
    bool OtherMarkersEnabled() const;
    // Lap Colours always; a channel with a map to colour; Time Delta also needs two laps.
    bool ColourMapEnabled(TMapColour colour) const;
    bool CanZoomOut() const;
    bool CanFullSize() const;

    // ---- what the document's changes mean here ----
    // The window subscribes to the document itself: the track opened, the picture-in-picture
    // window closed by a clear, the laps changed, repaints.
    void Changed(const TDocumentChange& change) override;
    // An opened document's track became current: the picture-in-picture map fits it.
    void TrackOpened(bool hasGeometry);
    // Clearing the document: back to the graph as the Graph command does, and fit again.
    void SwitchToGraphForClear();
    // Clearing the document closes an open picture-in-picture window.
    void ClosePip();
    // The laps changed: lines of removed laps are forgotten and both windows repaint.
    void LapsChanged();
    // The main window repaints all of its picture.
    void Repaint();
    // After every change: the comparison goes off once the document no longer has the two
    // laps and the track it needs.
    void Sync();

  signals:
    void statusText(const QString&);
    void stateChanged();
    // For the data window: x in track units (kind 1) or seconds (kind 0); -1, -1 clears.
    void showLapValues(double x, TelemetryChannel kind);

  private:
    // The speed comparison's winners for the laps it compares (ComparedLaps), when shown.
    void CompareLaps();
    bool TrackHasGeometry() const;
    void RepaintMapViews();
    void DropCursorMarks();

    TCommandContext& ctx_;
    TGraphView& graph_;
    QStackedLayout& stack_;
    TLapLineCache lines_;
    TTrackMapView* map_ = nullptr;  // owned by the main window
    TPipWindow* pip_ = nullptr;     // owned by the main window
};
