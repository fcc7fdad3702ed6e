#pragma once
// The telemetry graph in the main window: axes and curves of every lap, hover readouts,
// the cursor line, rubber-band zoom, Zoom Out, Full Size and the axis pop-up menus.
//
// The document is read, never written, except through the axis commands; the ranges, the
// drag and the cursor live in the graph's view state (ctx.view.graph). The view keeps only
// what the pointer is doing and a cached picture of the axes and curves, rebuilt when a
// full repaint is pending (repaintPending) so that mouse moves only draw the overlays.
#include <QImage>
#include <QPoint>
#include <QSize>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "channels/Channels.h"
#include "commands/CommandContext.h"
#include "views/graph/GraphGeometry.h"

class QMenu;
class QPainter;

class TGraphView : public QWidget {
    Q_OBJECT
  public:
    TGraphView(TCommandContext& ctx, QWidget* parent = nullptr);

    // After the laps changed: fullRange from the extents per axes, viewRange = fullRange.
    void ResetRanges();
    // Mark the cached layer stale (repaintPending) and update(). A full repaint erases the
    // window, and with it the cursor and the data window's values.
    void FullRepaint();
    bool CanZoomOut() const;
    void ZoomOut();
    bool CanFullSize() const;
    void FullSize();
    // Shows x from..to (held inside the full x range) as a zoom does; nothing for an empty
    // or reversed range.
    void ShowXRange(double from, double to);
    // What the axis pop-up menus and the View menu's axis commands do. Channels an axis
    // cannot hold are ignored.
    void SetAxes(TelemetryChannel x, TelemetryChannel y, TelemetryChannel y2);
    void SetAxis(TAxisKind kind, TelemetryChannel channel);
    // Runs a command of the pop-up menus (axis commands, Zoom Out, Full Size); false for an
    // id that is none of them.
    bool RunCommand(int id);
    // cursorPosition was changed elsewhere (map, picture-in-picture): move the line.
    void CursorMoved();
    // The arrow keys: moves the pointed-at column by columns (negative to the left), from
    // the last column the keys or the pointer chose, and reads it as the pointer would. On a
    // Position x-axis the cursor line follows, with or without the picture-in-picture window.
    void StepCursor(int columns);

    // View > Stacked Channels on or off, and the panes' channels (top to bottom); each is
    // kept in the settings file ("view", "stacked" and "stackchannels").
    void SetStacked(bool on);
    void SetStackedChannels(const std::vector<TelemetryChannel>& channels);
    // A pane's right-click menu chose another channel for it.
    void SetPaneChannel(int pane, TelemetryChannel channel);
    // The pane's menu: the seven channels (the pane's own checked), and over the plot the
    // zoom commands. A channel's item carries kPaneChannelItem plus its number.
    void FillPaneMenu(QMenu& menu, int pane, bool overPlot) const;
    static constexpr int kPaneChannelItem = 1 << 20;

    TAxisKind HighlightedAxis() const { return highlightedAxis_; }
    // The pop-up menu a right click would show for this axis (None: Full Size, Zoom Out,
    // enabled as their commands are).
    void FillPopupMenu(QMenu& menu, TAxisKind axis) const;
    // The delta strip's right-click menu: the three things it can draw, the current checked.
    void FillDeltaStripMenu(QMenu& menu) const;

  signals:
    void statusText(const QString&);  // hover readouts and axis hints for the status line
    void stateChanged();              // zoom/axes changed: the frame re-runs its command enablers
    // The shared cursor position changed (NoCursor when it was taken away).
    void cursorChanged(int32_t position);
    // What the data window shows: x in track units (kind 1) or seconds (kind 0); -1, -1
    // clears its values.
    void showLapValues(double x, TelemetryChannel kind);
    // The graph's picture changed (axes or ranges): a picture-in-picture window showing
    // the graph repaints.
    void graphChanged();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Shows the pop-up menu and returns the chosen command id, 0 for none.
    virtual int ExecPopupMenu(QMenu& menu, const QPoint& globalPos);

  public:
    // Rows at the bottom taken by the time delta strip (0 while it is not shown), and the
    // height the graph itself lays out in.
    int StripHeight() const;
    int GraphHeight() const { return height() - StripHeight(); }
    // The geometry the pointer is read with: the single graph's, or the stacked panes'
    // columns and outer rows.
    TGraphGeometry MainGeometry() const;

  private:
    void RebuildLayer();
    void StripMouseMove(const QPoint& pos);
    QRect StripCursorRect() const;
    void RedrawAxes();
    void DropCursor();
    void UpdateCursorLine();
    QRect CursorLineRect() const;
    int CursorLineColumn() const;
    std::vector<QRect> BandEdges() const;
    void UpdateBand();
    void EndZoomCommand();
    void RangeChanged();
    // The readouts, the data window and the cursor for a point inside the plot.
    void PointAt(const QPoint& pos, bool fromKeys);

    TCommandContext& ctx_;
    QImage layer_;
    TAxisKind highlightedAxis_ = TAxisKind::None;
    bool overPlot_ = false;
    QPoint dragAnchor_, dragCorner_;
    int drawnCursorColumn_ = -1;  // column of the cursor line on screen, -1 for none
    QSize resizedTo_;             // the size of the last resize handled
    // Panning with the middle button or Shift and the left button: where it started and
    // the x range shown then.
    bool panning_ = false;
    int panAnchorX_ = 0;
    TRange panFrom_;
    // The arrow keys' column (-1 until a key is pressed after the pointer moved), the last
    // point read inside the plot, and whether the keys put the cursor line there.
    int keyColumn_ = -1;
    QPoint lastPoint_{-1, -1};
    bool keyCursor_ = false;
};

// The drawing, usable by the picture-in-picture window: scale divisor and client rectangle.
void PaintGraph(QPainter& p, const TCommandContext& ctx, const QRect& client, int scaleDivisor);
// Renders the whole graph into image (32-bit RGB, the client size).
void RenderGraph(QImage& image, const TCommandContext& ctx, int scaleDivisor,
                 TAxisKind highlightedAxis, int dpiY);
// The main window's picture: RenderGraph, and below it the time delta strip while that is
// shown. With the strip off this is exactly RenderGraph at scale 1.
void RenderMainGraph(QImage& image, const TCommandContext& ctx, TAxisKind highlightedAxis,
                     int dpiY);
// PaintGraph with the highlighted axis and the vertical dpi given.
void PaintGraph(QPainter& p, const TCommandContext& ctx, const QRect& client, int scaleDivisor,
                TAxisKind highlightedAxis, int dpiY);
