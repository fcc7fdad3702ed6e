#include "app/SideWindows.h"

#include <QAction>

#include "commands/LapEditing.h"
#include "views/windows/TDataWindow.h"
#include "views/windows/TReplayInfo.h"

TSideWindows::TSideWindows(TCommandContext& ctx, QWidget* owner, std::function<void()> afterCommand)
    : QObject(owner), ctx_(ctx), afterCommand_(std::move(afterCommand)) {
    data_ = new TDataWindow(
        [this] {
            const TDocumentState& doc = ctx_.doc;
            std::optional<int32_t> cursor;
            if (doc.cursorPosition != NoCursor) cursor = doc.cursorPosition;
            return TLapValuesSource{&doc.laps, CurrentTrack(ctx_), cursor, doc.xAxis};
        },
        owner);
    info_ = new TReplayInfo(ctx_.doc.laps, owner);
    // The pointer stays with the graph and the keys with the main window when they open.
    data_->setAttribute(Qt::WA_ShowWithoutActivating);
    info_->setAttribute(Qt::WA_ShowWithoutActivating);
    // Some window managers give tool windows a close button: closing one is the same as
    // its command's second press.
    connect(data_, &TDataWindow::closedByUser, this, [this] {
        ctx_.doc.dataShown = false;
        if (afterCommand_) afterCommand_();
    });
    connect(info_, &TReplayInfo::closedByUser, this, [this] {
        ctx_.doc.infoShown = false;
        if (afterCommand_) afterCommand_();
    });
    connect(info_, &TReplayInfo::editLapRequested, this, [this](int32_t index) {
        EditLap(ctx_, index);
        if (afterCommand_) afterCommand_();
    });
    connect(info_, &TReplayInfo::deleteLapRequested, this, [this](int32_t index) {
        DeleteLap(ctx_, index);
        if (afterCommand_) afterCommand_();
    });
}

TSideWindows::~TSideWindows() = default;

void TSideWindows::Setup(const TWindowRect& info, const TWindowRect& data) {
    info_->Setup(info);
    data_->Setup(data);
}

void TSideWindows::AddKeys(const QList<QAction*>& actions) {
    data_->addActions(actions);
    info_->addActions(actions);
}

void TSideWindows::LapAdded(const TReplay& lap) {
    data_->AddLapColumn(lap);
    info_->RefreshLapList();
}

void TSideWindows::LapEdited(int32_t index, const TReplay& lap) {
    data_->UpdateLapColumn(index, lap.driverName, lap.colour);
    info_->viewport()->update();
}

void TSideWindows::LapRemoved(int32_t index) {
    data_->RemoveLapColumn(index);
    info_->LapListChanged();
    Sync();
}

void TSideWindows::AllLapsRemoved() {
    data_->RemoveAllLapColumns();
    info_->LapListChanged();
    Sync();
}

void TSideWindows::ShowLapValues(double x, int kind) {
    data_->ShowLapValues(x, kind);
}

void TSideWindows::DataCommand() {
    TDocumentState& doc = ctx_.doc;
    doc.dragging = false;
    doc.dragEnabled = true;
    doc.dataShown = !doc.dataShown;
    if (doc.dataShown) {
        data_->show();
        // What the window shows from the start: the values at the cursor, if there is one.
        data_->ShowLapValues(kPointedAtCursor, ChannelPosition);
    } else {
        data_->hide();
    }
}

void TSideWindows::InfoCommand() {
    TDocumentState& doc = ctx_.doc;
    doc.dragging = false;
    doc.dragEnabled = true;
    doc.infoShown = !doc.infoShown;
    info_->setVisible(doc.infoShown);
}

bool TSideWindows::DataEnabled() const {
    return ctx_.doc.HasTrack();
}

bool TSideWindows::InfoEnabled() const {
    return !ctx_.doc.laps.Empty();
}

void TSideWindows::Sync() {
    TDocumentState& doc = ctx_.doc;
    if (doc.laps.Empty() && doc.infoShown) {
        doc.infoShown = false;
        info_->hide();
    }
}

TWindowRect TSideWindows::InfoPlacement() const {
    return info_->Placement();
}

TWindowRect TSideWindows::DataPlacement() const {
    return data_->Placement();
}
