#include "views/graph/TGraphView.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QResizeEvent>
#include <QScreen>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <vector>

#include "analysis/LapAnalysis.h"
#include "channels/LapValues.h"
#include "commands/CommandIds.h"
#include "commands/DocumentCommands.h"
#include "commands/LapAnalysisCommands.h"
#include "platform/ProfileFile.h"
#include "views/graph/DeltaStrip.h"
#include "views/graph/GraphAxes.h"
#include "views/graph/GraphCommands.h"
#include "views/graph/GraphCurves.h"
#include "views/graph/GraphLegend.h"
#include "views/graph/GraphRanges.h"
#include "views/graph/StackedGraph.h"

namespace {

// The pop-up menus of the axis margins, in their order (which is not the View menu's);
// their texts are the View menu's without the mnemonic.
const int kXPopup[] = {cmd::XTime, cmd::XPosition};
const int kYPopup[] = {cmd::YTime,        cmd::YPosition,     cmd::YSpeed,    cmd::YLine,
                       cmd::YInlineForce, cmd::YLateralForce, cmd::YSlipAngle};
const int kY2Popup[] = {cmd::Y2None, cmd::Y2Time,        cmd::Y2Position,     cmd::Y2Speed,
                        cmd::Y2Line, cmd::Y2InlineForce, cmd::Y2LateralForce, cmd::Y2SlipAngle};

QString PopupText(const char* menuText) {
    QString text = QString::fromLatin1(menuText);
    text.remove(QLatin1Char('&'));
    return text;
}

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

void RenderGraph(QImage& image, const TCommandContext& ctx, int scaleDivisor,
                 TAxisKind highlightedAxis, int dpiY) {
    const TGraphPaintInput in{ctx.doc,       ctx.view,       CurrentTrack(ctx),
                              image.width(), image.height(), scaleDivisor < 1 ? 1 : scaleDivisor,
                              dpiY,          highlightedAxis};
    // The picture-in-picture window keeps the single graph.
    if (in.d == 1 && ctx.view.graph.stacked) return RenderStackedGraph(image, in);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        DrawGraphAxes(p, in);
    }
    DrawGraphCurves(image, in);
    QPainter p(&image);
    DrawGraphLegend(p, in);
}

void RenderMainGraph(QImage& image, const TCommandContext& ctx, TAxisKind highlightedAxis,
                     int dpiY) {
    const TTrackData* track = CurrentTrack(ctx);
    const int strip =
        DeltaStripShown(ctx.doc, ctx.view, track) ? DeltaStripHeight(image.height()) : 0;
    if (strip == 0) {
        RenderGraph(image, ctx, 1, highlightedAxis, dpiY);
        return;
    }
    const int graphHeight = image.height() - strip;
    const TGraphAxes stackedAxes = StackedAxes(ctx.doc);
    const bool stacked = ctx.view.graph.stacked;
    const TGraphPaintInput in{
        ctx.doc, ctx.view, track,           image.width(), graphHeight,
        1,       dpiY,     highlightedAxis, nullptr,       stacked ? &stackedAxes : nullptr};
    image.fill(Qt::white);
    if (stacked) {
        // The panes above the strip, drawn as a picture of their own height.
        QImage panes(image.width(), graphHeight, QImage::Format_RGB32);
        RenderStackedGraph(panes, in);
        QPainter(&image).drawImage(0, 0, panes);
    } else {
        {
            QPainter p(&image);
            DrawGraphAxes(p, in);
        }
        DrawGraphCurves(image, in);
    }
    const int reference =
        ReferenceLap(ctx.doc.laps().Pointers(), ctx.view.analysis.referenceSerial);
    DrawDeltaStrip(image, in, DeltaStripGeometry(in.Geometry(), graphHeight, strip), reference);
    if (stacked) return;  // the panes drew their legend
    QPainter p(&image);
    DrawGraphLegend(p, in);
}

void PaintGraph(QPainter& p, const TCommandContext& ctx, const QRect& client, int scaleDivisor,
                TAxisKind highlightedAxis, int dpiY) {
    if (client.isEmpty()) return;
    QImage image(client.size(), QImage::Format_RGB32);
    RenderGraph(image, ctx, scaleDivisor, highlightedAxis, dpiY);
    p.drawImage(client.topLeft(), image);
}

void PaintGraph(QPainter& p, const TCommandContext& ctx, const QRect& client, int scaleDivisor) {
    PaintGraph(p, ctx, client, scaleDivisor, TAxisKind::None, ScreenDpiY());
}

TGraphView::TGraphView(TCommandContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The right button's release shows this view's own pop-up menus; the frame must not
    // offer its menu as well.
    setContextMenuPolicy(Qt::PreventContextMenu);
    // The arrow keys step the cursor.
    setFocusPolicy(Qt::StrongFocus);
    ctx_.view.graph.dragEnabled = false;
}

void TGraphView::ResetRanges() {
    ResetGraphRanges(ctx_.doc, ctx_.view);
    emit stateChanged();
}

void TGraphView::FullRepaint() {
    ctx_.view.graph.repaintPending = true;
    // What the status line and a highlighted axis title described is gone with the picture.
    highlightedAxis_ = TAxisKind::None;
    if (ctx_.view.viewMode == ViewGraph) emit statusText(QString());
    // The erase takes the cursor line and the data window's values with it; said here,
    // where the repaint is asked for, because the paint itself only draws.
    drawnCursorColumn_ = -1;
    if (ctx_.view.cursorPosition != NoCursor) {
        ctx_.view.cursorPosition = NoCursor;
        emit cursorChanged(NoCursor);
    }
    emit showLapValues(kPointedAtNothing, kPointedKindOfXAxis);
    update();
}

bool TGraphView::CanZoomOut() const {
    return ctx_.doc.HasTrack() && GraphZoomed(ctx_.view.graph);
}

bool TGraphView::CanFullSize() const {
    return CanZoomOut();
}

void TGraphView::EndZoomCommand() {
    ctx_.view.graph.dragging = false;
    ctx_.view.graph.dragEnabled = true;
    RangeChanged();
}

void TGraphView::RangeChanged() {
    FullRepaint();
    emit graphChanged();
    emit stateChanged();
}

void TGraphView::ZoomOut() {
    ZoomOutRanges(ctx_.view.graph);
    EndZoomCommand();
}

void TGraphView::FullSize() {
    ctx_.view.graph.viewRange = ctx_.view.graph.fullRange;
    EndZoomCommand();
}

void TGraphView::ShowXRange(double from, double to) {
    TRange& x = ctx_.view.graph.viewRange.x;
    const TRange& full = ctx_.view.graph.fullRange.x;
    from = std::max(from, full.min);
    to = std::min(to, full.max);
    if (!(to > from)) return;
    x = {from, to};
    EndZoomCommand();
}

void TGraphView::SetAxis(TAxisKind kind, TelemetryChannel channel) {
    const TAxes a = ctx_.doc.axes();
    switch (kind) {
        case TAxisKind::X:
            return SetAxes(channel, a.y, a.y2);
        case TAxisKind::Y:
            return SetAxes(a.x, channel, a.y2);
        case TAxisKind::Y2:
            return SetAxes(a.x, a.y, channel);
        case TAxisKind::None:
            return;
    }
}

void TGraphView::SetAxes(TelemetryChannel x, TelemetryChannel y, TelemetryChannel y2) {
    if (!ChangeAxes(ctx_, x, y, y2)) return;  // the same channels again keep the zoom
    TViewState& view = ctx_.view;
    ResetGraphRanges(ctx_.doc, view);
    if (ctx_.doc.axes().x == TelemetryChannel::Time && view.cursorPosition != NoCursor)
        DropCursor();
    if (view.viewMode == ViewGraph) FullRepaint();
    emit graphChanged();
    emit stateChanged();
}

bool TGraphView::RunCommand(int id) {
    if (id == cmd::ZoomOut) {
        ZoomOut();
        return true;
    }
    if (id == cmd::FullSize) {
        FullSize();
        return true;
    }
    if (const TAxisCommand* c = FindAxisCommand(id)) {
        SetAxis(c->kind, c->channel);
        return true;
    }
    for (const TDeltaModeCommand& c : kDeltaModeCommands) {
        if (id != c.id) continue;
        const TDeltaMode mode = c.mode;
        TAnalysisViewState& analysis = ctx_.view.analysis;
        if (analysis.deltaMode != mode) {
            analysis.deltaMode = mode;
            WriteDeltaModeSetting(ctx_.settings, mode);
            FullRepaint();
        }
        emit stateChanged();
        return true;
    }
    return false;
}

void TGraphView::FillDeltaStripMenu(QMenu& menu) const {
    for (const TDeltaModeCommand& c : kDeltaModeCommands) {
        QAction* a = menu.addAction(PopupText(c.menuText));
        a->setData(c.id);
        a->setCheckable(true);
        a->setChecked(ctx_.view.analysis.deltaMode == c.mode);
    }
}

void TGraphView::FillPopupMenu(QMenu& menu, TAxisKind axis) const {
    auto add = [&](const int* ids, size_t count) {
        for (size_t i = 0; i < count; ++i) {
            const TAxisCommand* c = FindAxisCommand(ids[i]);
            QAction* a = menu.addAction(PopupText(c->menuText));
            a->setData(c->id);
            a->setCheckable(true);
            a->setChecked(AxisCommandChecked(ctx_.doc, *c));
        }
    };
    switch (axis) {
        case TAxisKind::X:
            add(kXPopup, std::size(kXPopup));
            break;
        case TAxisKind::Y:
            add(kYPopup, std::size(kYPopup));
            break;
        case TAxisKind::Y2:
            add(kY2Popup, std::size(kY2Popup));
            break;
        case TAxisKind::None: {
            // The commands' own enabling runs for this menu as for the menu bar's: nothing to
            // step back from while the graph is not zoomed.
            QAction* fullSize = menu.addAction(QStringLiteral("Full Size"));
            fullSize->setData(cmd::FullSize);
            fullSize->setEnabled(CanFullSize());
            QAction* zoomOut = menu.addAction(QStringLiteral("Zoom Out"));
            zoomOut->setData(cmd::ZoomOut);
            zoomOut->setEnabled(CanZoomOut());
            break;
        }
    }
}

void TGraphView::FillPaneMenu(QMenu& menu, int pane, bool overPlot) const {
    const std::vector<TelemetryChannel>& channels = ctx_.view.graph.stackedChannels;
    const bool valid = pane >= 0 && size_t(pane) < channels.size();
    for (int n = 0; n <= ChannelNumber(TelemetryChannel::SlipAngle); ++n) {
        const auto c = static_cast<TelemetryChannel>(n);
        QAction* a = menu.addAction(QString::fromLatin1(ChannelName(c)));
        a->setData(kPaneChannelItem + n);
        a->setCheckable(true);
        a->setChecked(valid && channels[size_t(pane)] == c);
        a->setEnabled(valid);
    }
    if (!overPlot) return;
    menu.addSeparator();
    FillPopupMenu(menu, TAxisKind::None);
}

void TGraphView::SetPaneChannel(int pane, TelemetryChannel channel) {
    std::vector<TelemetryChannel>& channels = ctx_.view.graph.stackedChannels;
    if (pane < 0 || size_t(pane) >= channels.size() || channels[size_t(pane)] == channel) return;
    // A channel shown in another pane trades places, so that each is shown once.
    const auto other = std::find(channels.begin(), channels.end(), channel);
    if (other != channels.end()) *other = channels[size_t(pane)];
    channels[size_t(pane)] = channel;
    SetStackedChannels(channels);
}

void TGraphView::SetStackedChannels(const std::vector<TelemetryChannel>& channels) {
    ctx_.view.graph.stackedChannels =
        channels.empty() ? TGraphViewState::DefaultStackedChannels() : channels;
    ctx_.settings.WriteText("view", "stackchannels",
                            StackedChannelsText(ctx_.view.graph.stackedChannels));
    RangeChanged();
}

void TGraphView::SetStacked(bool on) {
    TGraphViewState& graph = ctx_.view.graph;
    if (graph.stacked == on) return;
    graph.stacked = on;
    ctx_.settings.WriteInt("view", "stacked", on ? 1 : 0);
    // The layout under a drag in progress changes.
    graph.dragging = false;
    graph.dragEnabled = true;
    highlightedAxis_ = TAxisKind::None;
    RangeChanged();
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
    if (!layer_.isNull()) RenderMainGraph(layer_, ctx_, highlightedAxis_, logicalDpiY());
}

TGraphGeometry TGraphView::MainGeometry() const {
    // The stacked panes have no second y-axis, and so no right-hand margin for it.
    return GraphGeometry(width(), GraphHeight(), 1,
                         !ctx_.view.graph.stacked && GraphAxesOf(ctx_.doc).HasSecond());
}

int TGraphView::StripHeight() const {
    return DeltaStripShown(ctx_.doc, ctx_.view, CurrentTrack(ctx_)) ? DeltaStripHeight(height())
                                                                    : 0;
}

void TGraphView::RedrawAxes() {
    if (layer_.isNull()) return;
    if (ctx_.view.graph.stacked) {
        // The panes' axes are drawn with the whole picture.
        RebuildLayer();
        update();
        return;
    }
    QPainter p(&layer_);
    const TGraphPaintInput in{ctx_.doc,      ctx_.view, CurrentTrack(ctx_), width(),
                              GraphHeight(), 1,         logicalDpiY(),      highlightedAxis_};
    DrawGraphAxes(p, in);
    p.end();
    update();
}

int TGraphView::CursorLineColumn() const {
    const TDocument& doc = ctx_.doc;
    const TViewState& view = ctx_.view;
    const TTrackData* track = CurrentTrack(ctx_);
    if (view.cursorPosition == NoCursor || GraphAxesOf(doc).x != TelemetryChannel::Position ||
        track == nullptr || !track->hasGeometry())
        return -1;
    const double feet = view.cursorPosition * track->inchesPerUnit / 12;
    const TGraphGeometry g = MainGeometry();
    return CursorColumn(feet, view.graph.viewRange, g);
}

QRect TGraphView::CursorLineRect() const {
    if (drawnCursorColumn_ < 0) return {};
    return QRect(drawnCursorColumn_, 40, 1, GraphHeight() - 80);
}

QRect TGraphView::StripCursorRect() const {
    const int strip = StripHeight();
    if (drawnCursorColumn_ < 0 || strip == 0) return {};
    const TDeltaStripGeometry s = DeltaStripGeometry(MainGeometry(), GraphHeight(), strip);
    return QRect(drawnCursorColumn_, s.plotTop, 1, s.plotBottom - s.plotTop);
}

void TGraphView::UpdateCursorLine() {
    const QRect old = CursorLineRect(), oldStrip = StripCursorRect();
    drawnCursorColumn_ = CursorLineColumn();
    const QRect now = CursorLineRect(), nowStrip = StripCursorRect();
    if (old != now) {
        if (!old.isEmpty()) update(old);
        if (!now.isEmpty()) update(now);
    }
    if (oldStrip != nowStrip) {
        if (!oldStrip.isEmpty()) update(oldStrip);
        if (!nowStrip.isEmpty()) update(nowStrip);
    }
}

void TGraphView::CursorMoved() {
    UpdateCursorLine();
}

void TGraphView::DropCursor() {
    ctx_.view.cursorPosition = NoCursor;
    UpdateCursorLine();
    emit cursorChanged(NoCursor);
    emit showLapValues(kPointedAtNothing, kPointedKindOfXAxis);
}

std::vector<QRect> TGraphView::BandEdges() const {
    // GDI's rectangle from the anchor to the corner without its right and bottom edge, as
    // up to four strips that never overlap (an inverted pixel inverted twice would vanish).
    const int l = std::min(dragAnchor_.x(), dragCorner_.x());
    const int r = std::max(dragAnchor_.x(), dragCorner_.x());
    const int t = std::min(dragAnchor_.y(), dragCorner_.y());
    const int b = std::max(dragAnchor_.y(), dragCorner_.y());
    std::vector<QRect> edges;
    if (r - l < 1 || b - t < 1) return edges;
    edges.emplace_back(l, t, r - l, 1);
    if (b - t >= 2) edges.emplace_back(l, b - 1, r - l, 1);
    if (b - t >= 3) {
        edges.emplace_back(l, t + 1, 1, b - t - 2);
        if (r - l >= 2) edges.emplace_back(r - 1, t + 1, 1, b - t - 2);
    }
    return edges;
}

void TGraphView::UpdateBand() {
    // Exactly the pixels the band inverts are repainted, so that every edge is drawn and
    // erased; a large band must not repaint its whole inside per move.
    QRegion border;
    for (const QRect& edge : BandEdges()) border += edge;
    update(border);
}

void TGraphView::paintEvent(QPaintEvent* event) {
    TGraphViewState& graph = ctx_.view.graph;
    // The layer is this view's cache of the picture; rebuilding it when stale is the only
    // state a paint keeps (FullRepaint has already said what the erase takes away).
    if (graph.repaintPending || layer_.isNull() || layer_.size() != size()) RebuildLayer();
    QPainter p(this);
    const QRect area = event->rect();
    p.drawImage(area, layer_, area);

    if (graph.dragging) {
        // The rubber band inverts what is under its border.
        p.setCompositionMode(QPainter::RasterOp_NotDestination);
        for (const QRect& edge : BandEdges()) p.fillRect(edge, Qt::black);
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }

    drawnCursorColumn_ = CursorLineColumn();
    if (drawnCursorColumn_ >= 0) {
        // Not-xor with green: green over white, the inverse colours over the curves.
        p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
        p.fillRect(CursorLineRect(), QColor(0, 192, 0));
        const QRect strip = StripCursorRect();
        if (!strip.isEmpty()) p.fillRect(strip, QColor(0, 192, 0));
    }
    graph.repaintPending = false;
}

void TGraphView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // Qt repeats the resize event of a hidden widget whenever it is rendered; only a real
    // change of size ends a drag.
    if (event->size() == resizedTo_) return;
    resizedTo_ = event->size();
    ctx_.view.graph.dragging = false;
    ctx_.view.graph.dragEnabled = true;
    FullRepaint();
}

// ---- the mouse ----

void TGraphView::mouseMoveEvent(QMouseEvent* event) {
    TViewState& view = ctx_.view;
    const QPoint pos = event->position().toPoint();
    const TGraphGeometry g = MainGeometry();
    if (panning_) {
        // From where the pan started, so that moves dropped during a repaint lose nothing.
        if (PanX(view.graph, panFrom_, pos.x() - panAnchorX_, g)) RangeChanged();
        return;
    }
    if (view.graph.repaintPending || view.viewMode != ViewGraph) return;
    const int x = pos.x(), y = pos.y();
    // The pointer takes over from the arrow keys; without the picture-in-picture window
    // the keys' cursor line goes, as the pointer shows none there.
    keyColumn_ = -1;
    if (keyCursor_) {
        keyCursor_ = false;
        if (!view.side.pipShown && !view.graph.cursorLineShown && view.cursorPosition != NoCursor)
            DropCursor();
    }
    if (y >= GraphHeight() && StripHeight() > 0) {
        lastPoint_ = QPoint(-1, -1);
        return StripMouseMove(pos);
    }

    if (!InMousePlot(x, y, g)) {
        lastPoint_ = QPoint(-1, -1);
        if (overPlot_) {
            overPlot_ = false;
            setCursor(Qt::ArrowCursor);
            // Off the plot nothing is pointed at, cursor line or not: the data window
            // empties its cells.
            emit showLapValues(kPointedAtNothing, kPointedKindOfXAxis);
        }
        const TAxisKind axis = AxisAt(x, y, g);
        emit statusText(QString::fromLatin1(AxisHint(axis)));
        if (view.cursorPosition != NoCursor) DropCursor();
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
    PointAt(pos, false);
    if (highlightedAxis_ != TAxisKind::None) {
        highlightedAxis_ = TAxisKind::None;
        RedrawAxes();
    }
}

void TGraphView::PointAt(const QPoint& pos, bool fromKeys) {
    const TDocument& doc = ctx_.doc;
    TViewState& view = ctx_.view;
    const TGraphAxes axes = GraphAxesOf(doc);
    const TGraphGeometry g = MainGeometry();
    lastPoint_ = pos;
    const TTrackData* track = CurrentTrack(ctx_);
    double xValue = 0;
    if (track == nullptr) {
        emit statusText(QString());
    } else {
        const TGraphReadout r = ReadoutAt(pos.x(), pos.y(), view.graph.viewRange, g);
        xValue = r.x;
        char buf[256];
        if (view.graph.stacked) {
            // The pane under the pointer is read.
            const std::vector<TStackedPane> panes = StackedPanes(doc, view, width(), GraphHeight());
            const int k = StackedPaneAt(panes, pos.y());
            const TStackedPane pane = k >= 0 ? panes[size_t(k)] : TStackedPane{};
            std::snprintf(buf, sizeof buf, "%s = %7.2f, %s = %7.2f", ChannelName(axes.x), r.x,
                          ChannelName(pane.channel), StackedValueAt(pane, pos.y()));
        } else if (axes.HasSecond())
            std::snprintf(buf, sizeof buf, "%s = %7.2f, %s = %7.2f, %s = %7.2f",
                          ChannelName(axes.x), r.x, ChannelName(axes.y), r.y, ChannelName(axes.y2),
                          r.y2);
        else
            std::snprintf(buf, sizeof buf, "%s = %7.2f, %s = %7.2f", ChannelName(axes.x), r.x,
                          ChannelName(axes.y), r.y);
        QString text = QString::fromLatin1(buf);
        if (StripHeight() > 0)
            text += DeltaReadout(
                doc, view, ReferenceLap(doc.laps().Pointers(), view.analysis.referenceSerial), r.x);
        emit statusText(text);
        if (axes.x == TelemetryChannel::Position)
            emit showLapValues(track->inchesPerUnit > 0 ? r.x * 12 / track->inchesPerUnit : -1,
                               TelemetryChannel::Position);
        else
            emit showLapValues(r.x, TelemetryChannel::Time);
    }

    if (view.graph.dragging && !fromKeys) {
        UpdateBand();
        dragCorner_ = pos;
        UpdateBand();
    } else if (axes.x == TelemetryChannel::Position && track != nullptr &&
               (view.side.pipShown || view.graph.cursorLineShown || fromKeys)) {
        const int32_t position = FeetToUnits(xValue, track->inchesPerUnit);
        keyCursor_ = fromKeys && position != NoCursor;
        if (position != view.cursorPosition) {
            view.cursorPosition = position;
            UpdateCursorLine();
            emit cursorChanged(position);
        }
    }
}

void TGraphView::StepCursor(int columns) {
    TViewState& view = ctx_.view;
    if (view.viewMode != ViewGraph || view.graph.dragging || panning_) return;
    const TGraphGeometry g = MainGeometry();
    const int first = 60, last = g.W - g.E - 20;
    if (last < first) return;
    const bool pointed = InMousePlot(lastPoint_.x(), lastPoint_.y(), g);
    int column = keyColumn_;
    if (column < 0) column = drawnCursorColumn_;
    if (column < 0 && pointed) column = lastPoint_.x();
    if (column < 0) {
        // Nothing pointed at yet: the first key starts at the edge it moves away from.
        column = columns > 0 ? first : last;
    } else {
        column += columns;
    }
    column = std::clamp(column, first, last);
    keyColumn_ = column;
    const int row = pointed ? lastPoint_.y() : (40 + g.H - 40) / 2;
    PointAt(QPoint(column, row), true);
}

void TGraphView::mousePressEvent(QMouseEvent* event) {
    TViewState& view = ctx_.view;
    if (view.viewMode != ViewGraph) return;
    const QPoint pos = event->position().toPoint();
    const TGraphGeometry g = MainGeometry();
    const bool pan =
        event->button() == Qt::MiddleButton ||
        (event->button() == Qt::LeftButton && (event->modifiers() & Qt::ShiftModifier));
    if (pan) {
        if (!view.graph.dragging && ctx_.doc.HasTrack() && InMousePlot(pos.x(), pos.y(), g)) {
            panning_ = true;
            panAnchorX_ = pos.x();
            panFrom_ = view.graph.viewRange.x;
            setCursor(Qt::ClosedHandCursor);
        }
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    if (view.graph.dragEnabled && InMousePlot(pos.x(), pos.y(), g)) {
        view.graph.dragging = true;
        dragAnchor_ = dragCorner_ = pos;
    }
}

void TGraphView::mouseReleaseEvent(QMouseEvent* event) {
    const TDocument& doc = ctx_.doc;
    TViewState& view = ctx_.view;
    TGraphViewState& graph = view.graph;
    const QPoint pos = event->position().toPoint();
    const TGraphGeometry g = MainGeometry();
    const bool inPlot = InMousePlot(pos.x(), pos.y(), g);

    if (panning_ && (event->button() == Qt::MiddleButton || event->button() == Qt::LeftButton)) {
        panning_ = false;
        setCursor(overPlot_ ? Qt::CrossCursor : Qt::ArrowCursor);
        return;
    }

    if (event->button() == Qt::RightButton) {
        if (graph.dragging) {
            UpdateBand();
            setCursor(Qt::CrossCursor);
        }
        graph.dragging = false;
        graph.dragEnabled = true;
        if (view.viewMode == ViewGraph && StripHeight() > 0 && pos.y() >= GraphHeight()) {
            // The strip's own menu: what it draws.
            QMenu menu(this);
            FillDeltaStripMenu(menu);
            const int id = ExecPopupMenu(menu, mapToGlobal(pos));
            if (id != 0) RunCommand(id);
            return;
        }
        if (view.viewMode != ViewGraph || (highlightedAxis_ == TAxisKind::None && !inPlot)) return;
        QMenu menu(this);
        if (graph.stacked && highlightedAxis_ != TAxisKind::X) {
            // A pane's own menu: its channel, and over the plot the zoom commands.
            const int pane =
                StackedPaneAt(StackedPanes(doc, view, width(), GraphHeight()), pos.y());
            FillPaneMenu(menu, pane, inPlot);
            const int id = ExecPopupMenu(menu, mapToGlobal(pos));
            if (id >= kPaneChannelItem)
                SetPaneChannel(pane, static_cast<TelemetryChannel>(id - kPaneChannelItem));
            else if (id != 0)
                RunCommand(id);
            return;
        }
        FillPopupMenu(menu, highlightedAxis_);
        const int id = ExecPopupMenu(menu, mapToGlobal(pos));
        if (id != 0) RunCommand(id);
        return;
    }

    if (event->button() != Qt::LeftButton || !graph.dragging) return;
    UpdateBand();
    graph.dragging = false;
    graph.dragEnabled = true;
    setCursor(Qt::CrossCursor);
    if (!inPlot) return;
    dragCorner_ = pos;
    if (!doc.HasTrack() || dragCorner_ == dragAnchor_) return;
    // The stacked panes share the x axis and keep their channels' ranges: x alone zooms.
    if (graph.stacked ? !ZoomXToColumns(graph, dragAnchor_.x(), pos.x(), g)
                      : !ZoomToRect(graph, dragAnchor_.x(), dragAnchor_.y(), pos.x(), pos.y(), g))
        return;
    RangeChanged();
}

void TGraphView::wheelEvent(QWheelEvent* event) {
    TViewState& view = ctx_.view;
    const QPoint pos = event->position().toPoint();
    const TGraphGeometry g = MainGeometry();
    const double notches = event->angleDelta().y() / 120.0;
    if (view.viewMode != ViewGraph || !ctx_.doc.HasTrack() || notches == 0 || view.graph.dragging ||
        panning_ || !InMousePlot(pos.x(), pos.y(), g)) {
        event->ignore();
        return;
    }
    event->accept();
    // Away from the user (a positive delta) zooms in; Ctrl turns the wheel to the y axes.
    if ((event->modifiers() & Qt::ControlModifier) && view.graph.stacked) {
        event->ignore();  // the panes' y ranges are their channels' own
        return;
    }
    const bool changed = (event->modifiers() & Qt::ControlModifier)
                             ? WheelZoomY(view.graph, pos.y(), notches, g)
                             : WheelZoomX(view.graph, pos.x(), notches, g);
    if (changed) {
        RangeChanged();
        // The zoom keeps the value under the pointer in place: what the pointer reads, the
        // data window's values and the cursor line stay as they were.
        PointAt(pos, false);
    }
}

void TGraphView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right) {
        const int step = (event->modifiers() & Qt::ShiftModifier) ? 10 : 1;
        StepCursor(event->key() == Qt::Key_Left ? -step : step);
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

// Over the delta strip: the position and every lap's delta at the pointer, and the cursor
// line as over the plot; no axis there to highlight, no zoom to start.
void TGraphView::StripMouseMove(const QPoint& pos) {
    TViewState& view = ctx_.view;
    const TGraphAxes axes = GraphAxesOf(ctx_.doc);
    const TGraphGeometry g = MainGeometry();
    const TDeltaStripGeometry s = DeltaStripGeometry(g, GraphHeight(), StripHeight());
    const TTrackData* track = CurrentTrack(ctx_);
    const bool over = track != nullptr && pos.x() >= 60 && pos.x() <= g.W - g.E - 20 &&
                      pos.y() >= s.plotTop && pos.y() <= s.plotBottom;
    if (highlightedAxis_ != TAxisKind::None) {
        highlightedAxis_ = TAxisKind::None;
        RedrawAxes();
    }
    if (!over) {
        if (overPlot_) {
            overPlot_ = false;
            setCursor(Qt::ArrowCursor);
        }
        emit statusText(QString());
        if (view.cursorPosition != NoCursor) DropCursor();
        return;
    }
    if (!overPlot_) {
        overPlot_ = true;
        setCursor(Qt::CrossCursor);
    }
    const double feet = ReadoutAt(pos.x(), pos.y(), view.graph.viewRange, g).x;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%s = %7.2f", ChannelName(axes.x), feet);
    emit statusText(
        QString::fromLatin1(buf) +
        DeltaReadout(ctx_.doc, view,
                     ReferenceLap(ctx_.doc.laps().Pointers(), view.analysis.referenceSerial),
                     feet));
    emit showLapValues(track->inchesPerUnit > 0 ? feet * 12 / track->inchesPerUnit : -1,
                       TelemetryChannel::Position);
    if (view.graph.dragging) {
        UpdateBand();
        dragCorner_ = pos;
        UpdateBand();
    } else if (view.side.pipShown || view.graph.cursorLineShown) {
        const int32_t position = FeetToUnits(feet, track->inchesPerUnit);
        if (position != view.cursorPosition) {
            view.cursorPosition = position;
            UpdateCursorLine();
            emit cursorChanged(position);
        }
    }
}
