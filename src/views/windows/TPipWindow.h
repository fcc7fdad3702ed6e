#pragma once
// The picture-in-picture window "PiP": a small floating tool window that shows the view the
// main window does not show, the track map while the main window shows the graph and the
// graph at half scale while it shows the map, with a cursor of its own that follows the
// shared cursor position. Pointing into it moves that position.
#include <QAbstractScrollArea>
#include <QImage>

#include <cstdint>
#include <vector>

#include "channels/Channels.h"
#include "commands/CommandContext.h"
#include "views/map/LapLine.h"
#include "views/map/MapDrawing.h"
#include "views/map/MapLapDots.h"
#include "views/map/MapNavigation.h"

class TPipWindow : public QAbstractScrollArea {
    Q_OBJECT
  public:
    // Created hidden, owned by the main window (owner), at the stored placement.
    TPipWindow(TCommandContext& ctx, TLapLineCache& lines, QWidget* owner = nullptr);

    TMapNavigation& State() { return state_; }
    const TMapNavigation& State() const { return state_; }
    QSize ClientSize() const;
    bool RepaintPending() const { return pipRepaintPending_; }

    // The window's map: the region the main window showed (main state and client size,
    // at scale mainScale), or the whole map fitted when mainScale is 0.
    void ShowMapInPip(double mainScale, const TMapNavigation& main, QSize mainClient);
    // The window shows the graph: no scrolling.
    void ShowGraphInPip();
    // A full repaint of what the window shows.
    void RepaintRequest();
    // cursorPosition was changed elsewhere: move this window's cursor.
    void CursorMoved();

    // The stored placement (outer rectangle in screen pixels) and the current one.
    void SetPlacement(int x, int y, int w, int h);
    QRect Placement() const;

  signals:
    void cursorChanged(int32_t position);
    void showLapValues(double x, TelemetryChannel kind);
    // The window manager asked to close the window; the main window's command decides.
    void closeRequested();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    bool ShowsGraph() const;
    TPixel Offset() const;
    void SyncScrollBars();
    void RebuildLayer();
    // The cursor's line on this window, in client pixels; from == to when none.
    struct TPipCursor {
        bool shown = false;
        TPixel from, to;
        QRgb colour = 0;
    };
    TPipCursor CursorLine() const;
    QRect CursorRect(const TPipCursor& c) const;
    void UpdateCursor();

    TCommandContext& ctx_;
    TLapLineCache& lines_;
    TMapNavigation state_;
    QImage layer_;
    bool pipRepaintPending_ = false;
    bool layerStale_ = true;
    bool syncing_ = false;
    // The cursor is drawn by copy in a full paint, inverting after a pointer moved it.
    bool cursorByCopy_ = true;
    TPipCursor drawnCursor_;
    std::vector<TMapLapDot> drawnDots_;  // View > Cursor Line: the laps at the cursor
    std::vector<TMapLapDot> LapDots() const;
    QSize storedOuterSize_;
    QSize resizedTo_;  // the size of the last resize handled
    bool placementAdjusted_ = false;
};
