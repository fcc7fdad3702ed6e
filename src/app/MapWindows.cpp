#include "app/MapWindows.h"

#include <QStackedLayout>
#include <QWidget>

#include <cstdio>

#include "track/TTrackData.h"
#include "views/graph/TGraphView.h"
#include "views/map/MapMarkers.h"
#include "views/map/TTrackMapView.h"
#include "views/windows/TPipWindow.h"

TMapWindows::TMapWindows(TCommandContext& ctx, TGraphView& graph, QStackedLayout& stack,
                         QWidget& owner)
    : QObject(&owner), ctx_(ctx), graph_(graph), stack_(stack) {
    map_ = new TTrackMapView(ctx_, lines_, &owner);
    map_->setObjectName(QStringLiteral("mapView"));
    stack_.addWidget(map_);
    pip_ = new TPipWindow(ctx_, lines_, &owner);
    pip_->hide();

    connect(map_, &TTrackMapView::statusText, this, &TMapWindows::statusText);
    connect(map_, &TTrackMapView::stateChanged, this, &TMapWindows::stateChanged);
    connect(map_, &TTrackMapView::showLapValues, this, &TMapWindows::showLapValues);
    connect(pip_, &TPipWindow::showLapValues, this, &TMapWindows::showLapValues);
    // The cursor is shared: whichever window moved it, the others follow.
    connect(map_, &TTrackMapView::cursorChanged, pip_, [this] { pip_->CursorMoved(); });
    connect(&graph_, &TGraphView::cursorChanged, pip_, [this] { pip_->CursorMoved(); });
    connect(pip_, &TPipWindow::cursorChanged, this, [this] {
        if (InMap())
            map_->CursorMoved();
        else
            graph_.CursorMoved();
    });
    // The picture-in-picture window shows the graph while the map is in the main window.
    connect(&graph_, &TGraphView::graphChanged, pip_, [this] {
        if (InMap() && ctx_.doc.pipShown) pip_->RepaintRequest();
    });
    connect(pip_, &TPipWindow::closeRequested, this, [this] {
        if (ctx_.doc.pipShown) PipCommand();
        emit stateChanged();
    });
}

TMapWindows::~TMapWindows() = default;

void TMapWindows::Setup(const TWindowRect& pip) {
    pip_->SetPlacement(pip.x, pip.y, pip.w, pip.h);
}

TWindowRect TMapWindows::PipPlacement() const {
    const QRect r = pip_->Placement();
    return {r.x(), r.y(), r.width(), r.height()};
}

bool TMapWindows::InMap() const {
    return ctx_.doc.viewMode == ViewMap;
}

bool TMapWindows::TrackHasGeometry() const {
    const TTrackData* t = CurrentTrack(ctx_);
    return t != nullptr && t->hasGeometry();
}

void TMapWindows::RepaintMapViews() {
    if (InMap()) map_->FullRepaint();
    if (ctx_.doc.pipShown) pip_->RepaintRequest();
}

void TMapWindows::DropCursorMarks() {
    TDocumentState& doc = ctx_.doc;
    if (doc.xAxis != ChannelPosition || doc.cursorPosition == NoCursor) return;
    doc.cursorPosition = NoCursor;
    if (InMap())
        map_->CursorMoved();
    else
        graph_.CursorMoved();
    pip_->CursorMoved();
    emit showLapValues(-1, -1);
}

// ---- the commands ----

void TMapWindows::MapCommand() {
    TDocumentState& doc = ctx_.doc;
    // From the graph with the picture-in-picture map open: the main map starts where the
    // small one shows (unless it is fitted again below).
    if (!InMap() && doc.pipShown) ScrollMainToPip(map_->State(), pip_->State());
    stack_.setCurrentWidget(map_);
    doc.viewMode = ViewMap;
    pip_->ShowGraphInPip();
    map_->Enter();
    pip_->RepaintRequest();
    emit statusText(QString());
}

void TMapWindows::GraphCommand() {
    TDocumentState& doc = ctx_.doc;
    if (InMap()) {
        // The picture-in-picture window takes over the region the map showed.
        pip_->ShowMapInPip(map_->State().view.mapScale, map_->State(), map_->ClientSize());
        map_->Leave();
    }
    doc.viewMode = ViewGraph;
    stack_.setCurrentWidget(&graph_);
    doc.repaintPending = true;
    graph_.FullRepaint();
    pip_->RepaintRequest();
}

void TMapWindows::PipCommand() {
    TDocumentState& doc = ctx_.doc;
    doc.dragging = false;
    doc.dragEnabled = true;
    if (doc.pipShown) DropCursorMarks();
    doc.pipShown = !doc.pipShown;
    if (doc.pipShown) {
        // A track that became current by an import has given the window no map yet.
        if (pip_->State().view.mapScale == 0 && !InMap())
            pip_->ShowMapInPip(0, map_->State(), map_->ClientSize());
        pip_->RepaintRequest();
        pip_->show();
    } else {
        pip_->hide();
    }
}

void TMapWindows::CornersCommand() {
    TDocumentState& doc = ctx_.doc;
    doc.dragging = false;
    doc.dragEnabled = true;
    doc.cornersShown = !doc.cornersShown;
    const TTrackData* t = CurrentTrack(ctx_);
    if (doc.cornersShown && t != nullptr && t->cornerCount == 0) {
        char text[160];
        std::snprintf(text, sizeof text, "%s currently has no corner information", t->name.c_str());
        ctx_.prompts.MessageBox("Show Corners", text, TMsgIcon::Information, TMsgButtons::Ok);
        doc.cornersShown = false;
    }
    if (doc.xAxis != ChannelPosition) return;
    if (InMap()) {
        if (doc.pipShown) pip_->RepaintRequest();
    } else {
        graph_.FullRepaint();
    }
}

void TMapWindows::SpeedComparisonCommand() {
    TDocumentState& doc = ctx_.doc;
    doc.comparisonShown = !doc.comparisonShown;
    const TTrackData* t = CurrentTrack(ctx_);
    if (doc.comparisonShown && t != nullptr && doc.laps.Count() >= 2)
        doc.segmentWinner = SegmentWinners(*t, doc.laps.At(0), doc.laps.At(1));
    // The picture-in-picture window shows the comparison too when it shows the map.
    RepaintMapViews();
}

void TMapWindows::OtherMarkersCommand() {
    ctx_.doc.otherMarkersShown = !ctx_.doc.otherMarkersShown;
    RepaintMapViews();
}

void TMapWindows::ZoomOut() {
    map_->ZoomOut();
}

void TMapWindows::FullSize() {
    map_->FullSize();
}

// ---- enabling ----

bool TMapWindows::MapEnabled() const {
    return TrackHasGeometry();
}

bool TMapWindows::PipEnabled() const {
    return TrackHasGeometry();
}

bool TMapWindows::CornersEnabled() const {
    const TDocumentState& doc = ctx_.doc;
    return doc.HasTrack() && doc.xAxis != ChannelTime && !(InMap() && !doc.pipShown);
}

bool TMapWindows::SpeedComparisonEnabled() const {
    return ctx_.doc.laps.Count() == 2 && TrackHasGeometry();
}

bool TMapWindows::OtherMarkersEnabled() const {
    const TTrackData* t = CurrentTrack(ctx_);
    return t != nullptr && t->hasGeometry() && !t->others.empty();
}

bool TMapWindows::CanZoomOut() const {
    return map_->CanZoomOut();
}

bool TMapWindows::CanFullSize() const {
    return map_->CanFullSize();
}

// ---- the document's changes ----

void TMapWindows::TrackOpened(bool hasGeometry) {
    if (hasGeometry) pip_->ShowMapInPip(0, map_->State(), map_->ClientSize());
}

void TMapWindows::SwitchToGraphForClear() {
    if (InMap()) GraphCommand();
    map_->Clear();
}

void TMapWindows::ClosePip() {
    DropCursorMarks();
    pip_->hide();
}

void TMapWindows::LapsChanged() {
    lines_.Prune(ctx_.doc.laps.Pointers());
    Sync();
    Repaint();
}

void TMapWindows::Repaint() {
    lines_.Prune(ctx_.doc.laps.Pointers());
    RepaintMapViews();
}

void TMapWindows::Sync() {
    TDocumentState& doc = ctx_.doc;
    if (doc.comparisonShown && !SpeedComparisonEnabled()) {
        doc.comparisonShown = false;
        RepaintMapViews();
    }
}
