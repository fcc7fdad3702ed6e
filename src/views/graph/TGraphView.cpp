#include "views/graph/TGraphView.h"

#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QResizeEvent>
#include <QScreen>

#include <cmath>
#include <cstdio>
#include <iterator>

#include "commands/DocumentCommands.h"
#include "views/graph/GraphAxes.h"
#include "views/graph/GraphCommands.h"
#include "views/graph/GraphCurves.h"
#include "views/graph/GraphRanges.h"

namespace {

constexpr int kZoomOutId = 5684;
constexpr int kFullSizeId = 5685;

struct TPopupItem {
    int id;
    const char* text;
    int kind;
    int channel;
};

// The pop-up menus of the axis margins, in their order (which is not the View menu's).
const TPopupItem kXPopup[] = {{7124, "Time", 1, 0}, {7123, "Position", 1, 1}};
const TPopupItem kYPopup[] = {{7129, "Time", 2, 0},          {7127, "Position", 2, 1},
                              {7128, "Speed", 2, 2},         {7126, "Line", 2, 3},
                              {7125, "In-line Force", 2, 4}, {51683, "Lateral Force", 2, 5},
                              {51685, "Slip Angle", 2, 6}};
const TPopupItem kY2Popup[] = {{21686, "None", 3, 7},          {21687, "Time", 3, 0},
                               {21688, "Position", 3, 1},      {21690, "Speed", 3, 2},
                               {21689, "Line", 3, 3},          {21691, "In-line Force", 3, 4},
                               {21692, "Lateral Force", 3, 5}, {21693, "Slip Angle", 3, 6}};

int ScreenDpiY() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? static_cast<int>(std::lround(screen->logicalDotsPerInchY())) : 96;
}

// A distance in track units from feet, or NoCursor when the track's scale makes no sense.
int32_t FeetToUnits(double feet, double inchesPerUnit) {
    if (!(inchesPerUnit > 0)) return NoCursor;
    const double units = feet * 12 / inchesPerUnit;
    if (!(std::fabs(units) < 2e9)) return NoCursor;
    return static_cast<int32_t>(units);
}

}  // namespace

void RenderGraph(QImage& image, const TCommandContext& ctx, int scaleDivisor, int highlightedAxis,
                 int dpiY) {
    const TGraphPaintInput in{ctx.doc,
                              CurrentTrack(ctx),
                              image.width(),
                              image.height(),
                              scaleDivisor < 1 ? 1 : scaleDivisor,
                              dpiY,
                              highlightedAxis};
    image.fill(Qt::white);
    {
        QPainter p(&image);
        DrawGraphAxes(p, in);
    }
    DrawGraphCurves(image, in);
}

void PaintGraph(QPainter& p, const TCommandContext& ctx, const QRect& client, int scaleDivisor,
                int highlightedAxis, int dpiY) {
    if (client.isEmpty()) return;
    QImage image(client.size(), QImage::Format_RGB32);
    RenderGraph(image, ctx, scaleDivisor, highlightedAxis, dpiY);
    p.drawImage(client.topLeft(), image);
}

void PaintGraph(QPainter& p, const TCommandContext& ctx, const QRect& client, int scaleDivisor) {
    PaintGraph(p, ctx, client, scaleDivisor, 0, ScreenDpiY());
}

TGraphView::TGraphView(TCommandContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The right button's release shows this view's own pop-up menus; the frame must not
    // offer its menu as well.
    setContextMenuPolicy(Qt::PreventContextMenu);
    ctx_.doc.dragEnabled = false;
}

void TGraphView::ResetRanges() {
    ResetGraphRanges(ctx_.doc);
    emit stateChanged();
}

void TGraphView::FullRepaint() {
    ctx_.doc.repaintPending = true;
    update();
}

bool TGraphView::CanZoomOut() const {
    return ctx_.doc.HasTrack() && GraphZoomed(ctx_.doc);
}

bool TGraphView::CanFullSize() const {
    return CanZoomOut();
}

void TGraphView::EndZoomCommand() {
    ctx_.doc.dragging = false;
    ctx_.doc.dragEnabled = true;
    FullRepaint();
    emit graphChanged();
    emit stateChanged();
}

void TGraphView::ZoomOut() {
    ZoomOutRanges(ctx_.doc);
    EndZoomCommand();
}

void TGraphView::FullSize() {
    ctx_.doc.viewRange = ctx_.doc.fullRange;
    EndZoomCommand();
}

void TGraphView::SetAxis(int kind, int channel) {
    const TDocumentState& doc = ctx_.doc;
    if (kind < 1 || kind > 3) return;
    SetAxes(kind == 1 ? channel : doc.xAxis, kind == 2 ? channel : doc.yAxis,
            kind == 3 ? channel : doc.y2Axis);
}

void TGraphView::SetAxes(int x, int y, int y2) {
    TDocumentState& doc = ctx_.doc;
    bool changed = false;
    auto store = [&changed](int32_t& field, int value, int highest) {
        if (value < 0 || value > highest || field == value) return;
        field = value;
        changed = true;
    };
    store(doc.xAxis, x, 1);
    store(doc.yAxis, y, 6);
    store(doc.y2Axis, y2, 7);
    if (!changed) return;  // the same channels again keep the zoom

    if (doc.laps.Empty()) {
        // Clearing takes a new saved-axes snapshot; the axis change must still count as a
        // change Save can write, so the snapshot from before is kept.
        const auto snapshot = doc.savedAxes;
        ClearDocument(ctx_);
        doc.savedAxes = snapshot;
        doc.extents = ChannelExtents(doc.laps.Pointers(), CurrentTrack(ctx_));
    } else {
        RecomputeExtents(ctx_);
    }
    ResetGraphRanges(doc);

    if (doc.xAxis == 0 && doc.cursorPosition != NoCursor) DropCursor();
    if (doc.viewMode == ViewGraph) FullRepaint();
    emit graphChanged();
    emit stateChanged();
}

bool TGraphView::RunCommand(int id) {
    if (id == kZoomOutId) {
        ZoomOut();
        return true;
    }
    if (id == kFullSizeId) {
        FullSize();
        return true;
    }
    if (const TAxisCommand* c = FindAxisCommand(id)) {
        SetAxis(c->kind, c->channel);
        return true;
    }
    return false;
}

void TGraphView::FillPopupMenu(QMenu& menu, int axis) const {
    auto add = [&](const TPopupItem* items, size_t count) {
        for (size_t i = 0; i < count; ++i) {
            QAction* a = menu.addAction(QString::fromLatin1(items[i].text));
            a->setData(items[i].id);
            a->setCheckable(true);
            a->setChecked(AxisChannel(ctx_.doc, items[i].kind) == items[i].channel);
        }
    };
    switch (axis) {
        case 1:
            add(kXPopup, std::size(kXPopup));
            break;
        case 2:
            add(kYPopup, std::size(kYPopup));
            break;
        case 3:
            add(kY2Popup, std::size(kY2Popup));
            break;
        default:
            menu.addAction(QStringLiteral("Full Size"))->setData(kFullSizeId);
            menu.addAction(QStringLiteral("Zoom Out"))->setData(kZoomOutId);
            break;
    }
}

int TGraphView::ExecPopupMenu(QMenu& menu, const QPoint& globalPos) {
    const QAction* chosen = menu.exec(globalPos);
    return chosen != nullptr ? chosen->data().toInt() : 0;
}

// ---- painting ----

void TGraphView::RebuildLayer() {
    // The layer is kept in device-independent pixels, the unit of the whole layout; a
    // high-density screen scales it when it is shown.
    if (layer_.size() != size()) layer_ = QImage(size(), QImage::Format_RGB32);
    if (!layer_.isNull()) RenderGraph(layer_, ctx_, 1, highlightedAxis_, logicalDpiY());
}

void TGraphView::RedrawAxes() {
    if (layer_.isNull()) return;
    QPainter p(&layer_);
    const TGraphPaintInput in{ctx_.doc, CurrentTrack(ctx_), width(),         height(),
                              1,        logicalDpiY(),      highlightedAxis_};
    DrawGraphAxes(p, in);
    p.end();
    update();
}

int TGraphView::CursorLineColumn() const {
    const TDocumentState& doc = ctx_.doc;
    const TTrackData* track = CurrentTrack(ctx_);
    if (doc.cursorPosition == NoCursor || GraphAxesOf(doc).x != 1 || track == nullptr ||
        !track->hasGeometry())
        return -1;
    const double feet = doc.cursorPosition * track->inchesPerUnit / 12;
    const TGraphGeometry g = GraphGeometry(width(), height(), 1, GraphAxesOf(doc).HasSecond());
    return CursorColumn(feet, doc.viewRange, g);
}

QRect TGraphView::CursorLineRect() const {
    if (drawnCursorColumn_ < 0) return {};
    return QRect(drawnCursorColumn_, 40, 1, height() - 80);
}

void TGraphView::UpdateCursorLine() {
    const QRect old = CursorLineRect();
    drawnCursorColumn_ = CursorLineColumn();
    const QRect now = CursorLineRect();
    if (old != now) {
        if (!old.isEmpty()) update(old);
        if (!now.isEmpty()) update(now);
    }
}

void TGraphView::CursorMoved() {
    UpdateCursorLine();
}

void TGraphView::DropCursor() {
    ctx_.doc.cursorPosition = NoCursor;
    UpdateCursorLine();
    emit cursorChanged(NoCursor);
    emit showLapValues(-1, -1);
}

QRect TGraphView::BandRect() const {
    return QRect(dragAnchor_, dragCorner_).normalized();
}

void TGraphView::UpdateBand() {
    // Only the border changes: a large band must not repaint its whole inside per move.
    const QRect r = BandRect().adjusted(-1, -1, 1, 1);
    QRegion border;
    border += QRect(r.left(), r.top(), r.width(), 2);
    border += QRect(r.left(), r.bottom() - 1, r.width(), 2);
    border += QRect(r.left(), r.top(), 2, r.height());
    border += QRect(r.right() - 1, r.top(), 2, r.height());
    update(border);
}

void TGraphView::paintEvent(QPaintEvent* event) {
    TDocumentState& doc = ctx_.doc;
    if (doc.repaintPending || layer_.isNull() || layer_.size() != size()) {
        // A full repaint erases the window, and with it the cursor and the data window's
        // values.
        drawnCursorColumn_ = -1;
        if (doc.cursorPosition != NoCursor) {
            doc.cursorPosition = NoCursor;
            emit cursorChanged(NoCursor);
        }
        emit showLapValues(-1, -1);
        RebuildLayer();
    }
    QPainter p(this);
    const QRect area = event->rect();
    p.drawImage(area, layer_, area);

    if (doc.dragging) {
        // The rubber band inverts what is under its border: GDI's rectangle without its
        // right and bottom edge, as four strips that never overlap.
        const int l = std::min(dragAnchor_.x(), dragCorner_.x());
        const int r = std::max(dragAnchor_.x(), dragCorner_.x());
        const int t = std::min(dragAnchor_.y(), dragCorner_.y());
        const int b = std::max(dragAnchor_.y(), dragCorner_.y());
        if (r - l >= 1 && b - t >= 1) {
            p.setCompositionMode(QPainter::RasterOp_NotDestination);
            p.fillRect(QRect(l, t, r - l, 1), Qt::black);
            if (b - t >= 2) p.fillRect(QRect(l, b - 1, r - l, 1), Qt::black);
            if (b - t >= 3) {
                p.fillRect(QRect(l, t + 1, 1, b - t - 2), Qt::black);
                if (r - l >= 2) p.fillRect(QRect(r - 1, t + 1, 1, b - t - 2), Qt::black);
            }
            p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        }
    }

    drawnCursorColumn_ = CursorLineColumn();
    if (drawnCursorColumn_ >= 0) {
        // Not-xor with green: green over white, the inverse colours over the curves.
        p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
        p.fillRect(CursorLineRect(), QColor(0, 192, 0));
    }
    doc.repaintPending = false;
}

void TGraphView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // Qt repeats the resize event of a hidden widget whenever it is rendered; only a real
    // change of size ends a drag.
    if (event->size() == resizedTo_) return;
    resizedTo_ = event->size();
    ctx_.doc.dragging = false;
    ctx_.doc.dragEnabled = true;
    FullRepaint();
}

// ---- the mouse ----

void TGraphView::mouseMoveEvent(QMouseEvent* event) {
    TDocumentState& doc = ctx_.doc;
    if (doc.repaintPending || doc.viewMode != ViewGraph) return;
    const QPoint pos = event->position().toPoint();
    const int x = pos.x(), y = pos.y();
    const TGraphAxes axes = GraphAxesOf(doc);
    const TGraphGeometry g = GraphGeometry(width(), height(), 1, axes.HasSecond());

    if (!InMousePlot(x, y, g)) {
        if (overPlot_) {
            overPlot_ = false;
            setCursor(Qt::ArrowCursor);
            // Off the plot nothing is pointed at, cursor line or not: the data window
            // empties its cells.
            emit showLapValues(-1, -1);
        }
        const int axis = AxisAt(x, y, g);
        emit statusText(QString::fromLatin1(AxisHint(axis)));
        if (doc.cursorPosition != NoCursor) DropCursor();
        if (axis != highlightedAxis_) {
            highlightedAxis_ = axis;
            RedrawAxes();
        }
        return;
    }

    if (!overPlot_) {
        overPlot_ = true;
        setCursor(Qt::CrossCursor);
    }
    const TTrackData* track = CurrentTrack(ctx_);
    double xValue = 0;
    if (track == nullptr) {
        emit statusText(QString());
    } else {
        const TGraphReadout r = ReadoutAt(x, y, doc.viewRange, g);
        xValue = r.x;
        char buf[256];
        if (axes.HasSecond())
            std::snprintf(buf, sizeof buf, "%s = %7.2f, %s = %7.2f, %s = %7.2f",
                          ChannelNames[axes.x], r.x, ChannelNames[axes.y], r.y,
                          ChannelNames[axes.y2], r.y2);
        else
            std::snprintf(buf, sizeof buf, "%s = %7.2f, %s = %7.2f", ChannelNames[axes.x], r.x,
                          ChannelNames[axes.y], r.y);
        emit statusText(QString::fromLatin1(buf));
        if (axes.x == ChannelPosition)
            emit showLapValues(track->inchesPerUnit > 0 ? r.x * 12 / track->inchesPerUnit : -1,
                               ChannelPosition);
        else
            emit showLapValues(r.x, ChannelTime);
    }

    if (doc.dragging) {
        UpdateBand();
        dragCorner_ = pos;
        UpdateBand();
    } else if (axes.x == ChannelPosition && track != nullptr && doc.pipShown) {
        const int32_t position = FeetToUnits(xValue, track->inchesPerUnit);
        if (position != doc.cursorPosition) {
            doc.cursorPosition = position;
            UpdateCursorLine();
            emit cursorChanged(position);
        }
    }
    if (highlightedAxis_ != 0) {
        highlightedAxis_ = 0;
        RedrawAxes();
    }
}

void TGraphView::mousePressEvent(QMouseEvent* event) {
    TDocumentState& doc = ctx_.doc;
    if (event->button() != Qt::LeftButton || doc.viewMode != ViewGraph) return;
    const QPoint pos = event->position().toPoint();
    const TGraphGeometry g = GraphGeometry(width(), height(), 1, GraphAxesOf(doc).HasSecond());
    if (doc.dragEnabled && InMousePlot(pos.x(), pos.y(), g)) {
        doc.dragging = true;
        dragAnchor_ = dragCorner_ = pos;
    }
}

void TGraphView::mouseReleaseEvent(QMouseEvent* event) {
    TDocumentState& doc = ctx_.doc;
    const QPoint pos = event->position().toPoint();
    const TGraphGeometry g = GraphGeometry(width(), height(), 1, GraphAxesOf(doc).HasSecond());
    const bool inPlot = InMousePlot(pos.x(), pos.y(), g);

    if (event->button() == Qt::RightButton) {
        if (doc.dragging) {
            UpdateBand();
            setCursor(Qt::CrossCursor);
        }
        doc.dragging = false;
        doc.dragEnabled = true;
        if (doc.viewMode != ViewGraph || (highlightedAxis_ == 0 && !inPlot)) return;
        QMenu menu(this);
        FillPopupMenu(menu, highlightedAxis_);
        const int id = ExecPopupMenu(menu, mapToGlobal(pos));
        if (id != 0) RunCommand(id);
        return;
    }

    if (event->button() != Qt::LeftButton || !doc.dragging) return;
    UpdateBand();
    doc.dragging = false;
    doc.dragEnabled = true;
    setCursor(Qt::CrossCursor);
    if (!inPlot) return;
    dragCorner_ = pos;
    if (!doc.HasTrack() || dragCorner_ == dragAnchor_) return;
    if (!ZoomToRect(doc, dragAnchor_.x(), dragAnchor_.y(), pos.x(), pos.y(), g)) return;
    FullRepaint();
    emit graphChanged();
    emit stateChanged();
}
