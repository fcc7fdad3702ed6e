#include "cli/CliArchive.h"

#include <csignal>

#include <cstdio>
#include <vector>

#include "replay/ArchiveExtract.h"

namespace cli {

ReplayInput::~ReplayInput() {
    RemoveExtractedReplay(extracted_);
}

bool ReplayInput::Open(const Options& options, const std::string& path, const char* command) {
    path_ = shown_ = path;
    const auto member = options.Value("--member");
    const auto memberIndex = options.Value("--member-index");
    if (!IsReplayArchivePath(path)) {
        if (member || memberIndex) {
            std::fprintf(stderr, "korvale-cli %s: %s needs a replay archive (.rpz)\n", command,
                         member ? "--member" : "--member-index");
            return false;
        }
        return true;
    }
    auto fail = [&](const std::string& text) {
        std::fprintf(stderr, "korvale-cli %s: %s: %s\n", command, shown_.c_str(), text.c_str());
        return false;
    };
    if (member && memberIndex) return fail("--member and --member-index cannot be used together");
    std::vector<TArchiveMember> members;
    if (const int code = ListArchiveMembers(path, members)) return fail(ArchiveErrorText(code));
    members = SortedMembers(std::move(members));
    size_t chosen = 0;
    if (member) {
        chosen = members.size();
        for (size_t i = members.size(); i-- > 0;)
            if (members[i].name == *member) chosen = i;
        if (chosen == members.size())
            return fail("no member named \"" + *member + "\" in the archive");
    } else if (memberIndex) {
        const auto index = ParseInteger(*memberIndex);
        if (!index || *index < 0 || static_cast<unsigned long long>(*index) >= members.size())
            return fail("--member-index " + *memberIndex + ": the archive has " +
                        std::to_string(members.size()) + " members (0 to " +
                        std::to_string(members.size() - 1) + ")");
        chosen = static_cast<size_t>(*index);
    }
    const TArchiveMember& picked = members[chosen];
    shown_ = path + ", member " + picked.name;

#ifndef _WIN32
    // A kill between making the directory and watching it would leave the directory behind:
    // the two happen with Ctrl+C and kills held back.
    sigset_t held, previous;
    sigemptyset(&held);
    sigaddset(&held, SIGINT);
    sigaddset(&held, SIGTERM);
    sigprocmask(SIG_BLOCK, &held, &previous);
#endif
    const std::string directory = CreateArchiveTempDirectory(path);
    if (!directory.empty()) {
        // The directory is new, so whatever lands in it is ours to remove.
        directoryGuard_ = std::make_unique<TTempPathGuard>(directory);
        fileGuard_ =
            std::make_unique<TTempPathGuard>(directory + ArchiveMemberFileName(picked.name));
    }
#ifndef _WIN32
    sigprocmask(SIG_SETMASK, &previous, nullptr);
#endif
    if (directory.empty()) return fail("Unable to create temporary path");
    TSilentArchiveProgress progress;
    std::string extractedName;
    const int code = ExtractArchiveMember(path, directory, picked, progress, extractedName);
    if (code != kArchiveOk) {
        RemoveArchiveTempDirectory(directory);
        return fail(ArchiveErrorText(code, picked));
    }
    extracted_ = path_ = directory + extractedName;
    return true;
}

}  // namespace cli
