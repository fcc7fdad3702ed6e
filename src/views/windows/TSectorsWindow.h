#pragma once
// View > Sectors: a floating tool window of two pages. "Sectors": one row per lap (colour,
// name, each sector's time and its difference to the reference lap, lap time and its
// difference, gap to the ideal lap) and a last row "Ideal". "Corners": per corner and lap the
// entry, minimum and exit speeds, where the minimum falls, and the time through the corner
// with its difference. The best of each column is bold on purple, as timing screens mark it;
// a loss to the reference is red, a gain green. Clicking a sector's column header asks for
// the graph to zoom to that sector. It only reads the document and the view state, and
// recomputes its tables when told of a change while it is shown.
#include <QColor>
#include <QWidget>

#include <string>
#include <vector>

#include "analysis/Corners.h"
#include "analysis/Sectors.h"
#include "commands/CommandContext.h"
#include "commands/DocumentChange.h"

class QTableWidget;
class QTabWidget;

class TSectorsWindow : public QWidget, public TDocumentObserver {
    Q_OBJECT
  public:
    // Placement from the settings, section "window", keys "secx", "secy", "secw", "sech".
    TSectorsWindow(TCommandContext& ctx, QWidget* parent);
    ~TSectorsWindow() override;

    void Changed(const TDocumentChange& change) override;
    // Recomputes the table (only while shown; showing it refreshes it).
    void Refresh();
    // Writes the placement keys; only for a window that was shown in this run, so that the
    // settings of a user who never opens it stay as they were.
    void SavePlacement();

    QTableWidget* table() const { return table_; }
    QTableWidget* cornerTable() const { return cornerTable_; }
    QTabWidget* pages() const { return pages_; }
    const TSectorTable& sectorTable() const { return sectors_; }
    const TCornerTable& corners() const { return corners_; }
    // The columns of sector s in the table: its time, then its difference to the reference.
    static int SectorColumn(int s) { return 2 + 2 * s; }
    static int DifferenceColumn(int s) { return 3 + 2 * s; }
    // The corner table's columns; its rows run corner by corner, a row per lap.
    enum TCornerTableColumn {
        kCornerName,
        kCornerLap,
        kEntry,
        kMinimum,
        kMinimumAt,
        kExit,
        kCornerTime,
        kCornerDifference,
        kCornerColumns
    };
    // A difference's colours: a loss red, a gain green, as timing screens show them.
    static QColor LossColour() { return QColor(200, 0, 0); }
    static QColor GainColour() { return QColor(0, 140, 0); }

  signals:
    // A sector's column header was clicked: its range along the track, in feet.
    void sectorChosen(double fromFeet, double toFeet);
    // The user closed the window with its close button.
    void closed();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void HeaderClicked(int column);
    void FillSectors(const std::vector<std::string>& names);
    void FillCorners(const std::vector<std::string>& names);

    TCommandContext& ctx_;
    QTabWidget* pages_ = nullptr;
    QTableWidget* table_ = nullptr;
    QTableWidget* cornerTable_ = nullptr;
    TSectorTable sectors_;
    TCornerTable corners_;
    bool everShown_ = false;
    bool fitOnShow_ = false;
    void FitTable();
};
