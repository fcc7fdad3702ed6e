#include "app/MapWindows.h"

#include <QStackedLayout>
#include <QWidget>

#include <cstdio>

#include "channels/LapValues.h"
#include "commands/LapAnalysisCommands.h"
#include "commands/MapColour.h"
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
        if (InMap() && ctx_.view.side.pipShown) pip_->RepaintRequest();
    });
    connect(pip_, &TPipWindow::closeRequested, this, [this] {
        if (ctx_.view.side.pipShown) PipCommand();
        emit stateChanged();
    });
    ctx_.doc.Subscribe(*this);
}

TMapWindows::~TMapWindows() {
    ctx_.doc.Unsubscribe(*this);
    // Both windows draw from this object's lap lines.
    delete pip_;
    delete map_;
}

void TMapWindows::Changed(const TDocumentChange& change) {
    switch (change.kind) {
        case TChangeKind::TrackOpened:
            TrackOpened(change.hasGeometry);
            break;
        case TChangeKind::ClosePictureInPicture:
            ClosePip();
            break;
        case TChangeKind::LapsChanged:
            LapsChanged();
            break;
        case TChangeKind::Repaint:
            Repaint();
            break;
        case TChangeKind::AllLapsRemoved:
            lines_.Clear();
            break;
        // Leaving the map for the graph is the main window's, which owns both views.
        case TChangeKind::ShowGraph:
        case TChangeKind::LapAdded:
        case TChangeKind::LapEdited:
        case TChangeKind::LapRemoved:
        case TChangeKind::AxesChanged:
        case TChangeKind::CaptionChanged:
            break;
    }
}

void TMapWindows::Setup(const TWindowRect& pip) {
    pip_->SetPlacement(pip.x, pip.y, pip.w, pip.h);
}

TWindowRect TMapWindows::PipPlacement() const {
    const QRect r = pip_->Placement();
    return {r.x(), r.y(), r.width(), r.height()};
}

bool TMapWindows::InMap() const {
    return ctx_.view.viewMode == ViewMap;
}

bool TMapWindows::TrackHasGeometry() const {
    const TTrackData* t = CurrentTrack(ctx_);
    return t != nullptr && t->hasGeometry();
}

void TMapWindows::RepaintMapViews() {
    if (InMap()) map_->FullRepaint();
    if (ctx_.view.side.pipShown) pip_->RepaintRequest();
}

void TMapWindows::DropCursorMarks() {
    TViewState& view = ctx_.view;
    if (ctx_.doc.axes().x != TelemetryChannel::Position || view.cursorPosition == NoCursor) return;
    view.cursorPosition = NoCursor;
    if (InMap())
        map_->CursorMoved();
    else
        graph_.CursorMoved();
    pip_->CursorMoved();
    emit showLapValues(kPointedAtNothing, kPointedKindOfXAxis);
}

// ---- the commands ----

void TMapWindows::MapCommand() {
    TViewState& view = ctx_.view;
    // From the graph with the picture-in-picture map open: the main map starts where the
    // small one shows (unless it is fitted again below).
    if (!InMap() && view.side.pipShown) ScrollMainToPip(map_->State(), pip_->State());
    stack_.setCurrentWidget(map_);
    view.viewMode = ViewMap;
    pip_->ShowGraphInPip();
    map_->Enter();
    pip_->RepaintRequest();
    emit statusText(QString());
}

void TMapWindows::GraphCommand() {
    TViewState& view = ctx_.view;
    if (InMap()) {
        // The picture-in-picture window takes over the region the map showed.
        pip_->ShowMapInPip(map_->State().view.mapScale, map_->State(), map_->ClientSize());
        map_->Leave();
    }
    view.viewMode = ViewGraph;
    stack_.setCurrentWidget(&graph_);
    view.graph.repaintPending = true;
    graph_.FullRepaint();
    pip_->RepaintRequest();
}

void TMapWindows::PipCommand() {
    TViewState& view = ctx_.view;
    view.graph.dragging = false;
    view.graph.dragEnabled = true;
    if (view.side.pipShown) DropCursorMarks();
    view.side.pipShown = !view.side.pipShown;
    if (view.side.pipShown) {
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
    TViewState& view = ctx_.view;
    view.graph.dragging = false;
    view.graph.dragEnabled = true;
    view.cornersShown = !view.cornersShown;
    const TTrackData* t = CurrentTrack(ctx_);
    if (view.cornersShown && t != nullptr && t->cornerCount == 0) {
        char text[160];
        std::snprintf(text, sizeof text, "%s currently has no corner information", t->name.c_str());
        ctx_.prompts.MessageBox("Show Corners", text, TMsgIcon::Information, TMsgButtons::Ok);
        view.cornersShown = false;
    }
    if (ctx_.doc.axes().x != TelemetryChannel::Position) return;
    if (InMap()) {
        if (view.side.pipShown) pip_->RepaintRequest();
    } else {
        graph_.FullRepaint();
    }
}

void TMapWindows::SpeedComparisonCommand() {
    TViewState& view = ctx_.view;
    view.map.comparisonShown = !view.map.comparisonShown;
    CompareLaps();
    // The picture-in-picture window shows the comparison too when it shows the map.
    RepaintMapViews();
}

void TMapWindows::CompareLaps() {
    TViewState& view = ctx_.view;
    const TTrackData* t = CurrentTrack(ctx_);
    const TComparedLaps compared = ComparedLaps(ctx_);
    if (!view.map.comparisonShown || t == nullptr || compared.first < 0) return;
    view.map.segmentWinner =
        SegmentWinners(*t, ctx_.doc.laps().At(compared.first), ctx_.doc.laps().At(compared.second));
}

void TMapWindows::ComparedLapsChanged() {
    // Only more than two laps are compared by the reference and the selection.
    if (ctx_.doc.laps().Count() > 2 && ctx_.view.map.comparisonShown) CompareLaps();
    if (ctx_.doc.laps().Count() > 2 &&
        (ctx_.view.map.comparisonShown || ctx_.view.map.colour == TMapColour::TimeDelta))
        RepaintMapViews();
}

void TMapWindows::OtherMarkersCommand() {
    ctx_.view.map.otherMarkersShown = !ctx_.view.map.otherMarkersShown;
    RepaintMapViews();
}

void TMapWindows::ZoomOut() {
    map_->ZoomOut();
}

void TMapWindows::FullSize() {
    map_->FullSize();
}

// ---- enabling ----

void TMapWindows::ColourMapCommand(TMapColour colour) {
    if (ctx_.view.map.colour == colour) return;
    ctx_.view.map.colour = colour;
    WriteMapColourSetting(ctx_.settings, colour);
    RepaintMapViews();
}

bool TMapWindows::ColourMapEnabled(TMapColour colour) const {
    if (colour == TMapColour::Laps) return true;
    const int32_t laps = ctx_.doc.laps().Count();
    return TrackHasGeometry() && laps >= (colour == TMapColour::TimeDelta ? 2 : 1);
}

bool TMapWindows::MapEnabled() const {
    return TrackHasGeometry();
}

bool TMapWindows::PipEnabled() const {
    return TrackHasGeometry();
}

bool TMapWindows::CornersEnabled() const {
    const TViewState& view = ctx_.view;
    return ctx_.doc.HasTrack() && ctx_.doc.axes().x != TelemetryChannel::Time &&
           !(InMap() && !view.side.pipShown);
}

bool TMapWindows::SpeedComparisonEnabled() const {
    return ctx_.doc.laps().Count() >= 2 && TrackHasGeometry();
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
    lines_.Prune(ctx_.doc.laps().Pointers());
    Sync();
    Repaint();
}

void TMapWindows::Repaint() {
    lines_.Prune(ctx_.doc.laps().Pointers());
    RepaintMapViews();
}

void TMapWindows::Sync() {
    TViewState& view = ctx_.view;
    if (view.map.comparisonShown && !SpeedComparisonEnabled()) {
        view.map.comparisonShown = false;
        RepaintMapViews();
        emit stateChanged();
    } else if (view.map.comparisonShown) {
        // The laps compared follow the laps that came or went.
        CompareLaps();
        RepaintMapViews();
    }
}
