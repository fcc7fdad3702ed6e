#include "commands/ExportCommands.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "commands/CommandSettings.h"
#include "export/TextExport.h"
#include "platform/ProfileFile.h"
#include "replay/ReplayWriter.h"
#include "track/TrackList.h"

namespace {

void ExportError(TCommandContext& ctx, const std::string& text) {
    ctx.prompts.MessageBox(kTextExportErrorTitle, text, TMsgIcon::Exclamation, TMsgButtons::Ok);
}

bool AskToReplace(TCommandContext& ctx, const std::string& name) {
    return ctx.prompts.MessageBox(kTextExportWarningTitle, ReplaceFileQuestion(name),
                                  TMsgIcon::Question, TMsgButtons::YesNo) == TMsgAnswer::Yes;
}

bool Exists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

// The save dialog of a Browse button; the chosen path, or "" after Cancel. The directory
// is remembered as section "export", key, followed by pattern.
std::string BrowseForExport(TCommandContext& ctx, const char* title, const char* filter,
                            const char* defaultExt, const char* key, const char* pattern,
                            const char* patternDefault) {
    TFileDialogXfer xfer;
    xfer.title = title;
    xfer.filter = filter;
    xfer.defaultExt = defaultExt;
    xfer.confirmOverwrite = true;
    xfer.initialPath = ctx.settings.ReadText("export", key, patternDefault, 260);
    if (!ctx.prompts.SaveFileDialog(xfer) || xfer.path.empty()) return {};
    ctx.settings.WriteText("export", key, DirectoryPart(xfer.path) + pattern);
    return xfer.path;
}

bool TextExportCanClose(TCommandContext& ctx, const TExportSettings& values,
                        bool askBeforeReplace) {
    const auto resolution = ParseExportResolution(values.resolution);
    if (!resolution) {
        ExportError(ctx, kMsgResolutionNotNumber);
        return false;
    }
    if (ExportResolutionUnusual(*resolution, values.xPosition) &&
        ctx.prompts.MessageBox(kTextExportWarningTitle, kMsgResolutionUnusual, TMsgIcon::Question,
                               TMsgButtons::YesNo) != TMsgAnswer::Yes)
        return false;
    if (values.fileName.empty()) {
        ExportError(ctx, kMsgNoExportFileName);
        return false;
    }
    if (askBeforeReplace && Exists(values.fileName) && !AskToReplace(ctx, values.fileName))
        return false;
    return true;
}

bool ReplayExportCanClose(TCommandContext& ctx, const TExportReplayXfer& values,
                          bool askBeforeReplace) {
    if (values.fileName.empty()) {
        ExportError(ctx, kMsgNoExportFileName);
        return false;
    }
    // The question is about the file that will be written: the name lower-cased and with
    // ".rpl" added. Browse's own question covered only the name it showed.
    const std::string written = ReplayExportPath(values.fileName);
    const bool askedByBrowse = !askBeforeReplace && written == values.fileName;
    if (!askedByBrowse && Exists(written) && !AskToReplace(ctx, written)) return false;
    return true;
}

TextExportChoices ChoicesOf(const TExportSettings& s, double resolution) {
    TextExportChoices c;
    c.xIsPosition = s.xPosition;
    c.resolution = resolution;
    // Channel table order: Time, Pos, Speed, Line, In-line Force, Lateral Force, Slip Angle.
    c.channels = {s.yTime, s.yPosition, s.ySpeed, s.yLine, s.yInline, s.yLateral, s.ySlip};
    c.comma = s.comma;
    c.table = s.table;
    return c;
}

}  // namespace

std::string ReplaceFileQuestion(const std::string& name) {
    return name + "\nalready exists.  Replace file?";
}

bool ExportEnabled(const TDocument& doc) {
    return !doc.laps().Empty();
}

void ExportTextDataCommand(TCommandContext& ctx) {
    ctx.view.graph.dragging = false;
    ctx.view.graph.dragEnabled = true;

    TExportSettings xfer = ctx.session.exportSettings;
    TExportSetupHooks hooks;
    hooks.browse = [&ctx] {
        return BrowseForExport(ctx, "Export File", kTextExportFilter, "txt", "path", "*.txt",
                               kTextExportPatternDefault);
    };
    hooks.canClose = [&ctx](const TExportSettings& values, bool ask) {
        return TextExportCanClose(ctx, values, ask);
    };
    if (!ctx.prompts.ExportSetup(xfer, hooks)) return;
    ctx.session.exportSettings = xfer;

    const auto resolution = ParseExportResolution(xfer.resolution);
    if (!resolution) return;  // the closing check let no such record through
    const TTrackData* track = CurrentTrack(ctx);
    const std::vector<const TReplay*> laps = ctx.doc.laps().Pointers();
    TTextExportStatus status = TTextExportStatus::Ok;
    ctx.prompts.SetWaitCursor(true);
    ctx.prompts.RunWithProgress(kMsgExportingData, [&](const TProgressReport& report) {
        // Reported at every call, not only when the percent moves, so that Cancel is
        // heard within a moment even when one percent takes seconds.
        const auto progress = [&report](int64_t done, int64_t total) {
            return report(total > 0 ? int(std::min<int64_t>(100, done * 100 / total)) : 0);
        };
        status = WriteTextExport(xfer.fileName, laps, track ? track->name : std::string(), track,
                                 ChoicesOf(xfer, *resolution), progress);
    });
    ctx.prompts.SetWaitCursor(false);
    // A cancelled export says nothing more: the user knows, and nothing was written.
    if (status == TTextExportStatus::Cancelled) return;
    if (status != TTextExportStatus::Ok) {
        ExportError(ctx, TextExportMessage(status));
        return;
    }
    ctx.prompts.MessageBox(kExportDataTitle, kMsgDataExported, TMsgIcon::Information,
                           TMsgButtons::Ok);
}

void ExportToReplayCommand(TCommandContext& ctx) {
    TExportSettings& kept = ctx.session.exportSettings;
    TExportReplayXfer xfer;
    xfer.separateLaps = kept.separateLaps;
    xfer.fileName = kept.replayFileName;
    TExportReplaySetupHooks hooks;
    hooks.browse = [&ctx] {
        return BrowseForExport(ctx, "Export Replay", kReplayExportFilter, "rpl", "rpath", "*.rpl",
                               kReplayExportPatternDefault);
    };
    hooks.canClose = [&ctx](const TExportReplayXfer& values, bool ask) {
        return ReplayExportCanClose(ctx, values, ask);
    };
    if (!ctx.prompts.ExportReplaySetup(xfer, hooks)) return;
    kept.separateLaps = xfer.separateLaps;
    kept.replayFileName = xfer.fileName;

    ctx.prompts.SetWaitCursor(true);
    const ReplayWriteResult result =
        WriteReplay(xfer.fileName, ctx.doc.laps().Pointers(), xfer.separateLaps);
    ctx.prompts.SetWaitCursor(false);
    // The laps are counted once the file is made; one that cannot be made says only that.
    if (result.lapsCapped && result.status != ReplayWriteStatus::CreateFailed)
        ctx.prompts.MessageBox(kExportReplayTitle, kMsgOnlyFirst36Laps, TMsgIcon::Exclamation,
                               TMsgButtons::Ok);
    if (result.status != ReplayWriteStatus::Exported) {
        ExportError(ctx, result.message());
        return;
    }
    ctx.prompts.MessageBox(kExportReplayTitle, result.message(), TMsgIcon::Information,
                           TMsgButtons::Ok);
}
