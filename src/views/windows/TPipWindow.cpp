#include "views/windows/TPipWindow.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>
#include <QShowEvent>

#include <algorithm>

#include "channels/LapValues.h"
#include "track/Geometry.h"
#include "views/graph/TGraphView.h"
#include "views/map/MapContext.h"
#include "views/map/TTrackMapView.h"

TPipWindow::TPipWindow(TCommandContext& ctx, TLapLineCache& lines, QWidget* owner)
    : QAbstractScrollArea(owner), ctx_(ctx), lines_(lines) {
    setObjectName(QStringLiteral("pipWindow"));
    // A floating tool window of its owner, with a small caption and no system menu.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setWindowTitle(QStringLiteral("PiP"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setMinimumSize(160, 120);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setCursor(Qt::CrossCursor);
    SyncScrollBars();
}

QSize TPipWindow::ClientSize() const {
    // A window that is laid out has its viewport; a hidden one gets its geometry only when
    // it is next laid out, so its client is worked out from the window's own size.
    if (isVisible() && !testAttribute(Qt::WA_PendingResizeEvent)) return viewport()->size();
    const QRect r = contentsRect();
    const int w = r.width() - verticalScrollBar()->sizeHint().width();
    const int h = r.height() - horizontalScrollBar()->sizeHint().height();
    return QSize(std::max(w, 0), std::max(h, 0));
}

bool TPipWindow::ShowsGraph() const {
    return mapctx::ViewMode(ctx_) == ViewMap;
}

TPixel TPipWindow::Offset() const {
    return {kMapScrollUnit * state_.scroller.x, kMapScrollUnit * state_.scroller.y};
}

void TPipWindow::SyncScrollBars() {
    syncing_ = true;
    const TMapScroller& s = state_.scroller;
    horizontalScrollBar()->setRange(0, s.rangeX);
    horizontalScrollBar()->setPageStep(std::max(s.pageX, 1));
    horizontalScrollBar()->setValue(s.x);
    verticalScrollBar()->setRange(0, s.rangeY);
    verticalScrollBar()->setPageStep(std::max(s.pageY, 1));
    verticalScrollBar()->setValue(s.y);
    syncing_ = false;
}

void TPipWindow::ShowMapInPip(double mainScale, const TMapNavigation& main, QSize mainClient) {
    const TTrackData* t = CurrentTrack(ctx_);
    const TMapExtent map = t != nullptr ? TMapExtent{t->mapWidth, t->mapHeight} : TMapExtent{};
    const QSize c = ClientSize();
    PipShowMap(state_, c.width(), c.height(), main, mainClient.width(), mainClient.height(), map,
               mainScale);
    SyncScrollBars();
    RepaintRequest();
}

void TPipWindow::ShowGraphInPip() {
    state_.scroller.Reset();
    SyncScrollBars();
}

void TPipWindow::RepaintRequest() {
    pipRepaintPending_ = true;
    layerStale_ = true;
    viewport()->update();
}

void TPipWindow::SetPlacement(int x, int y, int w, int h) {
    storedOuterSize_ = QSize(w, h);
    move(x, y);
    resize(std::max(w, minimumWidth()), std::max(h, minimumHeight()));
}

QRect TPipWindow::Placement() const {
    return frameGeometry();
}

void TPipWindow::showEvent(QShowEvent* event) {
    QAbstractScrollArea::showEvent(event);
    if (placementAdjusted_) return;
    placementAdjusted_ = true;
    // The stored size is the outer one; once the decorations are known the client part
    // makes room for them.
    const QSize extra = frameGeometry().size() - geometry().size();
    if (extra != QSize(0, 0) && storedOuterSize_.isValid()) resize(storedOuterSize_ - extra);
}

void TPipWindow::closeEvent(QCloseEvent* event) {
    // The window is opened and closed by its command only, so that the command's state
    // and the window agree.
    event->ignore();
    emit closeRequested();
}

// ---- painting ----

void TPipWindow::RebuildLayer() {
    const QSize size = viewport()->size();
    if (layer_.size() != size) layer_ = QImage(size, QImage::Format_RGB32);
    if (layer_.isNull()) return;
    if (ShowsGraph()) {
        RenderGraph(layer_, ctx_, 2, TAxisKind::None, logicalDpiY());
    } else {
        const TMapScene scene = mapctx::Scene(ctx_, lines_);
        DrawTrackMap(layer_, Offset(), state_.view, scene);
    }
    layerStale_ = false;
}

TPipWindow::TPipCursor TPipWindow::CursorLine() const {
    TPipCursor c;
    const TTrackData* t = CurrentTrack(ctx_);
    if (t == nullptr || mapctx::Cursor(ctx_) == NoCursor) return c;
    c.colour = qRgb(0, 192, 0);
    const QSize client = viewport()->size();
    if (ShowsGraph()) {
        // The plot of the graph at half scale: margins 30, 20, 10 and 20 pixels.
        if (mapctx::XAxis(ctx_) != TelemetryChannel::Position) return c;
        const double p = mapctx::Cursor(ctx_) * t->inchesPerUnit / 12;
        const auto [lo, hi] = mapctx::XRange(ctx_);
        if (!(p >= lo && p <= hi) || !(hi > lo)) return c;
        const int32_t x = TruncateToInt((client.width() - 40) * (p - lo) / (hi - lo) + 30);
        c.shown = true;
        c.from = {x, 20};
        c.to = {x, client.height() - 20};
        return c;
    }
    if (!t->hasGeometry() || !t->geometryPrepared() || !(state_.view.mapScale > 0)) return c;
    const EdgePoints e = EdgePointsAt(*t, mapctx::Cursor(ctx_));
    const TPixel r = CanvasPoint(state_.view, e.reference);
    const TPixel o = CanvasPoint(state_.view, e.other);
    const TPixel off = Offset();
    c.shown = true;
    c.from = {TruncateToInt(double(r.x) - off.x), TruncateToInt(double(r.y) - off.y)};
    c.to = {TruncateToInt(double(o.x) - off.x), TruncateToInt(double(o.y) - off.y)};
    return c;
}

QRect TPipWindow::CursorRect(const TPipCursor& c) const {
    if (!c.shown) return {};
    return QRect(QPoint(c.from.x, c.from.y), QPoint(c.to.x, c.to.y))
        .normalized()
        .adjusted(-1, -1, 1, 1);
}

void TPipWindow::UpdateCursor() {
    cursorByCopy_ = false;
    const TPipCursor now = CursorLine();
    const QRect before = CursorRect(drawnCursor_) | LapDotsRect(drawnDots_, kPipDotRadius);
    drawnDots_ = LapDots();
    const QRect after = CursorRect(now) | LapDotsRect(drawnDots_, kPipDotRadius);
    drawnCursor_ = now;
    if (!before.isEmpty()) viewport()->update(before);
    if (!after.isEmpty()) viewport()->update(after);
}

void TPipWindow::CursorMoved() {
    UpdateCursor();
}

void TPipWindow::paintEvent(QPaintEvent* event) {
    const bool full =
        pipRepaintPending_ || layerStale_ || layer_.isNull() || layer_.size() != viewport()->size();
    if (full) {
        RebuildLayer();
        cursorByCopy_ = true;
    }
    QPainter p(viewport());
    const QRect area = event->rect();
    p.drawImage(area, layer_, area);
    drawnCursor_ = CursorLine();
    TMapCursorLine line;
    line.shown = drawnCursor_.shown;
    line.from = drawnCursor_.from;
    line.to = drawnCursor_.to;
    line.colour = drawnCursor_.colour;
    PaintCursorLine(p, layer_, line, !cursorByCopy_);
    drawnDots_ = LapDots();
    PaintLapDots(p, drawnDots_, kPipDotRadius);
    pipRepaintPending_ = false;
}

std::vector<TMapLapDot> TPipWindow::LapDots() const {
    if (ShowsGraph() || !ctx_.view.graph.cursorLineShown) return {};
    return MapLapDots(mapctx::Scene(ctx_, lines_), state_.view, Offset(), mapctx::Cursor(ctx_));
}

void TPipWindow::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    // Qt repeats the resize of a hidden window when it is first shown; only a real change
    // of size rescales the map (and so keeps what leaving the map handed over).
    const bool changed = event->size() != resizedTo_;
    resizedTo_ = event->size();
    if (!mapctx::PipShown(ctx_)) return;
    if (changed && !ShowsGraph()) {
        const TTrackData* t = CurrentTrack(ctx_);
        const TMapExtent map = t != nullptr ? TMapExtent{t->mapWidth, t->mapHeight} : TMapExtent{};
        const QSize c = ClientSize();
        PipResize(state_, c.width(), c.height(), map);
        SyncScrollBars();
    }
    RepaintRequest();
}

void TPipWindow::scrollContentsBy(int, int) {
    if (!syncing_) {
        state_.scroller.x = horizontalScrollBar()->value();
        state_.scroller.y = verticalScrollBar()->value();
    }
    RepaintRequest();
}

void TPipWindow::mouseMoveEvent(QMouseEvent* event) {
    if (pipRepaintPending_) return;
    const TTrackData* t = CurrentTrack(ctx_);
    if (t == nullptr) return;
    const QPoint pos = event->position().toPoint();
    const int x = pos.x(), y = pos.y();
    const QSize client = viewport()->size();
    int32_t position = NoCursor;
    if (ShowsGraph()) {
        if (x < 30 || x > client.width() - 10 || y < 20 || y > client.height() - 20 ||
            mapctx::XAxis(ctx_) != TelemetryChannel::Position || client.width() <= 40)
            return;
        const auto [lo, hi] = mapctx::XRange(ctx_);
        const double v = (hi - lo) * (x - 30) / (client.width() - 40) + lo;
        position = TruncateToInt(v * 12 / t->inchesPerUnit);
        if (position == NoCursor) position = NoCursor + 1;
        mapctx::Cursor(ctx_) = position;
        emit showLapValues(position, mapctx::XAxis(ctx_));
    } else {
        if (!t->geometryPrepared() || !(state_.view.mapScale > 0)) return;
        const TrackPoint at =
            ClientToTrack(state_.view, state_.scroller.x, state_.scroller.y, x, y);
        const LocatedPoint found = LocatePoint(*t, at.x, at.y);
        if (found.found) {
            position = TruncateToInt(found.positionFeet * 12 / t->inchesPerUnit);
            if (position == NoCursor) position = NoCursor + 1;
            mapctx::Cursor(ctx_) = position;
            emit showLapValues(position, TelemetryChannel::Position);
        } else {
            mapctx::Cursor(ctx_) = NoCursor;
            emit showLapValues(kPointedAtNothing, kPointedKindOfXAxis);
        }
    }
    UpdateCursor();
    emit cursorChanged(mapctx::Cursor(ctx_));
}
