// korvale-cli archive-members: the replays of a replay archive as the Import Replay choice
// lists them, so that --member-index of laps and import can pick one of two same names.

#include <cstdio>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "cli/Options.h"
#include "platform/Utf8.h"
#include "replay/ArchiveExtract.h"

namespace {

int Usage(FILE* out) {
    std::fprintf(out,
                 "usage: korvale-cli archive-members ARCHIVE\n"
                 "\n"
                 "Lists the replays of a replay archive (.rpz) in the order the Import Replay\n"
                 "choice shows them (by name without regard to case; members of the same name\n"
                 "in archive order), one a line: the index (0-based, as --member-index of\n"
                 "'laps' and 'import' takes it), a tab and the member's name.\n");
    return out == stdout ? 0 : 2;
}

int ArchiveMembers(const std::vector<std::string>& args) {
    for (const auto& a : args)
        if (a == "--help" || a == "-h") return Usage(stdout);
    cli::Options options(args, {}, {});
    if (!options.ok()) {
        std::fprintf(stderr, "korvale-cli archive-members: %s\n", options.error().c_str());
        return Usage(stderr);
    }
    if (options.Positional().size() != 1) return Usage(stderr);
    const std::string& path = options.Positional()[0];
    std::vector<TArchiveMember> members;
    if (const int code = ListArchiveMembers(path, members)) {
        std::fprintf(stderr, "korvale-cli archive-members: %s: %s\n", path.c_str(),
                     ArchiveErrorText(code).c_str());
        return 1;
    }
    members = SortedMembers(std::move(members));
    for (size_t i = 0; i < members.size(); ++i)
        std::printf("%zu\t%s\n", i, EscapeControls(members[i].name).c_str());
    return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace

static cli::Registration reg{"archive-members", "list the replays of a replay archive",
                             &ArchiveMembers};
