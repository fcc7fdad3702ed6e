#include "app/TKorvaleWindow.h"

#include <QVBoxLayout>

#include "app/CommandIds.h"
#include "app/CommandTable.h"
#include "app/ShellPrompts.h"
#include "commands/CommandSettings.h"
#include "commands/DocumentCommands.h"
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

// Commands of views and exports that are not in this program yet: shown, never enabled.
bool NotYetAvailable(int id) {
    switch (id) {
    case cmd::Map:
    case cmd::PictureInPicture:
    case cmd::Data:
    case cmd::Info:
    case cmd::SpeedComparison:
    case cmd::Corners:
    case cmd::OtherMarkers:
    case cmd::ExportTextData:
    case cmd::ExportToReplay:
        return true;
    default:
        return false;
    }
}
}  // namespace

TKorvaleWindow::TKorvaleWindow(const AppPaths& paths, QWidget* parent)
    : QWidget(parent),
      paths_(paths),
      settings_(paths.settingsFile),
      prompts_(std::make_unique<TShellPrompts>(*this)),
      ctx_{doc_, tracks_, settings_, *prompts_} {
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
    ReadGraphAxes(settings_, doc_);
    doc_.TakeAxesSnapshot();
    for (size_t i = 0; i < kSideKeys.size(); ++i) {
        const std::string p = kSideKeys[i].prefix;
        const TWindowRect& d = kSideKeys[i].defaults;
        sidePlacement_[i] = {settings_.ReadInt("window", p + "x", d.x),
                             settings_.ReadInt("window", p + "y", d.y),
                             settings_.ReadInt("window", p + "w", d.w),
                             settings_.ReadInt("window", p + "h", d.h)};
    }
}

TKorvaleWindow::~TKorvaleWindow() {
    // The axes in use become those of new documents on the next start.
    WriteAxesOnDestroy(ctx_);
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
    if (settings_.ReadInt("admin", "first", 0) == 0) {
        settings_.WriteText("admin", "first", "1");
        emit helpRequested(topic::FirstRun);
    }
    emit stateChanged();
    return true;
}

bool TKorvaleWindow::HandlesCommand(int id) const {
    if (FindAxisCommand(id) != nullptr) return true;
    switch (id) {
    case cmd::FileNew:
    case cmd::FileOpen:
    case cmd::FileSave:
    case cmd::FileSaveAs:
    case cmd::ImportReplay:
    case cmd::ImportAverageLap:
    case cmd::EditInfo:
    case cmd::DeleteLap:
    case cmd::Graph:
    case cmd::FullSize:
    case cmd::ZoomOut:
        return true;
    default:
        return NotYetAvailable(id);
    }
}

TCommandEnabling TKorvaleWindow::CommandEnabling(int id) const {
    TCommandEnabling e;
    if (NotYetAvailable(id)) return e;
    if (const TAxisCommand* axis = FindAxisCommand(id)) {
        e.checkable = true;
        e.enabled = AxisCommandEnabled(doc_);
        e.checked = AxisCommandChecked(doc_, *axis);
        return e;
    }
    switch (id) {
    case cmd::FileNew:
    case cmd::FileOpen:
    case cmd::ImportReplay:
    case cmd::ImportAverageLap:
        e.enabled = true;
        break;
    case cmd::FileSave:
        e.enabled = SaveEnabled(doc_);
        break;
    case cmd::FileSaveAs:
        e.enabled = SaveAsEnabled(doc_);
        break;
    case cmd::EditInfo:
    case cmd::DeleteLap:
        e.enabled = LapCommandsEnabled(doc_);
        break;
    case cmd::Graph:
        e.enabled = true;
        e.checkable = true;
        e.checked = doc_.viewMode == ViewGraph;
        break;
    case cmd::FullSize:
        e.enabled = graph_->CanFullSize();
        break;
    case cmd::ZoomOut:
        e.enabled = graph_->CanZoomOut();
        break;
    default:
        break;
    }
    return e;
}

bool TKorvaleWindow::RunCommand(int id) {
    if (!HandlesCommand(id)) return false;
    // A command found disabled (a stale shortcut, a tool-bar click racing a change) is not run.
    if (!CommandEnabling(id).enabled) return true;
    if (const TAxisCommand* axis = FindAxisCommand(id)) {
        graph_->SetAxis(axis->kind, axis->channel);
    } else {
        switch (id) {
        case cmd::FileNew: NewDocument(ctx_); break;
        case cmd::FileOpen: OpenCommand(ctx_); break;
        case cmd::FileSave: SaveCommand(ctx_); break;
        case cmd::FileSaveAs: SaveAsCommand(ctx_); break;
        case cmd::ImportReplay: ImportReplayCommand(ctx_); break;
        case cmd::ImportAverageLap: ImportAverageLapCommand(ctx_); break;
        case cmd::EditInfo: EditInfoCommand(ctx_); break;
        case cmd::DeleteLap: DeleteLapCommand(ctx_); break;
        case cmd::Graph:
            doc_.viewMode = ViewGraph;
            doc_.repaintPending = true;
            graph_->FullRepaint();
            break;
        case cmd::FullSize: graph_->FullSize(); break;
        case cmd::ZoomOut: graph_->ZoomOut(); break;
        default: break;
        }
    }
    emit stateChanged();
    return true;
}

bool TKorvaleWindow::CanClose() { return ::CanClose(ctx_); }

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

void TKorvaleWindow::RepaintView() { graph_->FullRepaint(); }

TWindowRect TKorvaleWindow::SideWindowPlacement(int which) const {
    return sidePlacement_.at(static_cast<size_t>(which));
}
