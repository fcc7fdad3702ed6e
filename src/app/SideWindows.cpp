#include "app/SideWindows.h"

#include <QAction>

#include "analysis/LapAnalysis.h"
#include "commands/LapEditing.h"
#include "commands/LapVisibility.h"
#include "views/graph/DeltaStrip.h"
#include "views/windows/TDataWindow.h"
#include "views/windows/TReplayInfo.h"

TSideWindows::TSideWindows(TCommandContext& ctx, QWidget* owner, std::function<void()> afterCommand)
    : ctx_(ctx), afterCommand_(std::move(afterCommand)) {
    data_ = new TDataWindow(
        [this] {
            std::optional<int32_t> cursor;
            if (ctx_.view.cursorPosition != NoCursor) cursor = ctx_.view.cursorPosition;
            TLapValuesSource source{&ctx_.doc.laps(), ctx_.doc.Track(), cursor, ctx_.doc.axes().x};
            if (DeltaStripShown(ctx_.doc, ctx_.view, ctx_.doc.Track()))
                source.deltaReference =
                    ReferenceLap(ctx_.doc.laps().Pointers(), ctx_.view.analysis.referenceSerial);
            return source;
        },
        owner);
    info_ = new TReplayInfo(ctx_.doc.laps(), owner);
    info_->SetHiddenLaps(&ctx_.view.hiddenLaps);
    connect(info_, &TReplayInfo::lapHiddenRequested, this, &TSideWindows::lapHiddenRequested);
    connect(info_, &TReplayInfo::lapSelected, this, [this](int32_t serial) {
        ctx_.view.analysis.selectedSerial = serial;
        emit lapSelected();
    });
    // The pointer stays with the graph and the keys with the main window when they open.
    data_->setAttribute(Qt::WA_ShowWithoutActivating);
    info_->setAttribute(Qt::WA_ShowWithoutActivating);
    // Some window managers give tool windows a close button: closing one is the same as
    // its command's second press.
    connect(data_, &TDataWindow::closedByUser, this, [this] {
        ctx_.view.side.dataShown = false;
        if (afterCommand_) afterCommand_();
    });
    connect(info_, &TReplayInfo::closedByUser, this, [this] {
        ctx_.view.side.infoShown = false;
        if (afterCommand_) afterCommand_();
    });
    connect(info_, &TReplayInfo::editLapRequested, this, [this](int32_t index) {
        EditLap(ctx_, index);
        if (afterCommand_) afterCommand_();
    });
    connect(info_, &TReplayInfo::deleteLapRequested, this, [this](int32_t index) {
        DeleteLap(ctx_, index);
        CloseEmptyList();
        if (afterCommand_) afterCommand_();
    });
    ctx_.doc.Subscribe(*this);
}

TSideWindows::~TSideWindows() {
    ctx_.doc.Unsubscribe(*this);
}

void TSideWindows::Setup(const TWindowRect& info, const TWindowRect& data) {
    info_->Setup(info);
    data_->Setup(data);
}

void TSideWindows::AddKeys(const QList<QAction*>& actions) {
    data_->addActions(actions);
    info_->addActions(actions);
}

void TSideWindows::Changed(const TDocumentChange& change) {
    switch (change.kind) {
        case TChangeKind::LapAdded:
            if (change.lap != nullptr) data_->AddLapColumn(*change.lap);
            info_->RefreshLapList();
            break;
        case TChangeKind::LapEdited:
            if (change.lap != nullptr)
                data_->UpdateLapColumn(change.index, change.lap->driverName, change.lap->colour);
            info_->viewport()->update();
            break;
        case TChangeKind::LapRemoved:
            data_->RemoveLapColumn(change.index);
            info_->LapListChanged();
            break;
        case TChangeKind::AllLapsRemoved:
            // Not closed here: an Open clears the laps before it reads the new ones. Whether
            // the list is empty is settled when the command ends (CloseEmptyList).
            data_->RemoveAllLapColumns();
            info_->LapListChanged();
            break;
        case TChangeKind::TrackOpened:
        case TChangeKind::AxesChanged:
        case TChangeKind::CaptionChanged:
        case TChangeKind::LapsChanged:
        case TChangeKind::Repaint:
        case TChangeKind::ShowGraph:
        case TChangeKind::ClosePictureInPicture:
            break;
    }
    // Laps of one driver are told apart by lap time as laps come, go and are renamed.
    if (change.kind == TChangeKind::LapAdded || change.kind == TChangeKind::LapEdited ||
        change.kind == TChangeKind::LapRemoved || change.kind == TChangeKind::LapsChanged)
        data_->ShowLapNames(LapDisplayNames(ctx_.doc.laps().Pointers()));
    // The reference lap and whether the strip can show follow the laps and the axes.
    if (change.kind != TChangeKind::Repaint) data_->RefreshDelta();
}

void TSideWindows::RefreshDelta() {
    data_->RefreshDelta();
}

void TSideWindows::LapVisibilityChanged() {
    const TLapList& laps = ctx_.doc.laps();
    for (int32_t i = 0; i < laps.Count(); ++i)
        data_->SetLapHidden(i, LapHidden(ctx_.view, laps.At(i).serial));
    info_->viewport()->update();
}

void TSideWindows::ShowLapValues(double x, TelemetryChannel kind) {
    data_->ShowLapValues(x, kind);
}

void TSideWindows::DataCommand() {
    ctx_.view.graph.dragging = false;
    ctx_.view.graph.dragEnabled = true;
    bool& shown = ctx_.view.side.dataShown;
    shown = !shown;
    if (shown) {
        data_->show();
        // What the window shows from the start: the values at the cursor, if there is one.
        data_->ShowLapValues(kPointedAtCursor, TelemetryChannel::Position);
    } else {
        data_->hide();
    }
}

void TSideWindows::InfoCommand() {
    ctx_.view.graph.dragging = false;
    ctx_.view.graph.dragEnabled = true;
    bool& shown = ctx_.view.side.infoShown;
    shown = !shown;
    info_->setVisible(shown);
}

bool TSideWindows::DataEnabled() const {
    // While shown it can always be closed by its command, track or not.
    return ctx_.doc.HasTrack() || ctx_.view.side.dataShown;
}

bool TSideWindows::InfoEnabled() const {
    return !ctx_.doc.laps().Empty();
}

void TSideWindows::CloseEmptyList() {
    if (ctx_.doc.laps().Empty() && ctx_.view.side.infoShown) {
        ctx_.view.side.infoShown = false;
        info_->hide();
    }
}

TWindowRect TSideWindows::InfoPlacement() const {
    return info_->Placement();
}

TWindowRect TSideWindows::DataPlacement() const {
    return data_->Placement();
}
