// Feeds arbitrary bytes to the archive reader as a replay archive: the member list, then
// the extraction of every listed member into a scratch directory, whose contents must stay
// inside it and vanish again after a failure.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/Archive.h"

namespace {

namespace fs = std::filesystem;

const fs::path& WorkDir() {
    static const fs::path dir =
        fs::temp_directory_path() / ("korvale-fuzz-archive-" + std::to_string(getpid()));
    return dir;
}

// Answers every question with Yes, so the overwrite path runs too.
class YesProgress : public TArchiveProgress {
  public:
    int Post(int number, const std::string&) override {
        return number == kArchiveOverwriteQuestion ? kArchiveOverwriteYes : 0;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fs::path archive = WorkDir() / "input.rpz";
    const fs::path out = WorkDir() / "out";
    std::error_code ec;
    fs::remove_all(WorkDir(), ec);
    fs::create_directories(out, ec);
    {
        std::FILE* f = std::fopen(archive.string().c_str(), "wb");
        if (!f) return 0;
        if (size > 0) std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    std::vector<TArchiveMember> names;
    if (ListArchiveMembers(archive.string(), names) == kArchiveOk) {
        YesProgress progress;
        for (size_t i = 0; i < names.size() && i < 16; ++i) {
            std::string extracted;
            const int code =
                ExtractArchiveMember(archive.string(), out.string(), names[i], progress, extracted);
            // Success writes one file directly inside the directory; failure leaves nothing new.
            if (code == kArchiveOk &&
                (extracted.empty() || !fs::is_regular_file(fs::symlink_status(out / extracted))))
                std::abort();
            (void)ArchiveErrorText(code);
        }
        for (const auto& entry : fs::recursive_directory_iterator(out, ec))
            if (entry.path().parent_path() != out || !entry.is_regular_file()) std::abort();
    }
    fs::remove_all(WorkDir(), ec);
    return 0;
}
