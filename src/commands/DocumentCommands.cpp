#include "commands/DocumentCommands.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "commands/CommandSettings.h"
#include "commands/RecentFiles.h"
#include "document/KvlFile.h"
#include "platform/ProfileFile.h"
#include "platform/ReadFile.h"
#include "track/Geometry.h"
#include "track/TrackList.h"

namespace {

void ShowError(TCommandContext& ctx, const char* title, const std::string& text) {
    ctx.prompts.MessageBox(title, text, TMsgIcon::Exclamation, TMsgButtons::Ok);
}

void WriteRect(ProfileFile& settings, const char* prefix, const TWindowRect& r) {
    const std::string p = prefix;
    settings.WriteInt("window", p + "x", r.x);
    settings.WriteInt("window", p + "y", r.y);
    settings.WriteInt("window", p + "w", r.w);
    settings.WriteInt("window", p + "h", r.h);
}

// True when the stream starts with either document magic; leaves the stream where it was.
bool StartsWithKnownMagic(std::istream& in) {
    unsigned char b[4] = {};
    const bool got = static_cast<bool>(in.read(reinterpret_cast<char*>(b), 4));
    in.clear();
    in.seekg(0);
    if (!got) return false;
    const int32_t magic = static_cast<int32_t>(uint32_t(b[0]) | uint32_t(b[1]) << 8 |
                                               uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24);
    return magic == kKvlMagic || magic == kKvlMagicEarlier;
}

}  // namespace

void LoadStartupSettings(TCommandContext& ctx) {
    ctx.doc.SetAxes(ReadGraphAxes(ctx.settings));
    ctx.doc.TakeAxesSnapshot();
    ReadExportSettings(ctx.settings, ctx.session.exportSettings);
    LoadAssociations(ctx.settings, ctx.tracks, ctx.session.associations);
    ctx.session.assocCountAtLoad = static_cast<int32_t>(ctx.session.associations.size());
}

void ClearDocument(TCommandContext& ctx) {
    TViewState& view = ctx.view;
    ctx.doc.Clear();
    view.map.comparisonShown = false;
    view.map.segmentWinner.clear();
    // The windows leave the map as the Graph command does (keeping its scroll position and
    // fitting it afresh next time) before the mode is set here for everyone.
    ctx.doc.Raise({TChangeKind::ShowGraph});
    view.viewMode = ViewGraph;
    ctx.doc.UpdateCaption();
    view.graph.fullRange.x.min = 0;
    view.graph.fullRange.y.min = 0;
    view.graph.dragging = false;
    view.graph.dragEnabled = false;
    view.cornersShown = false;
    if (view.side.pipShown) {
        ctx.doc.Raise({TChangeKind::ClosePictureInPicture});
        view.side.pipShown = false;
    }
    RequestRepaint(ctx);
}

bool ReadDocument(TCommandContext& ctx, const std::string& path) {
    TDocument& doc = ctx.doc;
    TGraphViewState& graph = ctx.view.graph;
    ctx.prompts.SetWaitCursor(true);

    // The document is cleared as soon as the magic is known and before any lap of the file
    // is made: the clear restarts the lap counter, and laps made before it would share
    // serials with the laps imported next. Until then nothing of the document, its path or
    // the window changes (the clear itself shows the graph and ends any drag).
    KvlReadResult r;
    TReadFile file;  // regular files only, opened without blocking
    if (!file.Open(path)) {
        r = ReadKvlDocument(path, ctx.tracks);  // reports the file that cannot be opened
    } else {
        std::istream& in = file.Stream();
        if (StartsWithKnownMagic(in)) ClearDocument(ctx);
        r = ReadKvlDocument(in, ctx.tracks);
    }
    if (r.DocumentCleared()) {
        // What was read becomes both the axes and the snapshot Save compares against.
        TAxes axes = doc.axes(), saved = doc.savedAxes();
        if (r.hasXAxis) axes.x = saved.x = ChannelOfDocumentNumber(r.xAxis);
        if (r.hasYAxis) axes.y = saved.y = ChannelOfDocumentNumber(r.yAxis);
        if (r.hasY2Axis) axes.y2 = saved.y2 = ChannelOfDocumentNumber(r.y2Axis);
        doc.SetAxes(axes);
        doc.SetSavedAxes(saved);
        if (r.currentTrack >= 0 && r.currentTrack < ctx.tracks.Count())
            doc.OpenTrack(r.currentTrack);
        for (auto& lap : r.laps) doc.AddLap(std::move(lap));
    }
    if (!r.DocumentCleared()) {
        ctx.prompts.SetWaitCursor(false);
        ShowError(ctx, kKvlOpenErrorTitle, r.message());
        return false;
    }
    // The file replaced the document, wholly or up to a damaged record: from now on the
    // document belongs to it (Save writes there, the caption names it, the recent files
    // list it), and the window shows what was read, with ranges that fit it.
    doc.SetDocumentPath(path);
    PutOnRecentFiles(ctx.settings, path);
    doc.SetDocTitle(KvlDocTitle(path));
    doc.SetSeveralSources();
    doc.UpdateCaption();
    AnnounceLapsChanged(ctx);
    RequestRepaint(ctx);
    graph.dragEnabled = true;
    doc.SetDirty(r.ok &&
                 r.earlierVersion);  // an earlier-version file is converted by the next save
    ctx.prompts.SetWaitCursor(false);
    if (!r.ok) ShowError(ctx, kKvlOpenErrorTitle, r.message());
    return r.ok;
}

bool WriteDocument(TCommandContext& ctx, const std::string& path) {
    TDocument& doc = ctx.doc;
    const TTrackData* track = CurrentTrack(ctx);
    if (!track) {
        // A document names its track by id; without one it could not be read back.
        ShowError(ctx, kKvlSaveErrorTitle, kMsgNoTrackToSave);
        return false;
    }
    ctx.view.graph.dragging = false;
    ctx.view.graph.dragEnabled = true;
    ctx.prompts.SetWaitCursor(true);
    const std::vector<const TReplay*> laps = doc.laps().Pointers();
    KvlDocumentView view;
    view.xAxis = ChannelNumber(doc.axes().x);
    view.yAxis = ChannelNumber(doc.axes().y);
    view.y2Axis = ChannelNumber(doc.axes().y2);
    view.trackId = track->trackId;
    view.laps = &laps;
    const KvlWriteResult w = SafeSaveKvlDocument(path, view);
    ctx.prompts.SetWaitCursor(false);
    if (!w.ok) {
        ShowError(ctx, kKvlSaveErrorTitle, w.message());
        return false;
    }
    doc.SetDirty(false);
    doc.SetDocTitle(KvlDocTitle(path));
    doc.UpdateCaption();
    return true;
}

bool SaveQuestion(TCommandContext& ctx) {
    const TMsgAnswer a =
        ctx.prompts.MessageBox("Save File", "File has changed.\nSave before closing?",
                               TMsgIcon::Question, TMsgButtons::YesNoCancel);
    if (a == TMsgAnswer::Cancel) return false;
    if (a == TMsgAnswer::Yes) {
        // Going on after a save that did not happen would lose the changes the user just
        // asked to keep.
        return SaveCommand(ctx);
    }
    return true;
}

void NewDocument(TCommandContext& ctx) {
    if (ctx.doc.dirty() && !SaveQuestion(ctx)) return;
    // The title names the file the document belongs to, and a new document has none.
    ctx.doc.SetDocumentPath("");
    ctx.doc.SetDocTitle(std::nullopt);
    ClearDocument(ctx);
}

void OpenCommand(TCommandContext& ctx) {
    if (ctx.doc.dirty() && !SaveQuestion(ctx)) return;
    TFileDialogXfer xfer;
    xfer.filter = kDocumentFilter;
    xfer.defaultExt = "kvl";
    xfer.mustExist = true;
    xfer.initialPath = ReadDocumentDirectory(ctx.settings);
    // If No was answered above the document is still changed and the close check asks
    // again; Cancel there leaves everything as it was.
    if (!CanClose(ctx)) return;
    if (!ctx.prompts.OpenFileDialog(xfer)) return;
    OpenDocumentPath(ctx, xfer.path);
}

bool SaveCommand(TCommandContext& ctx) {
    if (ctx.doc.documentPath().empty()) return SaveAsCommand(ctx);
    const std::string path = ctx.doc.documentPath();
    const bool ok = WriteDocument(ctx, path);
    // Only a file that holds the document goes on the recent-files list.
    if (ok) PutOnRecentFiles(ctx.settings, path);
    return ok;
}

bool SaveAsCommand(TCommandContext& ctx) {
    if (!CurrentTrack(ctx)) {
        ShowError(ctx, kKvlSaveErrorTitle, kMsgNoTrackToSave);
        return false;
    }
    TFileDialogXfer xfer;
    xfer.filter = kDocumentFilter;
    xfer.defaultExt = "kvl";
    xfer.confirmOverwrite = true;
    xfer.initialPath = ReadDocumentDirectory(ctx.settings);
    if (!ctx.prompts.SaveFileDialog(xfer)) return false;
    ctx.doc.SetDocumentPath(xfer.path);
    const bool ok = WriteDocument(ctx, xfer.path);
    WriteDocumentDirectory(ctx.settings, xfer.path);
    if (ok) PutOnRecentFiles(ctx.settings, xfer.path);
    return ok;
}

bool OpenDocumentPath(TCommandContext& ctx, const std::string& path) {
    WriteDocumentDirectory(ctx.settings, path);
    return ReadDocument(ctx, path);
}

void RecentFileChosen(TCommandContext& ctx, const std::string& path) {
    if (ctx.doc.dirty() && !SaveQuestion(ctx)) return;
    std::error_code ec;
    // An entry whose file is gone would fail the same way every time: it leaves the list.
    if (!OpenDocumentPath(ctx, path) && !std::filesystem::exists(path, ec) && !ec)
        RemoveFromRecentFiles(ctx.settings, path);
}

void FilesDropped(TCommandContext& ctx, const std::vector<std::string>& paths) {
    if (paths.empty()) return;
    const std::string& path = paths.front();
    if (!CanClose(ctx)) return;
    ReadDocument(ctx, path);
}

bool CanClose(TCommandContext& ctx) {
    TSessionState& session = ctx.session;
    if (ctx.doc.dirty() && !SaveQuestion(ctx)) return false;
    WriteRect(ctx.settings, "inf", ctx.prompts.SideWindowRect(TSideWindow::LapList));
    WriteRect(ctx.settings, "pip", ctx.prompts.SideWindowRect(TSideWindow::PictureInPicture));
    WriteRect(ctx.settings, "dat", ctx.prompts.SideWindowRect(TSideWindow::DataWindow));
    WriteExportSettings(ctx.settings, session.exportSettings);
    if (static_cast<int32_t>(session.associations.size()) != session.assocCountAtLoad) {
        SaveAssociations(ctx.settings, ctx.tracks, session.associations);
        session.assocCountAtLoad = static_cast<int32_t>(session.associations.size());
    }
    return true;
}

void WriteAxesOnDestroy(TCommandContext& ctx) {
    WriteGraphAxes(ctx.settings, ctx.doc.axes());
}

bool ChangeAxes(TCommandContext& ctx, TelemetryChannel x, TelemetryChannel y, TelemetryChannel y2) {
    TAxes axes = ctx.doc.axes();
    auto store = [](TelemetryChannel& field, TelemetryChannel value, TelemetryChannel highest) {
        if (ChannelFromNumber(ChannelNumber(value), highest)) field = value;
    };
    store(axes.x, x, TelemetryChannel::Position);
    store(axes.y, y, TelemetryChannel::SlipAngle);
    store(axes.y2, y2, TelemetryChannel::None);
    if (!ctx.doc.SetAxes(axes)) return false;
    if (ctx.doc.laps().Empty()) {
        // Clearing takes a new saved-axes snapshot; the axis change must still count as a
        // change Save can write, so the snapshot from before is kept.
        const TAxes snapshot = ctx.doc.savedAxes();
        ClearDocument(ctx);
        ctx.doc.SetSavedAxes(snapshot);
    } else {
        AnnounceLapsChanged(ctx);
    }
    return true;
}

bool SaveEnabled(const TDocument& doc) {
    return doc.dirty() || doc.AxesChanged();
}

bool SaveAsEnabled(const TDocument& doc) {
    return doc.HasTrack();
}
