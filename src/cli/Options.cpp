#include "cli/Options.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "platform/DataPath.h"

namespace cli {

Options::Options(const std::vector<std::string>& args, const std::vector<std::string>& valueOptions,
                 const std::vector<std::string>& flagOptions) {
    auto contains = [](const std::vector<std::string>& v, const std::string& s) {
        return std::find(v.begin(), v.end(), s) != v.end();
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.size() > 1 && a[0] == '-' && a != "-") {
            if (contains(valueOptions, a)) {
                if (i + 1 >= args.size()) {
                    error_ = "option " + a + " needs a value";
                    return;
                }
                values_.emplace(a, args[++i]);
            } else if (contains(flagOptions, a)) {
                values_.emplace(a, "");
            } else {
                error_ = "unknown option " + a;
                return;
            }
        } else {
            positional_.push_back(a);
        }
    }
}

bool Options::Has(const std::string& name) const {
    return values_.count(name) != 0;
}

std::optional<std::string> Options::Value(const std::string& name) const {
    auto it = values_.find(name);
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

std::vector<std::string> Options::Values(const std::string& name) const {
    std::vector<std::string> out;
    auto range = values_.equal_range(name);
    for (auto it = range.first; it != range.second; ++it) out.push_back(it->second);
    return out;
}

std::optional<long long> ParseInteger(const std::string& text) {
    if (text.empty()) return std::nullopt;
    errno = 0;
    char* end = nullptr;
    long long v = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || end == text.c_str() || *end != '\0') return std::nullopt;
    return v;
}

std::string ExecutableDir() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
    return exe.parent_path().string();
}

std::string TracksPath(const Options& options) {
    if (auto v = options.Value("--tracks")) return *v;
    return LocateDataFile(ExecutableDir(), "tracks.dat");
}

}  // namespace cli
