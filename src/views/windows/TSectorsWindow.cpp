#include "views/windows/TSectorsWindow.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>
#include <QShowEvent>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

#include <cstdio>

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

}  // namespace

TSectorsWindow::TSectorsWindow(TCommandContext& ctx, QWidget* parent)
    : QWidget(parent, Qt::Tool), ctx_(ctx) {
    setObjectName(QStringLiteral("sectorsWindow"));
    setWindowTitle(QStringLiteral("Sectors"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    table_ = new QTableWidget(this);
    table_->setObjectName(QStringLiteral("sectorTable"));
    table_->verticalHeader()->hide();
    table_->setSelectionMode(QAbstractItemView::NoSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setFocusPolicy(Qt::NoFocus);
    table_->horizontalHeader()->setSectionsClickable(true);
    layout->addWidget(table_);
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
    sectors_ = track != nullptr ? ComputeSectorTable(laps, *track) : TSectorTable{};
    const int sectorCount = static_cast<int>(sectors_.sectors.size());

    table_->clear();
    QStringList headers{QString(), QStringLiteral("Lap")};
    for (const TSector& s : sectors_.sectors) headers << QString::fromStdString(s.name);
    headers << QStringLiteral("Lap time") << QStringLiteral("Gap");
    table_->setColumnCount(static_cast<int>(headers.size()));
    table_->setHorizontalHeaderLabels(headers);
    const int lapTimeColumn = SectorColumn(sectorCount), gapColumn = lapTimeColumn + 1;
    const int rows = static_cast<int>(laps.size());
    table_->setRowCount(track != nullptr ? rows + 1 : 0);
    if (track == nullptr) return;

    for (int r = 0; r < rows; ++r) {
        const TReplay& lap = *laps[size_t(r)];
        const TSectorRow& row = sectors_.rows[size_t(r)];
        auto* colour = Cell(QString());
        colour->setBackground(QColor(lap.colour.r, lap.colour.g, lap.colour.b));
        table_->setItem(r, 0, colour);
        auto* name = Cell(LapNameText(lap.driverName));
        name->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        table_->setItem(r, 1, name);
        for (int s = 0; s < sectorCount; ++s) {
            const auto& t = row.times[size_t(s)];
            table_->setItem(
                r, SectorColumn(s),
                Cell(t ? Seconds(*t) : QString(), t && sectors_.bestLap[size_t(s)] == r));
        }
        table_->setItem(r, lapTimeColumn, Cell(Seconds(row.lapTime), sectors_.fastestLap == r));
        table_->setItem(
            r, gapColumn,
            Cell(row.fullLap && sectors_.ideal ? Seconds(row.lapTime - *sectors_.ideal, "%+.3f")
                                               : QString()));
    }
    table_->setItem(rows, 0, Cell(QString()));
    auto* ideal = Cell(QStringLiteral("Ideal"));
    ideal->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    table_->setItem(rows, 1, ideal);
    for (int s = 0; s < sectorCount; ++s) {
        const auto& t = sectors_.bestTimes[size_t(s)];
        table_->setItem(rows, SectorColumn(s), Cell(t ? Seconds(*t) : QString()));
    }
    table_->setItem(rows, lapTimeColumn,
                    Cell(sectors_.ideal ? Seconds(*sectors_.ideal) : QString()));
    table_->setItem(rows, gapColumn, Cell(QString()));
    table_->setColumnWidth(0, 16);
    table_->resizeColumnsToContents();
    table_->setColumnWidth(0, 16);
}

void TSectorsWindow::HeaderClicked(int column) {
    const int s = column - SectorColumn(0);
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
