#pragma once
// View > G-G Plot: a tool window (or a dock) with the G-G plot of the laps shown, following
// the graph's x range and the cursor. It only reads the document and the view state.
#include <QImage>
#include <QWidget>
#include <vector>

#include "commands/CommandContext.h"
#include "commands/DocumentChange.h"
#include "views/windows/GGPlot.h"

class TGGPlotWindow : public QWidget, public TDocumentObserver {
    Q_OBJECT
  public:
    // Placement from the settings, section "window", keys "ggx", "ggy", "ggw", "ggh".
    TGGPlotWindow(TCommandContext& ctx, QWidget* parent);
    ~TGGPlotWindow() override;

    void Changed(const TDocumentChange& change) override;
    // The laps, their visibility or the graph's x range changed: draw the plot afresh.
    void Refresh();
    // The cursor moved: move its marks.
    void CursorMoved();
    // Writes the placement keys, only for a window shown in this run.
    void SavePlacement();

  signals:
    void closed();  // the user closed it with its close button

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    QRect MarksRect() const;

    TCommandContext& ctx_;
    TGGPoints points_;
    QImage layer_;
    bool stale_ = true;
    bool everShown_ = false;
    std::vector<TGGCursorPoint> marks_;
};
