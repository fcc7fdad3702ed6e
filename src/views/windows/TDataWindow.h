#pragma once
// "Lap Data": a floating table of every lap's channel values at the point the user is
// pointing at. One column per lap (a header section with the driver name, a colour bar and
// seven values), a label column on the left; a click on a lap's header collapses its column
// to a square and a second click restores it.
//
// The window reads the document through a source function at each ShowLapValues and keeps
// only its columns (TLapDataTable), which the main window keeps in step with the laps
// through AddLapColumn, RemoveLapColumn, RemoveAllLapColumns and UpdateLapColumn.
#include <QAbstractScrollArea>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "channels/LapValues.h"
#include "views/windows/ToolWindow.h"

class QHeaderView;
class QStandardItemModel;

class TDataWindow : public QAbstractScrollArea {
    Q_OBJECT
  public:
    static constexpr int kHeaderId = 152;
    static constexpr int kScrollUnit = 2;
    static constexpr int kTableRows = 8;
    static constexpr int kRowHeight = 16;
    // The table below the header: 4 pixels, then eight rows of 16.
    static constexpr int kTableHeight = 132;
    // The rows shown now: the eight, and the "Delta" row while the time delta strip is.
    int RowCount() const;
    int TableHeight() const { return 4 + RowCount() * kRowHeight; }

    using TSourceFn = std::function<TLapValuesSource()>;
    TDataWindow(TSourceFn source, QWidget* owner);
    ~TDataWindow() override;

    // Set-up: the placement the settings give, the label column, the header's height.
    void Setup(const TWindowRect& placement);
    TWindowRect Placement() const { return placement_.Rect(); }
    // The client size that shows every lap's column and every row.
    QSize ContentSize() const;

    void AddLapColumn(const TReplay& lap);
    void RemoveLapColumn(int32_t index);
    void RemoveAllLapColumns();
    void UpdateLapColumn(int32_t index, const std::string& name, Rgb colour);
    // The header's names, one per lap column: laps of one driver told apart by lap time.
    // Only a header whose text differs changes; an expanded column widens as a new name does.
    void ShowLapNames(const std::vector<std::string>& names);
    // A lap hidden from the views collapses its column as a header click would and shows
    // nothing; shown again, the column takes back the width it had. While hidden, a click on
    // its header does nothing.
    void SetLapHidden(int32_t index, bool hidden);
    // x in track units (kind TelemetryChannel::Position) or seconds (TelemetryChannel::Time);
    // kPointedAtNothing empties every cell, kPointedAtCursor takes the shared cursor, a negative
    // kind the graph's x-axis. Nothing is computed while the window is hidden.
    void ShowLapValues(double x, TelemetryChannel kind);
    // Runs the last ShowLapValues again while the Delta row is or should be shown: the
    // strip was turned on or off, the reference lap or the x-axis changed. Otherwise the
    // table stays as it is.
    void RefreshDelta();

    const TLapDataTable& columns() const { return table_; }
    QHeaderView* header() const { return header_; }
    int headerHeight() const { return headerHeight_; }
    // Right edges of the header sections, r[0] (the label column) to r[n].
    std::vector<int> ColumnEdges() const;
    // The text a value cell shows ("%7.2f", empty for no value).
    static QString CellText(TLapValue value);
    // The text of a Delta cell ("%+7.3f" seconds, empty for none).
    static QString DeltaText(std::optional<double> delta);

  signals:
    // The window manager closed the window (its close button): it is hidden now.
    void closedByUser();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void HeaderClicked(int section);
    void Relayout();
    void PlaceHeader();
    int NewColumnWidth(const QString& name) const;

    TSourceFn source_;
    TLapDataTable table_;
    QStandardItemModel* model_ = nullptr;
    QHeaderView* header_ = nullptr;
    int headerHeight_ = 0;
    double lastX_ = kPointedAtNothing;
    TelemetryChannel lastKind_ = TelemetryChannel::Position;
    TToolWindowPlacement placement_{*this};
};
