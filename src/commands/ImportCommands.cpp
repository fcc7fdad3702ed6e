#include "commands/ImportCommands.h"

#include <cctype>
#include <memory>
#include <string>
#include <vector>

#include "commands/ArchiveStep.h"
#include "commands/CommandSettings.h"
#include "commands/DocumentCommands.h"
#include "commands/ImportEndings.h"
#include "commands/TrackChoice.h"
#include "document/LapPalette.h"
#include "replay/ArchiveExtract.h"
#include "replay/Averaging.h"
#include "replay/ReplayTrack.h"
#include "replay/Scan.h"
#include "track/TrackList.h"

namespace {

void ImportError(TCommandContext& ctx, const std::string& text) {
    ctx.prompts.MessageBox(kImportErrorTitle, text, TMsgIcon::Exclamation, TMsgButtons::Ok);
}

}  // namespace

void TReplayImport::Finish() {
    replay.file.Close();
    if (fromArchive) RemoveExtractedReplay(extractedPath);
    fromArchive = false;
    extractedPath.clear();
}

std::vector<std::string> DriverTexts(const TOpenReplay& replay) {
    std::vector<std::string> texts;
    texts.reserve(replay.drivers.size());
    for (const TReplayDriver& d : replay.drivers) texts.push_back(DriverListText(d));
    return texts;
}

bool OpenReplayForImport(TCommandContext& ctx, TReplayImport& import) {
    const TDocument& doc = ctx.doc;
    import.fromArchive = false;
    ctx.view.graph.dragging = false;
    ctx.view.graph.dragEnabled = true;

    TFileDialogXfer xfer;
    xfer.title = "Open Replay";
    xfer.filter = kReplayFilter;
    xfer.defaultExt = "rpl";
    xfer.mustExist = true;
    xfer.initialPath = ReadReplayDirectory(ctx.settings);
    if (!ctx.prompts.OpenFileDialog(xfer)) return false;
    std::string path = xfer.path;
    const std::string chosenPath = xfer.path;
    WriteReplayDirectory(ctx.settings, path);
    ctx.prompts.SetWaitCursor(true);

    if (IsReplayArchivePath(path)) {
        // The archive's dialogs want the arrow, not the wait cursor.
        ctx.prompts.SetWaitCursor(false);
        std::string extracted;
        if (!ExtractReplayFromArchive(ctx, path, extracted)) return false;
        import.fromArchive = true;
        import.extractedPath = extracted;
        path = extracted;
    }
    ctx.prompts.SetWaitCursor(false);

    const int track = ChooseTrackForReplay(ctx, path, chosenPath);
    if (track < 0) return false;
    if (doc.HasTrack() && doc.currentTrack() != track) {
        const TTrackData* current = doc.Track();
        ImportError(ctx, "Can only import replays for " + (current ? current->name : ""));
        return false;
    }
    ctx.doc.UseTrack(track);
    const TTrackData& t = ctx.tracks.At(track);
    ctx.doc.UpdateCaption();
    RequestRepaint(ctx);

    ctx.prompts.SetWaitCursor(true);
    const TReplayReadStatus status =
        OpenReplay(path, t.trackLength, t.inchesPerUnit, import.replay);
    ctx.prompts.SetWaitCursor(false);
    if (status != TReplayReadStatus::Ok) {
        if (import.replay.outOfMemory)
            ctx.prompts.MessageBox(kImportErrorTitle, kMsgScanOutOfMemory, TMsgIcon::Stop,
                                   TMsgButtons::Ok);
        ImportError(ctx, ReplayReadMessage(status));
        return false;
    }
    return true;
}

void EndImportWithoutLap(TCommandContext& ctx, bool reprepareTrack) {
    TDocument& doc = ctx.doc;
    if (doc.laps().Empty() && doc.HasTrack()) doc.DropTrack();
    if (reprepareTrack && doc.HasTrack()) doc.UseTrack(doc.currentTrack());
    doc.UpdateCaption();
    RequestRepaint(ctx);
}

void AddImportedLap(TCommandContext& ctx, std::unique_ptr<TReplay> lap,
                    const std::string& replayName) {
    TDocument& doc = ctx.doc;
    lap->colour = ChooseLapColour(doc.laps());
    doc.AddLap(std::move(lap));
    doc.SourceImported(replayName);
    AnnounceLapsChanged(ctx);
    RequestRepaint(ctx);
    doc.SetDirty(true);
    doc.UpdateCaption();
}

TImportLapSource ImportLapSource(TCommandContext& ctx, const TOpenReplay& replay) {
    TImportLapSource source;
    source.lapTexts = [&replay](int32_t driver, bool lapTimes) {
        std::vector<std::string> texts;
        if (driver < 0 || size_t(driver) >= replay.laps.size()) return texts;
        const auto& chain = replay.laps[size_t(driver)];
        for (size_t k = 0; k < chain.size(); ++k)
            texts.push_back(LapDescription(chain, k, lapTimes, replay.header));
        return texts;
    };
    ProfileFile* settings = &ctx.settings;
    source.lapTimesChanged = [settings](bool lapTimes) { WriteLapTimesFlag(*settings, lapTimes); };
    return source;
}

// "No driver selected" / "No lap selected" for the selections a dialog closed with.
bool CheckSelection(TCommandContext& ctx, const TOpenReplay& replay, const TImportLapXfer& xfer) {
    if (xfer.selectedDriver < 0 || size_t(xfer.selectedDriver) >= replay.drivers.size()) {
        ImportError(ctx, kMsgNoDriverSelected);
        return false;
    }
    if (xfer.selectedLaps.empty() || xfer.selectedLaps.front() < 0) {
        ImportError(ctx, kMsgNoLapSelected);
        return false;
    }
    return true;
}

std::string SkippedPartialLapsText(size_t skipped) {
    return skipped == 1 ? std::string("1 partial lap was skipped")
                        : std::to_string(skipped) + " partial laps were skipped";
}

namespace {

// Several laps of one driver chosen in Import Lap: each full lap becomes a lap of its own,
// in list order, each with its own colour. All are read before any is added, so that a
// failed read leaves the document as it was. Partial laps are skipped and counted in one
// message at the end.
void ImportStint(TCommandContext& ctx, TReplayImport& import, const TImportLapXfer& xfer) {
    const auto& chain = import.replay.laps[size_t(xfer.selectedDriver)];
    std::vector<std::unique_ptr<TReplay>> read;
    size_t skipped = 0;
    ctx.prompts.SetWaitCursor(true);
    for (const int32_t k : xfer.selectedLaps) {
        if (k < 0 || size_t(k) >= chain.size() || IsPartialLap(chain, size_t(k))) {
            ++skipped;
            continue;
        }
        std::unique_ptr<TReplay> lap;
        const TReplayReadStatus status = ReadReplayLap(import.replay, xfer.selectedDriver, k, lap);
        if (status != TReplayReadStatus::Ok) {
            ctx.prompts.SetWaitCursor(false);
            ImportError(ctx,
                        ReplayReadMessage(status, ctx.doc.Track() ? ctx.doc.Track()->name : ""));
            EndImportWithoutLap(ctx, false);
            import.Finish();
            return;
        }
        read.push_back(std::move(lap));
    }
    ctx.prompts.SetWaitCursor(false);
    const std::string replayName = import.replay.replayName;
    import.Finish();
    if (read.empty()) EndImportWithoutLap(ctx, false);
    for (auto& lap : read) AddImportedLap(ctx, std::move(lap), replayName);
    if (skipped > 0)
        ctx.prompts.MessageBox(kImportLapTitle, SkippedPartialLapsText(skipped),
                               TMsgIcon::Information, TMsgButtons::Ok);
}

// The steps both imports share: open the replay, run the command's dialog, read what was
// chosen, add the lap. average: Import Average Lap (several laps, nothing preselected).
void RunImportCommand(TCommandContext& ctx, bool average) {
    TReplayImport import;
    if (!OpenReplayForImport(ctx, import)) {
        import.Finish();
        EndImportWithoutLap(ctx, true);
        return;
    }
    TImportLapXfer xfer;
    xfer.driverTexts = DriverTexts(import.replay);
    xfer.selectedDriver = 0;
    // The first lap of every list is partial, which an average cannot take.
    xfer.selectedLaps = average ? std::vector<int32_t>{} : std::vector<int32_t>{0};
    xfer.lapTimes = ReadLapTimesFlag(ctx.settings);
    const TImportLapSource source = ImportLapSource(ctx, import.replay);
    const bool chosen =
        average ? ctx.prompts.ImportAverageLaps(xfer, source) : ctx.prompts.ImportLap(xfer, source);
    if (!chosen || !CheckSelection(ctx, import.replay, xfer)) {
        EndImportWithoutLap(ctx, false);
        import.Finish();
        return;
    }
    if (!average && xfer.selectedLaps.size() > 1) {
        ImportStint(ctx, import, xfer);
        return;
    }
    std::unique_ptr<TReplay> lap;
    ctx.prompts.SetWaitCursor(true);
    const TReplayReadStatus status =
        average ? ReadAverageLap(import.replay, xfer.selectedDriver, xfer.selectedLaps, lap)
                : ReadReplayLap(import.replay, xfer.selectedDriver, xfer.selectedLaps.front(), lap);
    ctx.prompts.SetWaitCursor(false);
    if (status != TReplayReadStatus::Ok) {
        // A partial lap that got past the dialog is refused as the dialog itself would.
        if (status == TReplayReadStatus::PartialLapsInAverage)
            ctx.prompts.MessageBox(kImportAverageLapTitle, ReplayReadMessage(status),
                                   TMsgIcon::Exclamation, TMsgButtons::Ok);
        else
            ImportError(ctx,
                        ReplayReadMessage(status, ctx.doc.Track() ? ctx.doc.Track()->name : ""));
        EndImportWithoutLap(ctx, false);
        import.Finish();
        return;
    }
    const std::string replayName = import.replay.replayName;
    import.Finish();
    AddImportedLap(ctx, std::move(lap), replayName);
}

}  // namespace

void ImportReplayCommand(TCommandContext& ctx) {
    RunImportCommand(ctx, false);
}

void ImportAverageLapCommand(TCommandContext& ctx) {
    RunImportCommand(ctx, true);
}
