#include "commands/ArchiveStep.h"

#include "platform/Archive.h"
#include "replay/ArchiveExtract.h"
#include "replay/ReplayFile.h"

namespace {

void ArchiveError(TCommandContext& ctx, const std::string& text) {
    ctx.prompts.MessageBox(kArchiveErrorTitle, text, TMsgIcon::Stop, TMsgButtons::Ok);
}

}  // namespace

bool ExtractReplayFromArchive(TCommandContext& ctx, const std::string& archivePath,
                              std::string& extractedPath) {
    extractedPath.clear();
    std::vector<TArchiveMember> members;
    if (const int code = ListArchiveMembers(archivePath, members)) {
        ArchiveError(ctx, ArchiveErrorText(code));
        return false;
    }
    members = SortedMembers(std::move(members));
    TChooseCompFileXfer xfer;
    for (const TArchiveMember& m : members) xfer.names.push_back(m.name);
    xfer.selection = 0;
    if (!ctx.prompts.ChooseCompFile(xfer)) return false;
    if (xfer.selection < 0 || size_t(xfer.selection) >= members.size()) return false;
    // The member at the chosen row, whole: a name alone may belong to several members, and
    // a shortened one would name a member the extraction never writes.
    const TArchiveMember member = members[size_t(xfer.selection)];

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
        if (code != kArchiveStopped) ArchiveError(ctx, ArchiveErrorText(code, member));
        return false;
    }
    extractedPath = directory + extractedName;
    return true;
}
