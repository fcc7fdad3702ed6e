#include "views/windows/TDataWindow.h"
#include "views/LapNameText.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QStyle>
#include <algorithm>
#include <cstdio>

namespace {

// The label of each table row, and which of a lap's values the row shows (-1: the colour
// bar). Line comes before Speed in the table, unlike the channel order.
struct TRow {
    const char* label;
    int value;
};
constexpr TRow kRows[TDataWindow::kTableRows] = {
    {"Color", -1},
    {"Time", ChannelNumber(TelemetryChannel::Time)},
    {"Position", ChannelNumber(TelemetryChannel::Position)},
    {"Line", ChannelNumber(TelemetryChannel::Line)},
    {"Speed", ChannelNumber(TelemetryChannel::Speed)},
    {"Inline G's", ChannelNumber(TelemetryChannel::InlineForce)},
    {"Lateral G's", ChannelNumber(TelemetryChannel::LateralForce)},
    {"Slip Angle", ChannelNumber(TelemetryChannel::SlipAngle)},
};

QColor ToQColor(Rgb c) {
    return QColor(c.r, c.g, c.b);
}

}  // namespace

TDataWindow::TDataWindow(TSourceFn source, QWidget* owner)
    : QAbstractScrollArea(owner), source_(std::move(source)) {
    setWindowFlags(ToolWindowFlags());
    setWindowTitle(QStringLiteral("Lap Data"));
    setObjectName(QStringLiteral("dataWindow"));
    setFont(ToolWindowFont(logicalDpiY()));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // The header lives on the viewport and scrolls with the table, whose coordinates
    // include it.
    model_ = new QStandardItemModel(0, 0, this);
    header_ = new QHeaderView(Qt::Horizontal, viewport());
    header_->setObjectName(QStringLiteral("dataHeader"));
    header_->setProperty("controlId", kHeaderId);
    header_->setModel(model_);
    header_->setSectionsClickable(true);
    header_->setHighlightSections(false);
    header_->setStretchLastSection(false);
    header_->setMinimumSectionSize(0);
    header_->setSectionResizeMode(QHeaderView::Interactive);
    header_->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(header_, &QHeaderView::sectionClicked, this, &TDataWindow::HeaderClicked);
    connect(header_, &QHeaderView::sectionResized, this, [this] { Relayout(); });
    horizontalScrollBar()->setSingleStep(1);
    verticalScrollBar()->setSingleStep(1);
}

TDataWindow::~TDataWindow() = default;

void TDataWindow::Setup(const TWindowRect& placement) {
    if (PlacementStored(placement))
        placement_.Place(placement);
    else
        placement_.PlaceUnstored(placement, [this] { return ContentSize(); });
    model_->setColumnCount(1);
    model_->setHorizontalHeaderItem(0, new QStandardItem(QString()));
    header_->resizeSection(0, fontMetrics().horizontalAdvance(QStringLiteral("Skid Angle")) + 8);
    headerHeight_ = header_->sizeHint().height();
    Relayout();
}

QSize TDataWindow::ContentSize() const {
    // Every column and every row, with the scroll bars beside them.
    return QSize(header_->length() + verticalScrollBar()->sizeHint().width() + 2,
                 headerHeight_ + 132 + horizontalScrollBar()->sizeHint().height() + 2);
}

int TDataWindow::NewColumnWidth(const QString& name) const {
    // Wide enough for the driver name in the header and for a "%7.2f" value with the
    // cell's margins.
    const int margin = header_->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header_);
    const int nameWidth = header_->fontMetrics().horizontalAdvance(name) + 2 * margin + 4;
    const int valueWidth = fontMetrics().horizontalAdvance(QStringLiteral("-9999.99")) + 8;
    return std::max(nameWidth, valueWidth);
}

void TDataWindow::AddLapColumn(const TReplay& lap) {
    table_.AddLapColumn(lap);
    const QString name = LapNameText(lap.driverName);
    const int column = model_->columnCount();
    model_->insertColumn(column);
    model_->setHorizontalHeaderItem(column, new QStandardItem(name));
    header_->resizeSection(column, NewColumnWidth(name));
    Relayout();
}

void TDataWindow::RemoveLapColumn(int32_t index) {
    if (index < 0 || index >= table_.Count()) return;
    table_.RemoveLapColumn(index);
    model_->removeColumn(index + 1);
    Relayout();
}

void TDataWindow::RemoveAllLapColumns() {
    table_.RemoveAllLapColumns();
    if (model_->columnCount() > 1) model_->removeColumns(1, model_->columnCount() - 1);
    Relayout();
}

void TDataWindow::UpdateLapColumn(int32_t index, const std::string& name, Rgb colour) {
    if (index < 0 || index >= table_.Count()) return;
    table_.UpdateLapColumn(index, name, colour);
    // The header follows the new name; an expanded column widens when the name no longer
    // fits, and is never narrowed against the user's choice; a hidden lap's stays a square.
    const QString text = LapNameText(name);
    model_->setHorizontalHeaderItem(index + 1, new QStandardItem(text));
    const TLapData& d = table_.At(index);
    if (d.expanded && !d.hidden && header_->sectionSize(index + 1) < NewColumnWidth(text))
        header_->resizeSection(index + 1, NewColumnWidth(text));
    viewport()->update();
}

void TDataWindow::ShowLapNames(const std::vector<std::string>& names) {
    const int count = std::min(table_.Count(), static_cast<int32_t>(names.size()));
    for (int i = 0; i < count; ++i) {
        const QString text = QString::fromLatin1(names[size_t(i)].c_str());
        const QStandardItem* was = model_->horizontalHeaderItem(i + 1);
        if (was != nullptr && was->text() == text) continue;
        model_->setHorizontalHeaderItem(i + 1, new QStandardItem(text));
        const TLapData& d = table_.At(i);
        if (d.expanded && !d.hidden && header_->sectionSize(i + 1) < NewColumnWidth(text))
            header_->resizeSection(i + 1, NewColumnWidth(text));
    }
    viewport()->update();
}

void TDataWindow::SetLapHidden(int32_t index, bool hidden) {
    if (!table_.SetColumnHidden(index, hidden)) return;
    TLapData& d = table_.At(index);
    // A column the user collapsed is a square already and keeps the width it had.
    if (d.expanded) {
        if (hidden) d.savedWidth = header_->sectionSize(index + 1);
        header_->resizeSection(index + 1, hidden ? headerHeight_ : d.savedWidth);
    }
    Relayout();
}

int TDataWindow::RowCount() const {
    return kTableRows + (table_.DeltaShown() ? 1 : 0);
}

void TDataWindow::ShowLapValues(double x, TelemetryChannel kind) {
    if (isHidden()) return;
    lastX_ = x;
    lastKind_ = kind;
    const bool deltaWas = table_.DeltaShown();
    table_.ShowLapValues(x, kind, source_ ? source_() : TLapValuesSource{});
    if (table_.DeltaShown() != deltaWas) {
        Relayout();
        return;
    }
    // Only the value rows change: the header and the colour bars stay as they are.
    const int top = headerHeight_ + 4 + kRowHeight - verticalScrollBar()->value() * kScrollUnit;
    viewport()->update(QRect(0, top, viewport()->width(), (RowCount() - 1) * kRowHeight));
}

void TDataWindow::RefreshDelta() {
    if (isHidden()) return;
    const bool wanted = source_ && source_().deltaReference >= 0;
    if (wanted || table_.DeltaShown()) ShowLapValues(lastX_, lastKind_);
}

QString TDataWindow::DeltaText(std::optional<double> delta) {
    if (!delta) return QString();
    char buf[64];
    std::snprintf(buf, sizeof buf, "%+7.3f", *delta);
    return QString::fromLatin1(buf);
}

std::vector<int> TDataWindow::ColumnEdges() const {
    std::vector<int> r;
    int edge = 0;
    for (int k = 0; k < header_->count(); ++k) {
        edge += header_->sectionSize(k);
        r.push_back(edge);
    }
    return r;
}

QString TDataWindow::CellText(TLapValue value) {
    if (!value) return QString();
    char buf[64];
    std::snprintf(buf, sizeof buf, "%7.2f", *value);
    return QString::fromLatin1(buf);
}

void TDataWindow::HeaderClicked(int section) {
    if (section <= 0 || section > table_.Count()) return;
    TLapData& d = table_.At(section - 1);
    if (d.hidden) return;
    if (d.expanded) {
        d.savedWidth = header_->sectionSize(section);
        header_->resizeSection(section, headerHeight_);
    } else {
        header_->resizeSection(section, d.savedWidth);
    }
    d.expanded = !d.expanded;
    Relayout();
}

void TDataWindow::Relayout() {
    const int w = header_->length();
    const QSize client = viewport()->size();
    QScrollBar* h = horizontalScrollBar();
    QScrollBar* v = verticalScrollBar();
    h->setPageStep(std::max(1, client.width() / kScrollUnit));
    v->setPageStep(std::max(1, client.height() / kScrollUnit));
    h->setRange(0, std::max(0, (w - client.width()) / kScrollUnit));
    v->setRange(0, std::max(0, (headerHeight_ + TableHeight() - client.height()) / kScrollUnit));
    PlaceHeader();
    viewport()->update();
}

void TDataWindow::PlaceHeader() {
    const int sx = horizontalScrollBar()->value() * kScrollUnit;
    const int sy = verticalScrollBar()->value() * kScrollUnit;
    const int width = std::max(header_->length(), viewport()->width() + sx);
    header_->setGeometry(-sx, -sy, width, headerHeight_);
}

void TDataWindow::scrollContentsBy(int, int) {
    PlaceHeader();
    viewport()->update();
}

void TDataWindow::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    Relayout();
}

void TDataWindow::showEvent(QShowEvent* event) {
    QAbstractScrollArea::showEvent(event);
    placement_.Shown();
}

void TDataWindow::paintEvent(QPaintEvent* event) {
    QPainter p(viewport());
    p.translate(-horizontalScrollBar()->value() * kScrollUnit,
                -verticalScrollBar()->value() * kScrollUnit);
    p.setFont(font());
    const int hh = headerHeight_;
    const std::vector<int> r = ColumnEdges();
    if (r.empty()) return;

    // Text is drawn at its baseline, each line's top at the row's top.
    const QFontMetrics fm(font());
    const int ascent = fm.ascent();
    // Only what is exposed is drawn: the pointer's moves repaint the value rows often.
    const int viewLeft = horizontalScrollBar()->value() * kScrollUnit;
    const int viewTop = verticalScrollBar()->value() * kScrollUnit;
    const QRect exposed = event->rect().translated(viewLeft, viewTop);
    const int viewRight = exposed.right() + 1;

    // The labels, left-aligned in the label column.
    p.setPen(Qt::black);
    if (exposed.left() < r[0]) {
        p.save();
        p.setClipRect(QRect(0, hh, r[0], TableHeight()));
        for (int row = 0; row < RowCount(); ++row)
            p.drawText(
                0, hh + 4 + kRowHeight * row + ascent,
                row < kTableRows ? QString::fromLatin1(kRows[row].label) : QStringLiteral("Delta"));
        p.restore();
    }

    const QColor background = viewport()->palette().color(viewport()->backgroundRole());
    for (int k = 1; k < int(r.size()) && k - 1 < table_.Count(); ++k) {
        const TLapData& d = table_.At(k - 1);
        const int left = r[size_t(k) - 1];
        const int right = r[size_t(k)];
        if (!d.expanded || d.hidden || right <= exposed.left() || left >= viewRight) continue;
        if (right - 8 > left) {
            // The colour bar: filled with the lap's colour, outlined in black.
            const QRect bar(left + 4, hh + 10, right - left - 8, 4);
            p.fillRect(bar, ToQColor(d.colour));
            p.setPen(Qt::black);
            p.setBrush(Qt::NoBrush);
            p.drawRect(bar.adjusted(0, 0, -1, -1));
        }
        for (int row = 1; row < RowCount(); ++row) {
            const QString text = row < kTableRows ? CellText(d.values[size_t(kRows[row].value)])
                                                  : DeltaText(d.delta);
            if (text.isEmpty()) continue;
            // Opaque text, right-aligned at the column's edge less 2 and clipped to the
            // column: a new value replaces the old one completely.
            const int width = fm.horizontalAdvance(text);
            const int top = hh + 4 + kRowHeight * row;
            const QRect textRect(right - 2 - width, top, width, fm.height());
            const bool clipped = textRect.left() < left;
            if (clipped) {
                p.save();
                p.setClipRect(QRect(left, top, right - left, kRowHeight));
            }
            p.fillRect(textRect, background);
            p.drawText(textRect.left(), top + ascent, text);
            if (clipped) p.restore();
        }
    }

    // Light grey column lines below the header, right of every column but the last.
    p.setPen(QPen(QColor(192, 192, 192), 1));
    const int bottom = viewport()->height() + verticalScrollBar()->value() * kScrollUnit;
    for (size_t k = 0; k + 1 < r.size(); ++k) p.drawLine(r[k], hh, r[k], bottom);
}

void TDataWindow::closeEvent(QCloseEvent* event) {
    QAbstractScrollArea::closeEvent(event);
    if (event->isAccepted()) emit closedByUser();
}
