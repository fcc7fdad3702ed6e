#include "commands/ArchiveStep.h"

#include "platform/Archive.h"
#include "replay/ArchiveExtract.h"
#include "replay/ReplayFile.h"

namespace {

void ArchiveError(TCommandContext& ctx, int code) {
    ctx.prompts.MessageBox(kArchiveErrorTitle, ArchiveErrorText(code), TMsgIcon::Stop,
                           TMsgButtons::Ok);
}

}  // namespace

bool ExtractReplayFromArchive(TCommandContext& ctx, const std::string& archivePath,
                              std::string& extractedPath) {
    extractedPath.clear();
    std::vector<std::string> names;
    if (const int code = ListArchiveMembers(archivePath, names)) {
        ArchiveError(ctx, code);
        return false;
    }
    TChooseCompFileXfer xfer;
    xfer.names = SortedMemberNames(std::move(names));
    xfer.selection = 0;
    if (!ctx.prompts.ChooseCompFile(xfer)) return false;
    if (xfer.selection < 0 || size_t(xfer.selection) >= xfer.names.size()) return false;
    // The whole name: a shortened one would name a member the extraction never writes.
    const std::string member = xfer.names[size_t(xfer.selection)];

    const std::string directory = CreateArchiveTempDirectory(archivePath);
    if (directory.empty()) {
        ctx.prompts.MessageBox(kImportErrorTitle, kMsgNoTemporaryPath, TMsgIcon::Stop,
                               TMsgButtons::Ok);
        return false;
    }
    std::string extractedName;
    const int code = ctx.prompts.RunArchiveExtraction([&](TArchiveProgress& progress) {
        return ExtractArchiveMember(archivePath, directory, member, progress, extractedName);
    });
    if (code != kArchiveOk) {
        // Stopped or failed, the directory goes at once; only an error is reported.
        RemoveArchiveTempDirectory(directory);
        if (code != kArchiveStopped) ArchiveError(ctx, code);
        return false;
    }
    extractedPath = directory + extractedName;
    return true;
}
