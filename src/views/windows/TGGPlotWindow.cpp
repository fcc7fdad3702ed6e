#include "views/windows/TGGPlotWindow.h"

#include <QCloseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

#include "platform/ProfileFile.h"

namespace {
constexpr int kMarkRadius = 4;
}

TGGPlotWindow::TGGPlotWindow(TCommandContext& ctx, QWidget* parent)
    : QWidget(parent, Qt::Tool), ctx_(ctx) {
    setObjectName(QStringLiteral("ggPlotWindow"));
    setWindowTitle(QStringLiteral("G-G Plot"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(160, 160);
    const ProfileFile& s = ctx_.settings;
    move(s.ReadInt("window", "ggx", 320), s.ReadInt("window", "ggy", 240));
    resize(std::max(160, s.ReadInt("window", "ggw", 360)),
           std::max(160, s.ReadInt("window", "ggh", 360)));
    ctx_.doc.Subscribe(*this);
}

TGGPlotWindow::~TGGPlotWindow() {
    ctx_.doc.Unsubscribe(*this);
}

void TGGPlotWindow::Changed(const TDocumentChange& change) {
    switch (change.kind) {
        case TChangeKind::LapAdded:
        case TChangeKind::LapEdited:
        case TChangeKind::LapRemoved:
        case TChangeKind::AllLapsRemoved:
        case TChangeKind::TrackOpened:
        case TChangeKind::LapsChanged:
        case TChangeKind::AxesChanged:
        case TChangeKind::Repaint:
            Refresh();
            break;
        default:
            break;
    }
}

void TGGPlotWindow::Refresh() {
    stale_ = true;
    update();
}

QRect TGGPlotWindow::MarksRect() const {
    QRect r;
    for (const TGGCursorPoint& m : marks_)
        r |= QRect(m.at.x() - kMarkRadius - 2, m.at.y() - kMarkRadius - 2, 2 * kMarkRadius + 5,
                   2 * kMarkRadius + 5);
    return r;
}

void TGGPlotWindow::CursorMoved() {
    if (!isVisible()) return;
    const QRect before = MarksRect();
    marks_ = GGCursorPoints(points_.For(ctx_.doc.laps()), ctx_, size());
    const QRect after = MarksRect();
    if (!before.isEmpty()) update(before);
    if (!after.isEmpty()) update(after);
}

void TGGPlotWindow::paintEvent(QPaintEvent* event) {
    if (stale_ || layer_.size() != size()) {
        if (layer_.size() != size()) layer_ = QImage(size(), QImage::Format_RGB32);
        if (!layer_.isNull()) RenderGGPlot(layer_, points_.For(ctx_.doc.laps()), ctx_);
        stale_ = false;
    }
    QPainter p(this);
    p.drawImage(event->rect(), layer_, event->rect());
    marks_ = GGCursorPoints(points_.For(ctx_.doc.laps()), ctx_, size());
    p.setRenderHint(QPainter::Antialiasing, true);
    for (const TGGCursorPoint& m : marks_) {
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(QColor::fromRgb(m.colour));
        p.drawEllipse(QPointF(m.at), kMarkRadius, kMarkRadius);
    }
}

void TGGPlotWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Refresh();
}

void TGGPlotWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    everShown_ = true;
    Refresh();
}

void TGGPlotWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    emit closed();
}

void TGGPlotWindow::SavePlacement() {
    // A docked window's place is the frame's layout, not a placement of its own.
    if (!everShown_ || !isWindow()) return;
    ProfileFile& s = ctx_.settings;
    s.WriteInt("window", "ggx", pos().x());
    s.WriteInt("window", "ggy", pos().y());
    s.WriteInt("window", "ggw", width());
    s.WriteInt("window", "ggh", height());
}
