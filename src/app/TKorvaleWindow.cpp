#include "app/TKorvaleWindow.h"

#include <QStackedLayout>

#include "app/CommandTable.h"
#include "app/DockedWindows.h"
#include "app/ExportImageCommand.h"
#include "app/MapWindows.h"
#include "app/ShellPrompts.h"
#include "app/SideWindows.h"
#include "app/WorkspaceCommands.h"
#include "commands/CommandIds.h"
#include "commands/CommandSettings.h"
#include "commands/DocumentCommands.h"
#include "commands/ExportCommands.h"
#include "commands/ImportCommands.h"
#include "commands/LapAnalysisCommands.h"
#include "commands/LapEditing.h"
#include "commands/LapVisibility.h"
#include "commands/MapColour.h"
#include "track/TrackList.h"
#include "views/graph/GraphCommands.h"
#include "views/graph/GraphRanges.h"
#include "views/graph/TGraphView.h"
#include "views/map/TTrackMapView.h"
#include "views/windows/TGGPlotWindow.h"
#include "views/windows/TPipWindow.h"
#include "views/windows/TSectorsWindow.h"

namespace {
// The side windows' settings keys and default placements, in TSideWindow order.
struct SidePlacementKey {
    const char* prefix;
    TWindowRect defaults;
};
constexpr std::array<SidePlacementKey, 3> kSideKeys = {{
    {"inf", {0, 0, 160, 160}},
    {"pip", {0, 0, 160, 160}},
    {"dat", {160, 0, 160, 160}},
}};

// A width no settings file holds: the key is missing.
constexpr int kNotStored = -2147483647;

}  // namespace

TKorvaleWindow::TKorvaleWindow(const AppPaths& paths, QWidget* parent)
    : QWidget(parent),
      paths_(paths),
      settings_(paths.settingsFile),
      prompts_(std::make_unique<TShellPrompts>(*this)),
      ctx_{doc_, view_, session_, tracks_, settings_, *prompts_} {
    // Settings change many at a time (a start, a close, a command): written together, once.
    settings_.SetDeferred(true);
    doc_.Subscribe(*this);
    setObjectName(QStringLiteral("korvaleWindow"));
    setMinimumSize(320, 240);
    views_ = new QStackedLayout(this);
    views_->setContentsMargins(0, 0, 0, 0);
    graph_ = new TGraphView(ctx_, this);
    graph_->setObjectName(QStringLiteral("graphView"));
    views_->addWidget(graph_);
    maps_ = new TMapWindows(ctx_, *graph_, *views_, *this);
    views_->setCurrentWidget(graph_);
    connect(graph_, &TGraphView::statusText, this, &TKorvaleWindow::SetStatus);
    connect(graph_, &TGraphView::stateChanged, this, &TKorvaleWindow::stateChanged);
    connect(maps_, &TMapWindows::statusText, this, &TKorvaleWindow::SetStatus);
    connect(maps_, &TMapWindows::stateChanged, this, &TKorvaleWindow::stateChanged);
    // The data window's values come from the graph, the map and the picture-in-picture
    // window.
    side_ = std::make_unique<TSideWindows>(ctx_, this, [this] { emit stateChanged(); });
    connect(graph_, &TGraphView::showLapValues, this, &TKorvaleWindow::ShowLapValues);
    connect(maps_, &TMapWindows::showLapValues, this, &TKorvaleWindow::ShowLapValues);
    connect(side_.get(), &TSideWindows::lapHiddenRequested, this, &TKorvaleWindow::SetLapHidden);
    connect(side_.get(), &TSideWindows::lapSelected, this,
            [this] { maps_->ComparedLapsChanged(); });
    prompts_->SetHelpHandler([this](int topic) { emit helpRequested(topic); });

    // The document's fields as a new window has them: the axes of the last run, and the
    // snapshot Save compares them with.
    doc_.SetAxes(ReadGraphAxes(settings_));
    doc_.TakeAxesSnapshot();
    view_.graph.legendShown = settings_.ReadInt("view", "legend", 0) != 0;
    ReadWorkspaceSettings(settings_, view_);
    for (size_t i = 0; i < kSideKeys.size(); ++i) {
        const std::string p = kSideKeys[i].prefix;
        const TWindowRect& d = kSideKeys[i].defaults;
        sidePlacement_[i] = {
            settings_.ReadInt("window", p + "x", d.x), settings_.ReadInt("window", p + "y", d.y),
            settings_.ReadInt("window", p + "w", d.w), settings_.ReadInt("window", p + "h", d.h)};
        // The lap list and the data window fit their content when the settings hold no
        // placement, or only the default one that every close writes for a window never
        // opened; any other placement is the user's and is kept exactly.
        const TWindowRect& r = sidePlacement_[i];
        const bool unplaced = settings_.ReadInt("window", p + "w", kNotStored) == kNotStored ||
                              (r.x == d.x && r.y == d.y && r.w == d.w && r.h == d.h);
        if (i != static_cast<size_t>(TSideWindow::PictureInPicture) && unplaced)
            sidePlacement_[i].w = 0;
    }
    view_.analysis.deltaShown = deltaShownAtStart_ = ReadTimeDeltaSetting(settings_);
    view_.analysis.deltaMode = ReadDeltaModeSetting(settings_);
    view_.map.colour = ReadMapColourSetting(settings_);
    sectors_ = std::make_unique<TSectorsWindow>(ctx_, this);
    connect(sectors_.get(), &TSectorsWindow::sectorChosen, this, &TKorvaleWindow::ZoomToSector);
    connect(sectors_.get(), &TSectorsWindow::closed, this, &TKorvaleWindow::SectorsClosed);
    gg_ = std::make_unique<TGGPlotWindow>(ctx_, this);
    connect(gg_.get(), &TGGPlotWindow::closed, this, [this] {
        view_.side.ggShown = false;
        emit stateChanged();
    });
    connect(graph_, &TGraphView::graphChanged, gg_.get(), &TGGPlotWindow::Refresh);
    connect(graph_, &TGraphView::cursorChanged, gg_.get(), &TGGPlotWindow::CursorMoved);
    docks_ = new TDockedWindows(*this);
    connect(this, &TKorvaleWindow::stateChanged, docks_, &TDockedWindows::Sync);
    maps_->Setup(sidePlacement_[static_cast<size_t>(TSideWindow::PictureInPicture)]);
    side_->Setup(sidePlacement_[static_cast<size_t>(TSideWindow::LapList)],
                 sidePlacement_[static_cast<size_t>(TSideWindow::DataWindow)]);
}

TKorvaleWindow::~TKorvaleWindow() {
    // The axes in use become those of new documents on the next start.
    WriteAxesOnDestroy(ctx_);
    doc_.Unsubscribe(*this);
    // The map and the picture-in-picture window read the document, which goes before the
    // child widgets would.
    delete maps_;
    maps_ = nullptr;
}

bool TKorvaleWindow::Setup() {
    const TrackLoadResult loaded = LoadTrackData(paths_.trackData, settings_, tracks_);
    if (!loaded.ok) {
        prompts_->MessageBox(kTrackDataFatalTitle, loaded.message, TMsgIcon::Stop, TMsgButtons::Ok);
        return false;
    }
    if (!loaded.versionMessage.empty())
        prompts_->MessageBox(kTrackDataUpdateTitle, loaded.versionMessage, TMsgIcon::Information,
                             TMsgButtons::Ok);
    // The associations name their tracks, so they are read again now that the tracks exist.
    LoadStartupSettings(ctx_);
    // A run without a user (a screenshot) leaves the welcome for the first real start.
    if (!prompts_->nonInteractive() && settings_.ReadInt("admin", "first", 0) == 0) {
        settings_.WriteText("admin", "first", "1");
        emit helpRequested(topic::FirstRun);
    }
    // The docks need the frame, which exists by now.
    if (view_.side.docked) docks_->SetDocked(true);
    emit stateChanged();
    return true;
}

namespace {

TCommandEnabling Enabled(bool on) {
    return {on, false, false};
}
TCommandEnabling Always(const TKorvaleWindow&) {
    return Enabled(true);
}

// View > Colour Map By: one radio item per colouring.
template <TMapColour colour>
void ColourMap(TKorvaleWindow& w) {
    w.maps().ColourMapCommand(colour);
}
template <TMapColour colour>
TCommandEnabling ColourMapEnabling(const TKorvaleWindow& w) {
    return {w.maps().ColourMapEnabled(colour), true, w.view().map.colour == colour};
}

// View > Delta Strip: the graph keeps what its strip draws.
template <int id>
void DeltaMode(TKorvaleWindow& w) {
    w.graph()->RunCommand(id);
    w.sideWindows().RefreshDelta();
}

template <TDeltaMode mode>
TCommandEnabling DeltaModeEnabling(const TKorvaleWindow& w) {
    return {w.doc().HasTrack(), true, w.view().analysis.deltaMode == mode};
}

const std::vector<TWindowCommand>& WindowCommands() {
    static const std::vector<TWindowCommand> commands = {
        {cmd::FileNew, [](TKorvaleWindow& w) { NewDocument(w.context()); }, Always},
        {cmd::FileOpen, [](TKorvaleWindow& w) { OpenCommand(w.context()); }, Always},
        {cmd::FileSave, [](TKorvaleWindow& w) { SaveCommand(w.context()); },
         [](const TKorvaleWindow& w) { return Enabled(SaveEnabled(w.doc())); }},
        {cmd::FileSaveAs, [](TKorvaleWindow& w) { SaveAsCommand(w.context()); },
         [](const TKorvaleWindow& w) { return Enabled(SaveAsEnabled(w.doc())); }},
        {cmd::ImportReplay, [](TKorvaleWindow& w) { ImportReplayCommand(w.context()); }, Always},
        {cmd::ImportAverageLap, [](TKorvaleWindow& w) { ImportAverageLapCommand(w.context()); },
         Always},
        {cmd::ExportTextData, [](TKorvaleWindow& w) { ExportTextDataCommand(w.context()); },
         [](const TKorvaleWindow& w) { return Enabled(ExportEnabled(w.doc())); }},
        {cmd::ExportToReplay, [](TKorvaleWindow& w) { ExportToReplayCommand(w.context()); },
         [](const TKorvaleWindow& w) { return Enabled(ExportEnabled(w.doc())); }},
        {cmd::ExportImage,
         [](TKorvaleWindow& w) {
             if (w.maps().InMap()) {
                 const TTrackMapView& map = *w.maps().map();
                 const TMapPicture picture{map.State(), map.ClientSize(), &map.Lines()};
                 ExportImageCommand(w.context(), TImageView::Map, picture.client, map.logicalDpiY(),
                                    &picture);
             } else {
                 ExportImageCommand(w.context(), TImageView::Graph, w.graph()->size(),
                                    w.graph()->logicalDpiY());
             }
         },
         [](const TKorvaleWindow& w) { return Enabled(ExportImageEnabled(w.doc())); }},
        {cmd::EditInfo, [](TKorvaleWindow& w) { EditInfoCommand(w.context()); },
         [](const TKorvaleWindow& w) { return Enabled(LapCommandsEnabled(w.doc())); }},
        {cmd::DeleteLap, [](TKorvaleWindow& w) { DeleteLapCommand(w.context()); },
         [](const TKorvaleWindow& w) { return Enabled(LapCommandsEnabled(w.doc())); }},
        {cmd::Graph, [](TKorvaleWindow& w) { w.maps().GraphCommand(); },
         [](const TKorvaleWindow& w) {
             return TCommandEnabling{true, true, w.view().viewMode == ViewGraph};
         }},
        {cmd::Map, [](TKorvaleWindow& w) { w.maps().MapCommand(); },
         [](const TKorvaleWindow& w) {
             return TCommandEnabling{w.maps().MapEnabled(), true, w.view().viewMode == ViewMap};
         }},
        {cmd::PictureInPicture, [](TKorvaleWindow& w) { w.maps().PipCommand(); },
         [](const TKorvaleWindow& w) {
             return TCommandEnabling{w.maps().PipEnabled(), true, w.view().side.pipShown};
         }},
        {cmd::FullSize,
         [](TKorvaleWindow& w) {
             if (w.maps().InMap())
                 w.maps().FullSize();
             else
                 w.graph()->FullSize();
         },
         [](const TKorvaleWindow& w) {
             return Enabled(w.maps().InMap() ? w.maps().CanFullSize() : w.graph()->CanFullSize());
         }},
        {cmd::ZoomOut,
         [](TKorvaleWindow& w) {
             if (w.maps().InMap())
                 w.maps().ZoomOut();
             else
                 w.graph()->ZoomOut();
         },
         [](const TKorvaleWindow& w) {
             return Enabled(w.maps().InMap() ? w.maps().CanZoomOut() : w.graph()->CanZoomOut());
         }},
        {cmd::Corners, [](TKorvaleWindow& w) { w.maps().CornersCommand(); },
         [](const TKorvaleWindow& w) {
             const bool on = w.maps().CornersEnabled();
             return TCommandEnabling{on, true, on && w.view().cornersShown};
         }},
        {cmd::SpeedComparison, [](TKorvaleWindow& w) { w.maps().SpeedComparisonCommand(); },
         [](const TKorvaleWindow& w) {
             return TCommandEnabling{w.maps().SpeedComparisonEnabled(), true,
                                     w.view().map.comparisonShown};
         }},
        {cmd::OtherMarkers, [](TKorvaleWindow& w) { w.maps().OtherMarkersCommand(); },
         [](const TKorvaleWindow& w) {
             return TCommandEnabling{w.maps().OtherMarkersEnabled(), true,
                                     w.view().map.otherMarkersShown};
         }},
        {cmd::ColourMapLaps, ColourMap<TMapColour::Laps>, ColourMapEnabling<TMapColour::Laps>},
        {cmd::ColourMapSpeed, ColourMap<TMapColour::Speed>, ColourMapEnabling<TMapColour::Speed>},
        {cmd::ColourMapLine, ColourMap<TMapColour::Line>, ColourMapEnabling<TMapColour::Line>},
        {cmd::ColourMapInlineForce, ColourMap<TMapColour::InlineForce>,
         ColourMapEnabling<TMapColour::InlineForce>},
        {cmd::ColourMapLateralForce, ColourMap<TMapColour::LateralForce>,
         ColourMapEnabling<TMapColour::LateralForce>},
        {cmd::ColourMapSlipAngle, ColourMap<TMapColour::SlipAngle>,
         ColourMapEnabling<TMapColour::SlipAngle>},
        {cmd::ColourMapTimeDelta, ColourMap<TMapColour::TimeDelta>,
         ColourMapEnabling<TMapColour::TimeDelta>},
        {cmd::Info, [](TKorvaleWindow& w) { w.sideWindows().InfoCommand(); },
         [](const TKorvaleWindow& w) {
             const bool on = w.sideWindows().InfoEnabled();
             return TCommandEnabling{on, true, on && w.view().side.infoShown};
         }},
        {cmd::Data, [](TKorvaleWindow& w) { w.sideWindows().DataCommand(); },
         [](const TKorvaleWindow& w) {
             return TCommandEnabling{w.sideWindows().DataEnabled(), true, w.view().side.dataShown};
         }},
        {cmd::SetReferenceLap,
         [](TKorvaleWindow& w) {
             SetReferenceLapCommand(w.context());
             w.sideWindows().RefreshDelta();
             w.sectorsWindow()->Refresh();
             w.maps().ComparedLapsChanged();
         },
         [](const TKorvaleWindow& w) { return Enabled(LapCommandsEnabled(w.doc())); }},
        {cmd::TimeDelta,
         [](TKorvaleWindow& w) {
             TViewState& view = w.view();
             view.analysis.deltaShown = !view.analysis.deltaShown;
             // The graph's height changes under a drag in progress.
             view.graph.dragging = false;
             view.graph.dragEnabled = true;
             w.graph()->FullRepaint();
             w.sideWindows().RefreshDelta();
         },
         [](const TKorvaleWindow& w) {
             return TCommandEnabling{
                 w.doc().HasTrack() && w.doc().axes().x == TelemetryChannel::Position, true,
                 w.view().analysis.deltaShown};
         }},
        {cmd::DeltaRunning, DeltaMode<cmd::DeltaRunning>, DeltaModeEnabling<TDeltaMode::Running>},
        {cmd::DeltaFromLeftEdge, DeltaMode<cmd::DeltaFromLeftEdge>,
         DeltaModeEnabling<TDeltaMode::FromLeftEdge>},
        {cmd::DeltaRate, DeltaMode<cmd::DeltaRate>, DeltaModeEnabling<TDeltaMode::Rate>},
        {cmd::Sectors, [](TKorvaleWindow& w) { w.ToggleSectorsWindow(); },
         [](const TKorvaleWindow& w) {
             return TCommandEnabling{w.doc().HasTrack(), true, w.view().analysis.sectorsShown};
         }},
        {cmd::ShowAllLaps, [](TKorvaleWindow& w) { w.ShowAllLapsCommand(); },
         [](const TKorvaleWindow& w) { return Enabled(AnyLapHidden(w.doc(), w.view())); }},
        {cmd::Legend, [](TKorvaleWindow& w) { w.ToggleLegend(); },
         [](const TKorvaleWindow& w) {
             return TCommandEnabling{AxisCommandEnabled(w.view()), true,
                                     w.view().graph.legendShown};
         }},
    };
    return commands;
}

const TWindowCommand* FindWindowCommand(int id) {
    for (const TWindowCommand& c : WindowCommands())
        if (c.id == id) return &c;
    for (const TWindowCommand& c : WorkspaceCommands())
        if (c.id == id) return &c;
    return nullptr;
}
}  // namespace

bool TKorvaleWindow::HandlesCommand(int id) const {
    return FindWindowCommand(id) != nullptr || FindAxisCommand(id) != nullptr;
}

TCommandEnabling TKorvaleWindow::CommandEnabling(int id) const {
    if (const TWindowCommand* c = FindWindowCommand(id)) return c->enabler(*this);
    if (const TAxisCommand* axis = FindAxisCommand(id))
        return {AxisCommandEnabled(view_), true, AxisCommandChecked(doc_, *axis)};
    return {};
}

bool TKorvaleWindow::RunCommand(int id) {
    if (!HandlesCommand(id)) return false;
    // A command found disabled (a stale shortcut, a tool-bar click racing a change) is not run.
    if (!CommandEnabling(id).enabled) return true;
    if (const TWindowCommand* c = FindWindowCommand(id)) {
        c->run(*this);
    } else if (const TAxisCommand* axis = FindAxisCommand(id)) {
        graph_->SetAxis(axis->kind, axis->channel);
    }
    maps_->Sync();
    side_->CloseEmptyList();
    // What a command changed in the settings (a recent file, an association, a choice) is
    // kept even if the program were killed next; one write for all of it.
    settings_.Flush();
    emit stateChanged();
    return true;
}

bool TKorvaleWindow::CanClose() {
    if (!::CanClose(ctx_)) return false;
    if (view_.analysis.deltaShown != deltaShownAtStart_) {
        WriteTimeDeltaSetting(settings_, view_.analysis.deltaShown);
        deltaShownAtStart_ = view_.analysis.deltaShown;
    }
    sectors_->SavePlacement();
    gg_->SavePlacement();
    docks_->SaveState();
    settings_.Flush();  // the placements and choices of the session, in one write
    return true;
}

void TKorvaleWindow::OpenStartupDocument(const std::string& path) {
    if (path.empty()) return;
    OpenDocumentPath(ctx_, path);
    side_->CloseEmptyList();
    emit stateChanged();
}

void TKorvaleWindow::RecentFileChosen(const std::string& path) {
    ::RecentFileChosen(ctx_, path);
    side_->CloseEmptyList();
    settings_.Flush();
    emit stateChanged();
}

void TKorvaleWindow::FilesDropped(const std::vector<std::string>& paths) {
    ::FilesDropped(ctx_, paths);
    side_->CloseEmptyList();
    emit stateChanged();
}

void TKorvaleWindow::Changed(const TDocumentChange& change) {
    switch (change.kind) {
        case TChangeKind::CaptionChanged:
            SetCaptionText(QString::fromStdString(change.caption));
            break;
        case TChangeKind::LapsChanged:
            LapsChanged();
            break;
        case TChangeKind::Repaint:
            RepaintView();
            break;
        case TChangeKind::ShowGraph:
            // As the Graph command: the map hands its region to the picture-in-picture
            // window and keeps its scroll position; the next Map command fits afresh.
            maps_->SwitchToGraphForClear();
            RepaintView();
            break;
        // Hidden laps are named by serial, and serials start again once the laps are gone.
        case TChangeKind::LapRemoved:
            PruneHiddenLaps(view_, doc_);
            break;
        case TChangeKind::AllLapsRemoved:
            ForgetReferenceLap(view_);
            ShowAllLaps(view_);
            break;
        // The lap rows belong to the data window and the lap list (TSideWindows), the map
        // scale to the picture-in-picture window: they subscribe for these themselves. The
        // enablers run after every command anyway.
        case TChangeKind::LapAdded:
        case TChangeKind::LapEdited:
        case TChangeKind::TrackOpened:
        case TChangeKind::AxesChanged:
        case TChangeKind::ClosePictureInPicture:
            break;
    }
}

void TKorvaleWindow::SetCaptionText(const QString& caption) {
    caption_ = caption;
    emit captionChanged(caption);
}

void TKorvaleWindow::SetStatus(const QString& text) {
    status_ = text;
    emit statusChanged(text);
}

void TKorvaleWindow::LapsChanged() {
    graph_->ResetRanges();
    graph_->FullRepaint();
    emit stateChanged();
}

void TKorvaleWindow::SetLapHidden(int32_t serial, bool hidden) {
    if (doc_.laps().FindBySerial(serial) == nullptr) return;
    if (::SetLapHidden(view_, serial, hidden)) LapVisibilityChanged();
}

void TKorvaleWindow::ShowAllLapsCommand() {
    if (ShowAllLaps(view_)) LapVisibilityChanged();
}

void TKorvaleWindow::LapVisibilityChanged() {
    // As after a deletion: the ranges follow the laps shown, and every view repaints; but a
    // zoom the laps shown still reach is kept, since no lap left the document.
    const TAxisRanges zoom = view_.graph.viewRange, full = view_.graph.fullRange;
    graph_->ResetRanges();
    KeepZoomWithin(view_.graph, zoom, full);
    graph_->FullRepaint();
    maps_->Repaint();
    side_->LapVisibilityChanged();
    gg_->Refresh();
    emit stateChanged();
}

void TKorvaleWindow::ToggleLegend() {
    view_.graph.legendShown = !view_.graph.legendShown;
    // Written when chosen, so that a user who never turns it on keeps the settings file as
    // it was.
    settings_.WriteInt("view", "legend", view_.graph.legendShown ? 1 : 0);
    graph_->FullRepaint();
}

void TKorvaleWindow::ShowLapValues(double x, TelemetryChannel kind) {
    if (side_) side_->ShowLapValues(x, kind);
    // Every move of the cursor comes with the values pointed at.
    if (gg_) gg_->CursorMoved();
}

void TKorvaleWindow::ToggleGGPlot() {
    view_.side.ggShown = !view_.side.ggShown;
    gg_->setVisible(view_.side.ggShown);
}

void TKorvaleWindow::RepaintView() {
    graph_->FullRepaint();
}

TWindowRect TKorvaleWindow::SideWindowPlacement(int which) const {
    // A docked window keeps the placement it had as a floating window.
    TWindowRect floating;
    if (docks_ != nullptr && docks_->FloatingPlacement(static_cast<TSideWindow>(which), floating))
        return floating;
    // The windows that exist report where they are.
    if (which == static_cast<int>(TSideWindow::PictureInPicture)) return maps_->PipPlacement();
    if (which == static_cast<int>(TSideWindow::LapList)) return side_->InfoPlacement();
    if (which == static_cast<int>(TSideWindow::DataWindow)) return side_->DataPlacement();
    return sidePlacement_.at(static_cast<size_t>(which));
}

void TKorvaleWindow::ToggleSectorsWindow() {
    view_.analysis.sectorsShown = !view_.analysis.sectorsShown;
    sectors_->setVisible(view_.analysis.sectorsShown);
}

void TKorvaleWindow::SectorsClosed() {
    view_.analysis.sectorsShown = false;
    emit stateChanged();
}

void TKorvaleWindow::ZoomToSector(double fromFeet, double toFeet) {
    if (!doc_.HasTrack() || view_.viewMode != ViewGraph) return;
    if (doc_.axes().x != TelemetryChannel::Position)
        graph_->SetAxis(TAxisKind::X, TelemetryChannel::Position);
    graph_->ShowXRange(fromFeet, toFeet);
    emit stateChanged();
}

QWidget* TKorvaleWindow::pip() const {
    return maps_->pip();
}
