#include "views/map/TTrackMapView.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QResizeEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cstdio>

#include "channels/LapValues.h"
#include "track/Geometry.h"
#include "views/map/MapContext.h"

void PaintCursorLine(QPainter& p, const QImage& under, const TMapCursorLine& line, bool invert) {
    if (!line.shown) return;
    const QRgb pen = line.colour & 0xffffff;
    for (const TPixel& px : LinePixels(line.from, line.to)) {
        if (px.x < 0 || px.y < 0 || px.x >= under.width() || px.y >= under.height()) continue;
        QRgb c = pen;
        if (invert) c = ~(pen ^ (under.pixel(px.x, px.y) & 0xffffff)) & 0xffffff;
        p.fillRect(px.x, px.y, 1, 1, QColor::fromRgb(c));
    }
}

TTrackMapView::TTrackMapView(TCommandContext& ctx, TLapLineCache& lines, QWidget* parent)
    : QAbstractScrollArea(parent), ctx_(ctx), lines_(lines) {
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setCursor(Qt::CrossCursor);
    setContextMenuPolicy(Qt::PreventContextMenu);
    SyncScrollBars();
}

QSize TTrackMapView::ClientSize() const {
    // A window that is laid out has its viewport; a hidden one gets its geometry only when
    // it is next laid out, so its client is worked out from the window's own size.
    if (isVisible() && !testAttribute(Qt::WA_PendingResizeEvent)) return viewport()->size();
    const QRect r = contentsRect();
    const int w = r.width() - verticalScrollBar()->sizeHint().width();
    const int h = r.height() - horizontalScrollBar()->sizeHint().height();
    return QSize(std::max(w, 0), std::max(h, 0));
}

TMapExtent TTrackMapView::Extent() const {
    const TTrackData* t = CurrentTrack(ctx_);
    return t != nullptr ? TMapExtent{t->mapWidth, t->mapHeight} : TMapExtent{};
}

TMapScene TTrackMapView::Scene() const {
    TMapScene scene = mapctx::Scene(ctx_, lines_);
    scene.legendShown = true;  // the main window's map only: the small window has no room
    scene.cornerNamesShown = ctx_.view.map.cornerNamesShown;
    return scene;
}

bool TTrackMapView::InMap() const {
    return mapctx::ViewMode(ctx_) == ViewMap;
}

TPixel TTrackMapView::Offset() const {
    return {kMapScrollUnit * state_.scroller.x, kMapScrollUnit * state_.scroller.y};
}

void TTrackMapView::SyncScrollBars() {
    syncing_ = true;
    const TMapScroller& s = state_.scroller;
    QScrollBar* h = horizontalScrollBar();
    QScrollBar* v = verticalScrollBar();
    h->setRange(0, s.rangeX);
    h->setPageStep(std::max(s.pageX, 1));
    h->setValue(s.x);
    v->setRange(0, s.rangeY);
    v->setPageStep(std::max(s.pageY, 1));
    v->setValue(s.y);
    syncing_ = false;
}

void TTrackMapView::Enter() {
    viewport()->setCursor(Qt::CrossCursor);
    mapctx::DragEnabled(ctx_) = true;
    if (mapctx::Cursor(ctx_) != NoCursor) {
        mapctx::Cursor(ctx_) = NoCursor;
        emit cursorChanged(NoCursor);
    }
    emit showLapValues(kPointedAtNothing, kPointedKindOfXAxis);
    const QSize c = ClientSize();
    MapEnter(state_, c.width(), c.height(), Extent());
    SyncScrollBars();
    FullRepaint();
}

void TTrackMapView::Leave() {
    MapLeave(state_);
    SyncScrollBars();
}

void TTrackMapView::Clear() {
    MapClear(state_);
}

bool TTrackMapView::CanZoomOut() const {
    return MapCanZoomOut(state_);
}

bool TTrackMapView::CanFullSize() const {
    return MapCanFullSize(state_);
}

void TTrackMapView::ZoomOut() {
    mapctx::Dragging(ctx_) = false;
    mapctx::DragEnabled(ctx_) = true;
    const QSize c = ClientSize();
    MapZoomOut(state_, c.width(), c.height(), Extent());
    SyncScrollBars();
    FullRepaint();
    emit stateChanged();
}

void TTrackMapView::FullSize() {
    mapctx::Dragging(ctx_) = false;
    mapctx::DragEnabled(ctx_) = true;
    const QSize c = ClientSize();
    MapFullSize(state_, c.width(), c.height(), Extent());
    SyncScrollBars();
    FullRepaint();
    emit stateChanged();
}

void TTrackMapView::DropCursor() {
    if (mapctx::Cursor(ctx_) != NoCursor) {
        mapctx::Cursor(ctx_) = NoCursor;
        emit cursorChanged(NoCursor);
    }
    emit showLapValues(kPointedAtNothing, kPointedKindOfXAxis);
}

void TTrackMapView::FullRepaint() {
    // Repainting the whole window erases it, and the cursor line and the data window's
    // values with it.
    repaintPending_ = true;
    layerStale_ = true;
    drawnCursor_ = {};
    if (InMap()) {
        DropCursor();
        emit statusText(QString());  // the readout named a place the picture no longer shows
    }
    viewport()->update();
}

// ---- painting ----

void TTrackMapView::RebuildLayer() {
    const QSize size = viewport()->size();
    if (layer_.size() != size) layer_ = QImage(size, QImage::Format_RGB32);
    if (layer_.isNull()) return;
    if (InMap())
        DrawTrackMap(layer_, Offset(), state_.view, Scene());
    else
        layer_.fill(Qt::white);
    layerStale_ = false;
}

QRect TTrackMapView::CursorRect(const TMapCursorLine& line) const {
    if (!line.shown) return {};
    return QRect(QPoint(line.from.x, line.from.y), QPoint(line.to.x, line.to.y))
        .normalized()
        .adjusted(-1, -1, 1, 1);
}

void TTrackMapView::UpdateCursor() {
    const TMapCursorLine now =
        InMap() ? MapCursorLine(Scene(), state_.view, Offset(), mapctx::Cursor(ctx_))
                : TMapCursorLine{};
    const QRect before = CursorRect(drawnCursor_) | LapDotsRect(drawnDots_, kMainDotRadius);
    drawnDots_ = InMap() && ctx_.view.graph.cursorLineShown
                     ? MapLapDots(Scene(), state_.view, Offset(), mapctx::Cursor(ctx_))
                     : std::vector<TMapLapDot>{};
    const QRect after = CursorRect(now) | LapDotsRect(drawnDots_, kMainDotRadius);
    drawnCursor_ = now;
    if (!before.isEmpty()) viewport()->update(before);
    if (!after.isEmpty()) viewport()->update(after);
}

void TTrackMapView::CursorMoved() {
    UpdateCursor();
}

QRect TTrackMapView::BandRect() const {
    return QRect(QPoint(dragAnchor_.x, dragAnchor_.y), QPoint(dragCorner_.x, dragCorner_.y))
        .normalized();
}

void TTrackMapView::UpdateBand() {
    // Only the border changes: three-pixel strips around each edge cover both the outline
    // drawn (which stops one pixel short of the right and bottom corner) and its neighbours.
    const QRect r = BandRect();
    QRegion border;
    border += QRect(r.left() - 1, r.top() - 1, r.width() + 2, 3);
    border += QRect(r.left() - 1, r.bottom() - 2, r.width() + 2, 3);
    border += QRect(r.left() - 1, r.top() - 1, 3, r.height() + 2);
    border += QRect(r.right() - 2, r.top() - 1, 3, r.height() + 2);
    viewport()->update(border);
}

void TTrackMapView::paintEvent(QPaintEvent* event) {
    if (layerStale_ || repaintPending_ || layer_.isNull() || layer_.size() != viewport()->size())
        RebuildLayer();
    QPainter p(viewport());
    const QRect area = event->rect();
    p.drawImage(area, layer_, area);
    if (!InMap()) return;

    if (mapctx::Dragging(ctx_)) {
        // The rubber band inverts what is under its border: the rectangle without its right
        // and bottom edge, as four strips that never overlap.
        const int l = std::min(dragAnchor_.x, dragCorner_.x);
        const int r = std::max(dragAnchor_.x, dragCorner_.x);
        const int t = std::min(dragAnchor_.y, dragCorner_.y);
        const int b = std::max(dragAnchor_.y, dragCorner_.y);
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

    drawnCursor_ = MapCursorLine(Scene(), state_.view, Offset(), mapctx::Cursor(ctx_));
    // The line only ever appears after a pointer move (a full repaint drops it), and is
    // drawn the way such a move draws it: inverting.
    PaintCursorLine(p, layer_, drawnCursor_, true);
    drawnDots_ = ctx_.view.graph.cursorLineShown
                     ? MapLapDots(Scene(), state_.view, Offset(), mapctx::Cursor(ctx_))
                     : std::vector<TMapLapDot>{};
    PaintLapDots(p, drawnDots_, kMainDotRadius);
    repaintPending_ = false;
}

void TTrackMapView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    // Only a real change of size, and only while the map is shown, rescales the map.
    if (event->size() == resizedTo_) return;
    resizedTo_ = event->size();
    if (!InMap()) return;
    const QSize c = ClientSize();
    MapResize(state_, c.width(), c.height(), Extent());
    SyncScrollBars();
    mapctx::Dragging(ctx_) = false;
    mapctx::DragEnabled(ctx_) = true;
    FullRepaint();
    emit stateChanged();
}

void TTrackMapView::scrollContentsBy(int, int) {
    if (!syncing_) {
        state_.scroller.x = horizontalScrollBar()->value();
        state_.scroller.y = verticalScrollBar()->value();
    }
    FullRepaint();
}

// ---- the mouse ----

void TTrackMapView::NavigationChanged() {
    SyncScrollBars();
    FullRepaint();
    emit stateChanged();
}

void TTrackMapView::wheelEvent(QWheelEvent* event) {
    event->accept();
    const double notches = event->angleDelta().y() / 120.0;
    if (!InMap() || CurrentTrack(ctx_) == nullptr || notches == 0 || mapctx::Dragging(ctx_) ||
        panning_)
        return;
    const QPoint pos = event->position().toPoint();
    const QSize c = ClientSize();
    if (MapWheelZoom(state_, c.width(), c.height(), Extent(), {pos.x(), pos.y()}, notches))
        NavigationChanged();
}

void TTrackMapView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (panning_) {
        // From where the pan started, so that moves dropped during a repaint lose nothing.
        if (MapPan(state_, panFrom_, pos.x() - panAnchor_.x, pos.y() - panAnchor_.y))
            NavigationChanged();
        return;
    }
    if (repaintPending_ || !InMap()) return;
    const QSize c = ClientSize();
    if (mapctx::Dragging(ctx_)) {
        UpdateBand();
        dragCorner_ = RubberBandCorner(dragAnchor_, {pos.x(), pos.y()}, c.width(), c.height());
        UpdateBand();
        return;
    }
    const TTrackData* track = CurrentTrack(ctx_);
    if (track == nullptr || !track->geometryPrepared()) return;
    const TrackPoint at =
        ClientToTrack(state_.view, state_.scroller.x, state_.scroller.y, pos.x(), pos.y());
    const LocatedPoint found = LocatePoint(*track, at.x, at.y);
    int32_t position = NoCursor;
    if (found.found) position = TruncateToInt(found.positionFeet * 12 / track->inchesPerUnit);
    // TruncateToInt saturates; a position that cannot be a cursor is no cursor.
    if (found.found && position == NoCursor) position = NoCursor + 1;
    const bool moved = position != mapctx::Cursor(ctx_);
    mapctx::Cursor(ctx_) = position;
    if (found.found) {
        char buf[96];
        std::snprintf(buf, sizeof buf, "Length = %7.1f ft, Line = %7.1f)", found.positionFeet,
                      found.lateralFeet);
        emit statusText(QString::fromLatin1(buf));
        emit showLapValues(position, TelemetryChannel::Position);
    } else {
        emit statusText(QString());
        emit showLapValues(kPointedAtNothing, kPointedKindOfXAxis);
    }
    if (moved) {
        UpdateCursor();
        emit cursorChanged(position);
    }
}

void TTrackMapView::mousePressEvent(QMouseEvent* event) {
    if (!InMap()) return;
    const QPoint pos = event->position().toPoint();
    const bool pan =
        event->button() == Qt::MiddleButton ||
        (event->button() == Qt::LeftButton && (event->modifiers() & Qt::ShiftModifier));
    if (pan) {
        if (!mapctx::Dragging(ctx_) && CurrentTrack(ctx_) != nullptr) {
            panning_ = true;
            panAnchor_ = {pos.x(), pos.y()};
            panFrom_ = state_.scroller;
            viewport()->setCursor(Qt::ClosedHandCursor);
        }
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    if (!mapctx::DragEnabled(ctx_)) return;
    mapctx::Dragging(ctx_) = true;
    dragAnchor_ = dragCorner_ = {pos.x(), pos.y()};
}

void TTrackMapView::mouseReleaseEvent(QMouseEvent* event) {
    if (panning_ && (event->button() == Qt::MiddleButton || event->button() == Qt::LeftButton)) {
        panning_ = false;
        viewport()->setCursor(Qt::CrossCursor);
        return;
    }
    if (!InMap()) return;
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::RightButton) {
        if (mapctx::Dragging(ctx_)) {
            UpdateBand();
            viewport()->setCursor(Qt::CrossCursor);
        }
        mapctx::Dragging(ctx_) = false;
        mapctx::DragEnabled(ctx_) = true;
        return;
    }
    if (event->button() != Qt::LeftButton || !mapctx::Dragging(ctx_)) return;
    UpdateBand();
    mapctx::Dragging(ctx_) = false;
    mapctx::DragEnabled(ctx_) = true;
    viewport()->setCursor(Qt::CrossCursor);
    dragCorner_ = {pos.x(), pos.y()};
    if (CurrentTrack(ctx_) == nullptr || dragCorner_ == dragAnchor_) return;
    const QSize c = ClientSize();
    if (!MapZoomToRect(state_, c.width(), c.height(), Extent(), dragAnchor_, dragCorner_)) return;
    SyncScrollBars();
    FullRepaint();
    emit stateChanged();
}
