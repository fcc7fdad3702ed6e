#include "app/StartupOptions.h"

#include <cstring>
#include <filesystem>
#include <sstream>

namespace {

// The words of --show, separated by commas; false with the error set on an unknown one.
bool ParseShow(const std::string& list, TStartupOptions& out) {
    std::stringstream words(list);
    std::string word;
    bool any = false;
    while (std::getline(words, word, ',')) {
        if (word == "pip") {
            out.showPip = true;
        } else {
            out.error = "--show takes pip, not \"" + word + "\"";
            return false;
        }
        any = true;
    }
    if (!any) out.error = "--show needs a list of windows";
    return any;
}

}  // namespace

TStartupOptions ParseStartupOptions(int argc, const char* const* argv) {
    TStartupOptions out;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        const bool takesValue = std::strcmp(arg, "--screenshot") == 0 ||
                                std::strcmp(arg, "--show") == 0 || std::strcmp(arg, "--view") == 0;
        if (takesValue && (i + 1 >= argc || argv[i + 1][0] == '\0')) {
            out.error = std::string(arg) + " needs a value";
            return out;
        }
        if (std::strcmp(arg, "--screenshot") == 0) {
            out.screenshotFile = argv[++i];
        } else if (std::strcmp(arg, "--show") == 0) {
            if (!ParseShow(argv[++i], out)) return out;
        } else if (std::strcmp(arg, "--view") == 0) {
            const std::string view = argv[++i];
            if (view != "graph" && view != "map") {
                out.error = "--view takes graph or map, not \"" + view + "\"";
                return out;
            }
            out.viewMap = view == "map";
        } else if (out.document.empty()) {
            // Only the first document counts; later ones are ignored as the shell's
            // single-document open passes one.
            out.document = arg;
        }
    }
    if (out.screenshotFile.empty() && (out.showPip || out.viewMap))
        out.error = "--show and --view go with --screenshot";
    return out;
}

std::string SideScreenshotPath(const std::string& file, const std::string& suffix) {
    const std::filesystem::path p(file);
    std::filesystem::path out = p.parent_path() / (p.stem().string() + suffix);
    out += p.extension();
    return out.string();
}
