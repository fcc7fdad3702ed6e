#pragma once
// View > Sectors: a floating tool window with one row per lap (colour, name, each sector's
// time, lap time, gap to the ideal lap) and a last row "Ideal". The best time of each
// column is bold on purple, as timing screens mark it. Clicking a sector's column header
// asks for the graph to zoom to that sector. It only reads the document, and recomputes
// its table when the document announces a change while it is shown.
#include <QWidget>

#include "analysis/Sectors.h"
#include "commands/CommandContext.h"
#include "commands/DocumentChange.h"

class QTableWidget;

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
    const TSectorTable& sectorTable() const { return sectors_; }
    // The column of sector s in the table.
    static int SectorColumn(int s) { return 2 + s; }

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

    TCommandContext& ctx_;
    QTableWidget* table_ = nullptr;
    TSectorTable sectors_;
    bool everShown_ = false;
    bool fitOnShow_ = false;
    void FitTable();
};
