#pragma once
// The track map in the main window's map mode: the map of the document's track and laps on
// a canvas that scrolls in 16-pixel units, the rubber-band zoom, Zoom Out, Full Size, and
// the readout of position and line under the pointer with the cursor line across the
// track.
//
// The map layer is rendered into a cached image when a full repaint is pending or the
// view scrolled; pointer moves only draw the cursor line and the rubber band over it.
#include <QAbstractScrollArea>
#include <QImage>
#include <QSize>

#include <cstdint>

#include "channels/Channels.h"
#include "commands/CommandContext.h"
#include "views/map/LapLine.h"
#include "views/map/MapDrawing.h"
#include "views/map/MapLapDots.h"
#include "views/map/MapNavigation.h"

class TTrackMapView : public QAbstractScrollArea {
    Q_OBJECT
  public:
    TTrackMapView(TCommandContext& ctx, TLapLineCache& lines, QWidget* parent = nullptr);

    TMapNavigation& State() { return state_; }
    const TMapNavigation& State() const { return state_; }
    // The client area the map is drawn in (the window less its scroll bars).
    QSize ClientSize() const;
    // The current track's map extent, and the scene the map is drawn from.
    TMapExtent Extent() const;
    TMapScene Scene() const;
    // The laps' line cache the map shares with the picture-in-picture window.
    TLapLineCache& Lines() const { return lines_; }

    // The map-mode half of the Map command (after the window switched to the map): the
    // cross cursor, no cursor line, then fit or restore the zoom and scroll position.
    void Enter();
    // Leaving the map for the graph: the scroll position is kept for the next visit.
    void Leave();
    // Clearing the document: the next Map command fits again.
    void Clear();
    bool CanZoomOut() const;
    void ZoomOut();
    bool CanFullSize() const;
    void FullSize();
    // Mark the cached layer stale and repaint; an erasing repaint drops the cursor line.
    void FullRepaint();
    // cursorPosition was changed elsewhere (picture-in-picture): move the cursor line.
    void CursorMoved();

  signals:
    void statusText(const QString&);
    void stateChanged();
    void cursorChanged(int32_t position);
    // What the data window shows: a position in track units (kind 1), -1, -1 for nothing.
    void showLapValues(double x, TelemetryChannel kind);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    // The wheel zooms the map about the pointer instead of scrolling it.
    void wheelEvent(QWheelEvent* event) override;

  private:
    bool InMap() const;
    TPixel Offset() const;
    void SyncScrollBars();
    void RebuildLayer();
    QRect CursorRect(const TMapCursorLine& line) const;
    void UpdateCursor();
    QRect BandRect() const;
    void UpdateBand();
    void DropCursor();
    void NavigationChanged();

    TCommandContext& ctx_;
    TLapLineCache& lines_;
    TMapNavigation state_;
    QImage layer_;
    bool layerStale_ = true;
    // A full repaint was asked for and has not been painted: pointer moves wait for it. The
    // map's own, since a command for the hidden graph must not stop the map following.
    bool repaintPending_ = false;
    bool syncing_ = false;
    TPixel dragAnchor_, dragCorner_;
    TMapCursorLine drawnCursor_;
    std::vector<TMapLapDot> drawnDots_;  // View > Cursor Line: the laps at the cursor
    QSize resizedTo_;
    // Panning with the middle button, or Shift and the left button: where it started and
    // the scroll position then.
    bool panning_ = false;
    TPixel panAnchor_;
    TMapScroller panFrom_;
};

// The cursor line drawn over image (the map layer under it) into painter: by copy in the
// pen's colour, or by the inverting raster operation (NOT (pen XOR screen)) so that drawing
// it twice would remove it.
class QPainter;
void PaintCursorLine(QPainter& p, const QImage& under, const TMapCursorLine& line, bool invert);
