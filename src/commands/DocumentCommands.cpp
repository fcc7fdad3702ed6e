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
    ReadGraphAxes(ctx.settings, ctx.doc);
    ctx.doc.TakeAxesSnapshot();
    ReadExportSettings(ctx.settings, ctx.doc.exportSettings);
    LoadAssociations(ctx.settings, ctx.tracks, ctx.doc.associations);
    ctx.doc.assocCountAtLoad = static_cast<int32_t>(ctx.doc.associations.size());
}

std::string CaptionText(const TDocumentState& doc, const TTrackList& tracks) {
    if (doc.currentTrack < 0 || doc.currentTrack >= tracks.Count()) return "Korvale";
    const std::string& track = tracks.At(doc.currentTrack).name;
    std::string caption = "Korvale";
    if (doc.docTitle) caption += " - " + *doc.docTitle;
    caption += " [" + track;
    if (doc.sourceReplay.IsOne()) caption += ", " + doc.sourceReplay.Name();
    caption += "]";
    return caption;
}

void UpdateCaption(TCommandContext& ctx) {
    ctx.prompts.SetCaption(CaptionText(ctx.doc, ctx.tracks));
}

void ClearDocument(TCommandContext& ctx) {
    TDocumentState& doc = ctx.doc;
    doc.laps.Clear();  // the lap counter restarts only when laps were held
    doc.sourceReplay.Clear();
    doc.comparisonShown = false;
    doc.segmentWinner.clear();
    if (doc.currentTrack >= 0 && doc.currentTrack < ctx.tracks.Count())
        ReleaseGeometry(ctx.tracks.At(doc.currentTrack));
    doc.currentTrack = -1;
    ctx.prompts.SwitchToGraph();
    doc.viewMode = ViewGraph;
    doc.mapScale = 0;
    UpdateCaption(ctx);
    doc.fullRange[0] = 0;
    doc.fullRange[2] = 0;
    doc.dirty = false;
    doc.dragging = false;
    doc.dragEnabled = false;
    doc.cornersShown = false;
    doc.TakeAxesSnapshot();
    if (doc.pipShown) {
        ctx.prompts.ClosePictureInPicture();
        doc.pipShown = false;
    }
    ctx.prompts.AllLapsRemoved();
    doc.repaintPending = true;
    ctx.prompts.Repaint();
}

bool ReadDocument(TCommandContext& ctx, const std::string& path) {
    TDocumentState& doc = ctx.doc;
    ctx.prompts.SetWaitCursor(true);
    doc.viewMode = ViewGraph;
    doc.dragging = false;
    doc.dragEnabled = false;

    // The document is cleared as soon as the magic is known and before any lap of the file
    // is made: the clear restarts the lap counter, and laps made before it would share
    // serials with the laps imported next.
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
        if (r.hasXAxis) doc.xAxis = doc.savedAxes[0] = r.xAxis;
        if (r.hasYAxis) doc.yAxis = doc.savedAxes[1] = r.yAxis;
        if (r.hasY2Axis) doc.y2Axis = doc.savedAxes[2] = r.y2Axis;
        if (r.currentTrack >= 0 && r.currentTrack < ctx.tracks.Count()) {
            doc.currentTrack = r.currentTrack;
            TTrackData& track = ctx.tracks.At(r.currentTrack);
            PrepareGeometry(track);
            ctx.prompts.TrackOpened(track.hasGeometry());
        }
        for (auto& lap : r.laps) {
            const TReplay& added = *lap;
            doc.laps.Add(std::move(lap));
            ctx.prompts.LapAdded(added);
        }
    }
    if (!r.ok) {
        ctx.prompts.SetWaitCursor(false);
        ShowError(ctx, kKvlOpenErrorTitle, r.message);
        return false;
    }
    doc.docTitle = KvlDocTitle(path);
    doc.sourceReplay.SetSeveral();
    UpdateCaption(ctx);
    RecomputeExtents(ctx);
    ctx.prompts.Repaint();
    doc.dragEnabled = true;
    doc.dirty = r.earlierVersion;  // an earlier-version file is converted by the next save
    ctx.prompts.SetWaitCursor(false);
    return true;
}

bool WriteDocument(TCommandContext& ctx, const std::string& path) {
    TDocumentState& doc = ctx.doc;
    const TTrackData* track = CurrentTrack(ctx);
    if (!track) {
        // A document names its track by id; without one it could not be read back.
        ShowError(ctx, kKvlSaveErrorTitle, kMsgNoTrackToSave);
        return false;
    }
    doc.dragging = false;
    doc.dragEnabled = true;
    ctx.prompts.SetWaitCursor(true);
    const std::vector<const TReplay*> laps = doc.laps.Pointers();
    KvlDocumentView view;
    view.xAxis = doc.xAxis;
    view.yAxis = doc.yAxis;
    view.y2Axis = doc.y2Axis;
    view.trackId = track->trackId;
    view.laps = &laps;
    const KvlWriteResult w = SafeSaveKvlDocument(path, view);
    ctx.prompts.SetWaitCursor(false);
    if (!w.ok) {
        ShowError(ctx, kKvlSaveErrorTitle, w.message);
        return false;
    }
    doc.dirty = false;
    doc.docTitle = KvlDocTitle(path);
    UpdateCaption(ctx);
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
    if (ctx.doc.dirty && !SaveQuestion(ctx)) return;
    ctx.doc.documentPath.clear();
    ClearDocument(ctx);
}

void OpenCommand(TCommandContext& ctx) {
    if (ctx.doc.dirty && !SaveQuestion(ctx)) return;
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
    if (ctx.doc.documentPath.empty()) return SaveAsCommand(ctx);
    const bool ok = WriteDocument(ctx, ctx.doc.documentPath);
    PutOnRecentFiles(ctx.settings, ctx.doc.documentPath);
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
    ctx.doc.documentPath = xfer.path;
    const bool ok = WriteDocument(ctx, xfer.path);
    WriteDocumentDirectory(ctx.settings, xfer.path);
    PutOnRecentFiles(ctx.settings, xfer.path);
    return ok;
}

bool OpenDocumentPath(TCommandContext& ctx, const std::string& path) {
    ctx.doc.documentPath = path;
    WriteDocumentDirectory(ctx.settings, path);
    PutOnRecentFiles(ctx.settings, path);
    return ReadDocument(ctx, path);
}

void RecentFileChosen(TCommandContext& ctx, const std::string& path) {
    if (ctx.doc.dirty && !SaveQuestion(ctx)) return;
    OpenDocumentPath(ctx, path);
}

void FilesDropped(TCommandContext& ctx, const std::vector<std::string>& paths) {
    if (paths.empty()) return;
    const std::string path = paths.front();
    if (!CanClose(ctx)) return;
    ctx.doc.documentPath = path;
    PutOnRecentFiles(ctx.settings, path);
    ReadDocument(ctx, path);
}

bool CanClose(TCommandContext& ctx) {
    TDocumentState& doc = ctx.doc;
    if (doc.dirty && !SaveQuestion(ctx)) return false;
    WriteRect(ctx.settings, "inf", ctx.prompts.SideWindowRect(TSideWindow::LapList));
    WriteRect(ctx.settings, "pip", ctx.prompts.SideWindowRect(TSideWindow::PictureInPicture));
    WriteRect(ctx.settings, "dat", ctx.prompts.SideWindowRect(TSideWindow::DataWindow));
    WriteExportSettings(ctx.settings, doc.exportSettings);
    if (static_cast<int32_t>(doc.associations.size()) != doc.assocCountAtLoad) {
        SaveAssociations(ctx.settings, ctx.tracks, doc.associations);
        doc.assocCountAtLoad = static_cast<int32_t>(doc.associations.size());
    }
    return true;
}

void WriteAxesOnDestroy(TCommandContext& ctx) {
    WriteGraphAxes(ctx.settings, ctx.doc);
}

bool SaveEnabled(const TDocumentState& doc) {
    return doc.dirty || doc.AxesChanged();
}

bool SaveAsEnabled(const TDocumentState& doc) {
    return doc.HasTrack();
}
