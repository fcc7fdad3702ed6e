#include "cli/CliArchive.h"

#include <cstdio>
#include <vector>

#include "replay/ArchiveExtract.h"

namespace cli {

ReplayInput::~ReplayInput() {
    RemoveExtractedReplay(extracted_);
}

bool ReplayInput::Open(const Options& options, const std::string& path, const char* command) {
    path_ = path;
    const auto member = options.Value("--member");
    if (!IsReplayArchivePath(path)) {
        if (member) {
            std::fprintf(stderr, "korvale-cli %s: --member needs a replay archive (.rpz)\n",
                         command);
            return false;
        }
        return true;
    }
    auto fail = [&](const std::string& text) {
        std::fprintf(stderr, "korvale-cli %s: %s: %s\n", command, path.c_str(), text.c_str());
        return false;
    };
    std::vector<std::string> names;
    if (const int code = ListArchiveMembers(path, names)) return fail(ArchiveErrorText(code));
    names = SortedMemberNames(std::move(names));
    std::string chosen = names.front();
    if (member) {
        chosen.clear();
        for (const std::string& name : names)
            if (name == *member) chosen = name;
        if (chosen.empty()) return fail("no member named \"" + *member + "\" in the archive");
    }
    const std::string directory = CreateArchiveTempDirectory(path);
    if (directory.empty()) return fail("Unable to create temporary path");
    TSilentArchiveProgress progress;
    std::string extractedName;
    const int code = ExtractArchiveMember(path, directory, chosen, progress, extractedName);
    if (code != kArchiveOk) {
        RemoveArchiveTempDirectory(directory);
        return fail(ArchiveErrorText(code));
    }
    extracted_ = path_ = directory + extractedName;
    return true;
}

}  // namespace cli
