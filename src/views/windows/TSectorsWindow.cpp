#include "views/windows/TSectorsWindow.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>
#include <QShowEvent>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

#include <cstdio>

#include "analysis/LapAnalysis.h"
#include "commands/LapAnalysisCommands.h"
#include "platform/ProfileFile.h"
#include "views/LapNameText.h"

namespace {

const QColor kBestBackground(128, 0, 160);  // purple, the timing screens' best time
const QColor kBestText(255, 255, 255);

QString Seconds(double t, const char* format = "%.3f") {
    char buf[64];
    std::snprintf(buf, sizeof buf, format, t);
    return QString::fromLatin1(buf);
}

QTableWidgetItem* Cell(const QString& text, bool best = false) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled);
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (best) {
        QFont font = item->font();
        font.setBold(true);
        item->setFont(font);
        item->setBackground(kBestBackground);
        item->setForeground(kBestText);
    }
    return item;
}

// A difference to the reference: red for a loss, green for a gain.
QTableWidgetItem* DifferenceCell(const std::optional<double>& difference) {
    if (!difference) return Cell(QString());
    auto* item = Cell(QString::fromStdString(DifferenceText(*difference)));
    const int sign = DifferenceSign(*difference);
    if (sign > 0) item->setForeground(TSectorsWindow::LossColour());
    if (sign < 0) item->setForeground(TSectorsWindow::GainColour());
    return item;
}

QTableWidgetItem* NameCell(const QString& text) {
    auto* item = Cell(text);
    item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return item;
}

QTableWidget* NewTable(QWidget* parent, const char* name) {
    auto* table = new QTableWidget(parent);
    table->setObjectName(QString::fromLatin1(name));
    table->verticalHeader()->hide();
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setFocusPolicy(Qt::NoFocus);
    return table;
}

const char* const kReferenceMark = "  (reference)";

}  // namespace

TSectorsWindow::TSectorsWindow(TCommandContext& ctx, QWidget* parent)
    : QWidget(parent, Qt::Tool), ctx_(ctx) {
    setObjectName(QStringLiteral("sectorsWindow"));
    setWindowTitle(QStringLiteral("Sectors"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("sectorPages"));
    table_ = NewTable(pages_, "sectorTable");
    table_->horizontalHeader()->setSectionsClickable(true);
    cornerTable_ = NewTable(pages_, "cornerTable");
    pages_->addTab(table_, QStringLiteral("Sectors"));
    pages_->addTab(cornerTable_, QStringLiteral("Corners"));
    layout->addWidget(pages_);
    connect(table_->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &TSectorsWindow::HeaderClicked);

    ProfileFile& s = ctx_.settings;
    // Without a stored size the window fits its table when it first opens.
    constexpr int kAbsent = std::numeric_limits<int>::min();
    fitOnShow_ = s.ReadInt("window", "secw", kAbsent) == kAbsent;
    move(s.ReadInt("window", "secx", 320), s.ReadInt("window", "secy", 0));
    resize(std::max(100, s.ReadInt("window", "secw", 760)),
           std::max(60, s.ReadInt("window", "sech", 200)));
    ctx_.doc.Subscribe(*this);
}

TSectorsWindow::~TSectorsWindow() {
    ctx_.doc.Unsubscribe(*this);
}

void TSectorsWindow::Changed(const TDocumentChange& change) {
    switch (change.kind) {
        case TChangeKind::LapAdded:
        case TChangeKind::LapEdited:
        case TChangeKind::LapRemoved:
        case TChangeKind::AllLapsRemoved:
        case TChangeKind::TrackOpened:
        case TChangeKind::LapsChanged:
            Refresh();
            break;
        default:
            break;
    }
}

void TSectorsWindow::Refresh() {
    if (!isVisible()) return;
    const TTrackData* track = CurrentTrack(ctx_);
    const std::vector<const TReplay*> laps = ctx_.doc.laps().Pointers();
    const int32_t reference = ReferenceLapIndex(ctx_);
    sectors_ = track != nullptr ? ComputeSectorTable(laps, *track, reference) : TSectorTable{};
    corners_ = track != nullptr ? ComputeCornerTable(laps, *track, reference) : TCornerTable{};
    std::vector<std::string> names = LapDisplayNames(laps);
    if (reference >= 0 && size_t(reference) < names.size())
        names[size_t(reference)] += kReferenceMark;
    FillSectors(names);
    FillCorners(names);
}

void TSectorsWindow::FillSectors(const std::vector<std::string>& names) {
    const std::vector<const TReplay*> laps = ctx_.doc.laps().Pointers();
    const bool hasTrack = !sectors_.sectors.empty();
    const int sectorCount = static_cast<int>(sectors_.sectors.size());
    const QString plusMinus = QStringLiteral("+/-");

    table_->clear();
    QStringList headers{QString(), QStringLiteral("Lap")};
    for (const TSector& s : sectors_.sectors)
        headers << QString::fromStdString(s.name) << plusMinus;
    headers << QStringLiteral("Lap time") << plusMinus << QStringLiteral("Gap");
    table_->setColumnCount(static_cast<int>(headers.size()));
    table_->setHorizontalHeaderLabels(headers);
    const int lapTimeColumn = SectorColumn(sectorCount), gapColumn = lapTimeColumn + 2;
    const int rows = static_cast<int>(sectors_.rows.size());
    table_->setRowCount(hasTrack ? rows + 1 : 0);
    if (!hasTrack) return;

    for (int r = 0; r < rows; ++r) {
        const TReplay& lap = *laps[size_t(r)];
        const TSectorRow& row = sectors_.rows[size_t(r)];
        auto* colour = Cell(QString());
        colour->setBackground(QColor(lap.colour.r, lap.colour.g, lap.colour.b));
        table_->setItem(r, 0, colour);
        table_->setItem(r, 1, NameCell(QString::fromLatin1(names[size_t(r)].c_str())));
        for (int s = 0; s < sectorCount; ++s) {
            const auto& t = row.times[size_t(s)];
            table_->setItem(
                r, SectorColumn(s),
                Cell(t ? Seconds(*t) : QString(), t && sectors_.bestLap[size_t(s)] == r));
            table_->setItem(r, DifferenceColumn(s),
                            DifferenceCell(row.differences.empty() ? std::nullopt
                                                                   : row.differences[size_t(s)]));
        }
        table_->setItem(r, lapTimeColumn, Cell(Seconds(row.lapTime), sectors_.fastestLap == r));
        table_->setItem(r, lapTimeColumn + 1, DifferenceCell(row.lapDifference));
        table_->setItem(
            r, gapColumn,
            Cell(row.fullLap && sectors_.ideal ? Seconds(row.lapTime - *sectors_.ideal, "%+.3f")
                                               : QString()));
    }
    table_->setItem(rows, 0, Cell(QString()));
    table_->setItem(rows, 1, NameCell(QStringLiteral("Ideal")));
    for (int s = 0; s < sectorCount; ++s) {
        const auto& t = sectors_.bestTimes[size_t(s)];
        table_->setItem(rows, SectorColumn(s), Cell(t ? Seconds(*t) : QString()));
        table_->setItem(rows, DifferenceColumn(s), Cell(QString()));
    }
    table_->setItem(rows, lapTimeColumn,
                    Cell(sectors_.ideal ? Seconds(*sectors_.ideal) : QString()));
    table_->setItem(rows, lapTimeColumn + 1, Cell(QString()));
    table_->setItem(rows, gapColumn, Cell(QString()));
    table_->setColumnWidth(0, 16);
    table_->resizeColumnsToContents();
    table_->setColumnWidth(0, 16);
}

void TSectorsWindow::FillCorners(const std::vector<std::string>& names) {
    cornerTable_->clear();
    cornerTable_->setColumnCount(kCornerColumns);
    cornerTable_->setHorizontalHeaderLabels(
        {QStringLiteral("Corner"), QStringLiteral("Lap"), QStringLiteral("Entry (mph)"),
         QStringLiteral("Min (mph)"), QStringLiteral("at (feet)"), QStringLiteral("Exit (mph)"),
         QStringLiteral("Time"), QStringLiteral("+/-")});
    const int lapCount = static_cast<int>(corners_.laps.size());
    const int cornerCount = static_cast<int>(corners_.corners.size());
    cornerTable_->setRowCount(lapCount * cornerCount);
    auto speed = [](double mph) { return Seconds(mph, "%.1f"); };
    for (int c = 0; c < cornerCount; ++c) {
        const auto& best = corners_.best[size_t(c)];
        auto isBest = [&](TCornerColumn column, int lap) { return best[size_t(column)] == lap; };
        for (int n = 0; n < lapCount; ++n) {
            const int r = c * lapCount + n;
            const TCornerCell& cell = corners_.laps[size_t(n)][size_t(c)];
            // The corner's name on its first row, so that the rows read as groups.
            cornerTable_->setItem(
                r, kCornerName,
                NameCell(n == 0 ? QString::fromStdString(corners_.corners[size_t(c)].name)
                                : QString()));
            cornerTable_->setItem(r, kCornerLap,
                                  NameCell(QString::fromLatin1(names[size_t(n)].c_str())));
            if (!cell.covered) {
                for (int k = kEntry; k < kCornerColumns; ++k) cornerTable_->setItem(r, k, Cell({}));
                continue;
            }
            cornerTable_->setItem(r, kEntry,
                                  Cell(speed(cell.entry), isBest(TCornerColumn::Entry, n)));
            cornerTable_->setItem(r, kMinimum,
                                  Cell(speed(cell.minimum), isBest(TCornerColumn::Minimum, n)));
            cornerTable_->setItem(r, kMinimumAt, Cell(Seconds(cell.minimumAt, "%.0f")));
            cornerTable_->setItem(r, kExit, Cell(speed(cell.exit), isBest(TCornerColumn::Exit, n)));
            cornerTable_->setItem(r, kCornerTime,
                                  Cell(Seconds(cell.time), isBest(TCornerColumn::Time, n)));
            cornerTable_->setItem(r, kCornerDifference, DifferenceCell(cell.difference));
        }
    }
    cornerTable_->resizeColumnsToContents();
}

void TSectorsWindow::HeaderClicked(int column) {
    // A sector's time and its difference both zoom to it.
    const int s = (column - SectorColumn(0)) / 2;
    if (column < SectorColumn(0)) return;
    if (s < 0 || s >= static_cast<int>(sectors_.sectors.size())) return;
    emit sectorChosen(sectors_.sectors[size_t(s)].from, sectors_.sectors[size_t(s)].to);
}

void TSectorsWindow::SavePlacement() {
    // A docked window's place is the frame's layout, not a placement of its own.
    if (!everShown_ || !isWindow()) return;
    ProfileFile& s = ctx_.settings;
    s.WriteInt("window", "secx", pos().x());
    s.WriteInt("window", "secy", pos().y());
    s.WriteInt("window", "secw", width());
    s.WriteInt("window", "sech", height());
}

void TSectorsWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    everShown_ = true;
    Refresh();
    if (fitOnShow_) {
        fitOnShow_ = false;
        FitTable();
    }
}

void TSectorsWindow::FitTable() {
    // Every column and row of the table, within half the screen's width.
    const int frame = 2 * table_->frameWidth();
    int w = table_->horizontalHeader()->length() + frame;
    int h = table_->horizontalHeader()->height() + frame;
    for (int r = 0; r < table_->rowCount(); ++r) h += table_->rowHeight(r);
    const QRect area = screen() != nullptr ? screen()->availableGeometry() : QRect(0, 0, 1024, 768);
    if (w > area.width() / 2) {
        w = area.width() / 2;
        h += table_->horizontalScrollBar()->sizeHint().height();
    }
    resize(std::max(w, 200), std::min(std::max(h, 80), area.height() * 8 / 10));
}

void TSectorsWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    emit closed();
}
