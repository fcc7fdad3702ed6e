#include "app/TKorvaleWindow.h"

#include <QVBoxLayout>

#include "app/CommandTable.h"
#include "app/ShellPrompts.h"
#include "commands/CommandIds.h"
#include "commands/CommandSettings.h"
#include "commands/DocumentCommands.h"
#include "commands/ExportCommands.h"
#include "commands/ImportCommands.h"
#include "commands/LapEditing.h"
#include "track/TrackList.h"
#include "views/graph/GraphCommands.h"
#include "views/graph/TGraphView.h"

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

}  // namespace

TKorvaleWindow::TKorvaleWindow(const AppPaths& paths, QWidget* parent)
    : QWidget(parent),
      paths_(paths),
      settings_(paths.settingsFile),
      prompts_(std::make_unique<TShellPrompts>(*this)),
      ctx_{doc_, view_, session_, tracks_, settings_, *prompts_} {
    doc_.Subscribe(*this);
    setObjectName(QStringLiteral("korvaleWindow"));
    setMinimumSize(320, 240);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    graph_ = new TGraphView(ctx_, this);
    graph_->setObjectName(QStringLiteral("graphView"));
    layout->addWidget(graph_);
    connect(graph_, &TGraphView::statusText, this, &TKorvaleWindow::SetStatus);
    connect(graph_, &TGraphView::stateChanged, this, &TKorvaleWindow::stateChanged);
    prompts_->SetHelpHandler([this](int topic) { emit helpRequested(topic); });

    // The document's fields as a new window has them: the axes of the last run, and the
    // snapshot Save compares them with.
    doc_.SetAxes(ReadGraphAxes(settings_));
    doc_.TakeAxesSnapshot();
    for (size_t i = 0; i < kSideKeys.size(); ++i) {
        const std::string p = kSideKeys[i].prefix;
        const TWindowRect& d = kSideKeys[i].defaults;
        sidePlacement_[i] = {
            settings_.ReadInt("window", p + "x", d.x), settings_.ReadInt("window", p + "y", d.y),
            settings_.ReadInt("window", p + "w", d.w), settings_.ReadInt("window", p + "h", d.h)};
    }
}

TKorvaleWindow::~TKorvaleWindow() {
    // The axes in use become those of new documents on the next start.
    WriteAxesOnDestroy(ctx_);
    doc_.Unsubscribe(*this);
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
    emit stateChanged();
    return true;
}

namespace {
// One handler and one enabler per command of this window.
struct TWindowCommand {
    int id;
    void (*run)(TKorvaleWindow&);
    TCommandEnabling (*enabler)(const TKorvaleWindow&);
};

TCommandEnabling Enabled(bool on) {
    return {on, false, false};
}
TCommandEnabling Always(const TKorvaleWindow&) {
    return Enabled(true);
}
// Views and exports this program does not have yet: shown, never enabled.
TCommandEnabling NotYetAvailable(const TKorvaleWindow&) {
    return Enabled(false);
}
void Nothing(TKorvaleWindow&) {}

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
        {cmd::EditInfo, [](TKorvaleWindow& w) { EditInfoCommand(w.context()); },
         [](const TKorvaleWindow& w) { return Enabled(LapCommandsEnabled(w.doc())); }},
        {cmd::DeleteLap, [](TKorvaleWindow& w) { DeleteLapCommand(w.context()); },
         [](const TKorvaleWindow& w) { return Enabled(LapCommandsEnabled(w.doc())); }},
        {cmd::Graph,
         [](TKorvaleWindow& w) {
             w.view().viewMode = ViewGraph;
             w.graph()->FullRepaint();
         },
         [](const TKorvaleWindow& w) {
             return TCommandEnabling{true, true, w.view().viewMode == ViewGraph};
         }},
        {cmd::Map, Nothing, NotYetAvailable},
        {cmd::PictureInPicture, Nothing, NotYetAvailable},
        {cmd::FullSize, [](TKorvaleWindow& w) { w.graph()->FullSize(); },
         [](const TKorvaleWindow& w) { return Enabled(w.graph()->CanFullSize()); }},
        {cmd::ZoomOut, [](TKorvaleWindow& w) { w.graph()->ZoomOut(); },
         [](const TKorvaleWindow& w) { return Enabled(w.graph()->CanZoomOut()); }},
        {cmd::Corners, Nothing, NotYetAvailable},
        {cmd::SpeedComparison, Nothing, NotYetAvailable},
        {cmd::OtherMarkers, Nothing, NotYetAvailable},
        {cmd::Info, Nothing, NotYetAvailable},
        {cmd::Data, Nothing, NotYetAvailable},
    };
    return commands;
}

const TWindowCommand* FindWindowCommand(int id) {
    for (const TWindowCommand& c : WindowCommands())
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
    emit stateChanged();
    return true;
}

bool TKorvaleWindow::CanClose() {
    return ::CanClose(ctx_);
}

void TKorvaleWindow::OpenStartupDocument(const std::string& path) {
    if (path.empty()) return;
    OpenDocumentPath(ctx_, path);
    emit stateChanged();
}

void TKorvaleWindow::RecentFileChosen(const std::string& path) {
    ::RecentFileChosen(ctx_, path);
    emit stateChanged();
}

void TKorvaleWindow::FilesDropped(const std::vector<std::string>& paths) {
    ::FilesDropped(ctx_, paths);
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
            view_.viewMode = ViewGraph;
            RepaintView();
            break;
        // The lap rows belong to the data window and the lap list, the map scale to the
        // picture-in-picture window: they subscribe for these themselves. The enablers run
        // after every command anyway.
        case TChangeKind::LapAdded:
        case TChangeKind::LapEdited:
        case TChangeKind::LapRemoved:
        case TChangeKind::AllLapsRemoved:
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

void TKorvaleWindow::RepaintView() {
    graph_->FullRepaint();
}

TWindowRect TKorvaleWindow::SideWindowPlacement(int which) const {
    return sidePlacement_.at(static_cast<size_t>(which));
}
