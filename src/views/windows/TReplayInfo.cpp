#include "views/windows/TReplayInfo.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <algorithm>
#include <cstdio>

#include "channels/Channels.h"
#include "views/LapNameText.h"

TReplayInfo::TReplayInfo(const TLapList& laps, QWidget* owner)
    : QAbstractScrollArea(owner), laps_(laps) {
    setWindowFlags(ToolWindowFlags());
    setWindowTitle(QStringLiteral("Replay Info"));
    setObjectName(QStringLiteral("replayInfo"));
    setFont(ToolWindowFont(logicalDpiY()));
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    horizontalScrollBar()->setSingleStep(1);
    verticalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setRange(0, 1);
    verticalScrollBar()->setRange(0, 1);
}

TReplayInfo::~TReplayInfo() = default;

void TReplayInfo::Setup(const TWindowRect& placement) {
    if (PlacementStored(placement))
        placement_.Place(placement);
    else
        placement_.PlaceUnstored(placement, [this] { return ContentSize(); });
}

QSize TReplayInfo::ContentSize() {
    if (listWidth_ == 0) MeasureRows();
    // Every row, and room for a few more below, with the scroll bars beside them.
    return QSize(listWidth_ + 8 + verticalScrollBar()->sizeHint().width(),
                 kRowHeight * (std::max<int32_t>(laps_.Count(), 4) + 1) +
                     horizontalScrollBar()->sizeHint().height());
}

QString TReplayInfo::LapText(const TReplay& lap) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "%7.3f s=%7.3f mph", (lap.endFrame - lap.startFrame) / FrameRate,
                  AverageLapSpeed(lap));
    return QString::fromLatin1(buf);
}

void TReplayInfo::SetSelection(int32_t index) {
    const bool changed = index != selectedLap_;
    selectedLap_ = index;
    if (changed) emit lapSelected(index >= 0 ? laps_.At(index).serial : -1);
}

void TReplayInfo::RefreshLapList() {
    SetSelection(-1);
    listWidth_ = 0;
    // Measured before the next paint: now when the window is shown, else when it opens.
    if (!isHidden()) MeasureRows();
    viewport()->update();
}

void TReplayInfo::LapListChanged() {
    SetSelection(-1);
    if (listWidth_ != 0) SetScrollRanges();
    viewport()->update();
}

void TReplayInfo::SetHiddenLaps(const std::vector<int32_t>* hiddenLaps) {
    hiddenLaps_ = hiddenLaps;
    viewport()->update();
}

bool TReplayInfo::LapShown(const TReplay& lap) const {
    return hiddenLaps_ == nullptr ||
           std::find(hiddenLaps_->begin(), hiddenLaps_->end(), lap.serial) == hiddenLaps_->end();
}

void TReplayInfo::MeasureRows() {
    const QFontMetrics fm(font());
    int32_t widest = 0;
    for (int32_t i = 0; i < laps_.Count(); ++i) {
        const TReplay& lap = laps_.At(i);
        const int n = fm.horizontalAdvance(LapNameText(lap.driverName));
        const int w = fm.horizontalAdvance(LapText(lap));
        widest = std::max<int32_t>(widest, kCheckColumn + n + w + 36);
    }
    listWidth_ = widest;
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    SetScrollRanges();
}

void TReplayInfo::SetScrollRanges() {
    const QSize client = viewport()->size();
    // Divisions round toward zero; a range that is not negative gets 16 units more.
    auto range = [](int value) { return value < 0 ? 0 : value + 16; };
    const int x = range((listWidth_ - client.width()) / kScrollUnit);
    const int y = range(laps_.Count() - client.height() / kRowHeight);
    horizontalScrollBar()->setPageStep(std::max(1, client.width() / kScrollUnit));
    verticalScrollBar()->setPageStep(std::max(1, client.height() / kScrollUnit));
    horizontalScrollBar()->setRange(0, x);
    verticalScrollBar()->setRange(0, y);
}

void TReplayInfo::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    SetScrollRanges();
}

void TReplayInfo::showEvent(QShowEvent* event) {
    QAbstractScrollArea::showEvent(event);
    if (listWidth_ == 0) MeasureRows();
    placement_.Shown();
}

void TReplayInfo::scrollContentsBy(int, int) {
    viewport()->update();
}

void TReplayInfo::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    const int sx = horizontalScrollBar()->value() * kScrollUnit;
    const int sy = verticalScrollBar()->value() * kScrollUnit;
    p.translate(-sx, -sy);
    p.setFont(font());
    const QFontMetrics fm(font());
    QStyleOptionButton box;
    box.initFrom(viewport());
    for (int32_t i = 0; i < laps_.Count(); ++i) {
        const TReplay& lap = laps_.At(i);
        const int top = kRowHeight * i;
        // The check box, centred in the row's 16 lines below the text's top.
        box.rect = QRect(3, top + 6, kCheckColumn - 4, kCheckColumn - 4);
        box.state = QStyle::State_Enabled | (LapShown(lap) ? QStyle::State_On : QStyle::State_Off);
        style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, &p, viewport());
        // The row as it always was, moved right past the check box.
        const int x = kCheckColumn;
        p.setPen(QPen(QColor(lap.colour.r, lap.colour.g, lap.colour.b), 1));
        const QPoint symbol[4] = {
            {x + 4, top + 16}, {x + 12, top + 8}, {x + 16, top + 12}, {x + 24, top + 4}};
        p.drawPolyline(symbol, 4);
        p.setPen(Qt::black);
        const QString name = LapNameText(lap.driverName);
        const int n = fm.horizontalAdvance(name);
        p.drawText(QRect(x + 28, top + 4, n + 8, kRowHeight), Qt::AlignLeft | Qt::AlignTop, name);
        const QString text = LapText(lap);
        p.drawText(QRect(x + n + 36, top + 4, fm.horizontalAdvance(text) + 8, kRowHeight),
                   Qt::AlignLeft | Qt::AlignTop, text);
    }
    if (selectedLap_ >= 0 && (hasFocus_ || acting_)) {
        p.setCompositionMode(QPainter::RasterOp_NotDestination);
        p.fillRect(QRect(sx, kRowHeight * selectedLap_ + 4, viewport()->width(), 15), Qt::black);
    }
}

void TReplayInfo::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    hasFocus_ = true;
    viewport()->update();
}

void TReplayInfo::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    hasFocus_ = false;
    viewport()->update();
}

void TReplayInfo::SelectAt(const QPoint& pos) {
    // Rows are addressed through the scroll position; anything above the first row or below
    // the last selects nothing.
    const int64_t row = pos.y() < 0 ? -1 : pos.y() / kRowHeight + verticalScrollBar()->value();
    SetSelection(row >= 0 && row < laps_.Count() ? int32_t(row) : -1);
    viewport()->update();
}

void TReplayInfo::mousePressEvent(QMouseEvent* event) {
    // Selection happens on release; the press only takes the focus.
    event->accept();
}

void TReplayInfo::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        SelectAt(pos);
        const int x = pos.x() + horizontalScrollBar()->value() * kScrollUnit;
        if (selectedLap_ >= 0 && x >= 0 && x < kCheckColumn) ToggleShown(selectedLap_);
    } else if (event->button() == Qt::RightButton) {
        SelectAt(pos);
        if (selectedLap_ < 0) return;
        QMenu menu(this);
        menu.addAction(QStringLiteral("Edit Info"))->setData(kEditInfoId);
        menu.addAction(QStringLiteral("Delete Lap"))->setData(kDeleteLapId);
        int chosen = 0;
        ActOnSelectedLap([&] { chosen = ExecPopupMenu(menu, viewport()->mapToGlobal(pos)); });
        if (chosen == kEditInfoId)
            Edit();
        else if (chosen == kDeleteLapId)
            Delete();
    }
}

void TReplayInfo::ActOnSelectedLap(const std::function<void()>& act) {
    // The menu or the question takes the focus; the row it acts on stays marked meanwhile,
    // and the list has the focus again afterwards.
    const bool outer = !acting_;
    acting_ = true;
    viewport()->update();
    act();
    if (!outer) return;
    acting_ = false;
    if (isVisible()) {
        activateWindow();
        setFocus(Qt::OtherFocusReason);
    }
    viewport()->update();
}

void TReplayInfo::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint pos = event->position().toPoint();
    SelectAt(pos);
    // On a check box a double click is two clicks, each ticking or unticking it; the
    // release that follows is the second.
    if (pos.x() + horizontalScrollBar()->value() * kScrollUnit < kCheckColumn) return;
    if (selectedLap_ >= 0) Edit();
}

void TReplayInfo::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete && !event->isAutoRepeat()) {
        if (selectedLap_ >= 0) Delete();
        return;
    }
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        if (selectedLap_ >= 0) ToggleShown(selectedLap_);
        return;
    }
    QAbstractScrollArea::keyReleaseEvent(event);
}

int TReplayInfo::ExecPopupMenu(QMenu& menu, const QPoint& globalPos) {
    const QAction* chosen = menu.exec(globalPos);
    return chosen != nullptr ? chosen->data().toInt() : 0;
}

void TReplayInfo::Edit() {
    if (selectedLap_ >= 0 && selectedLap_ < laps_.Count())
        ActOnSelectedLap([this] { emit editLapRequested(selectedLap_); });
}

void TReplayInfo::Delete() {
    if (selectedLap_ >= 0 && selectedLap_ < laps_.Count())
        ActOnSelectedLap([this] { emit deleteLapRequested(selectedLap_); });
}

void TReplayInfo::ToggleShown(int32_t index) {
    if (index < 0 || index >= laps_.Count()) return;
    const TReplay& lap = laps_.At(index);
    emit lapHiddenRequested(lap.serial, LapShown(lap));
}

void TReplayInfo::closeEvent(QCloseEvent* event) {
    QAbstractScrollArea::closeEvent(event);
    if (event->isAccepted()) emit closedByUser();
}
