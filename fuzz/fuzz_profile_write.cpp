// The settings file's write path: an arbitrary file is read, one key is written, and the
// file read back. The key reads the written value; every other line is byte for byte as it
// was, whatever line ends the file uses; every other key reads as before.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/ProfileFile.h"

namespace {

std::string ScratchPath() {
    static const std::string path =
        (std::filesystem::temp_directory_path() /
         ("korvale-fuzz-profile-write-" + std::to_string(getpid()) + ".ini"))
            .string();
    return path;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t at = 0;
    for (size_t nl; (nl = text.find('\n', at)) != std::string::npos; at = nl + 1)
        lines.push_back(text.substr(at, nl - at));
    lines.push_back(text.substr(at));
    return lines;
}

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const char* sections[] = {"admin", "ASSOC", "graph", "window", "export", "x y"};
    const char* keys[] = {"trackver", "nassoc", "path", "assocn1", "xaxis", "resol", "k"};
    const size_t sectionIndex = data[0] % 6, keyIndex = data[1] % 7;
    const std::string section = sections[sectionIndex];
    const std::string key = keys[keyIndex];
    const std::string value = std::to_string((data[0] << 8) | data[1]);
    const std::string before(reinterpret_cast<const char*>(data) + 2, size - 2);
    const std::string path = ScratchPath();
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << before;
    }

    ProfileFile p(path);
    std::vector<std::string> others;
    for (const char* s : sections)
        for (const char* k : keys) others.push_back(p.ReadText(s, k, "\x01", 300));

    p.WriteText(section, key, value);
    if (p.ReadText(section, key, "") != value) std::abort();
    const std::string after = Slurp(path);
    ProfileFile fresh(path);
    if (fresh.ReadText(section, key, "") != value) std::abort();

    // Only the key's line changes, or up to three lines (a blank line, the section header,
    // the key) are added in one place.
    auto b = SplitLines(before);
    const auto a = SplitLines(after);
    // A last line without a line end gains one (LF or CR LF) when lines are added after it:
    // that shows here as one more line, and as a CR at the end of the old last line.
    const bool unended = !before.empty() && before.back() != '\n';
    if (unended && a.size() > b.size() && a[b.size() - 1] == b.back() + "\r") b.back() += "\r";
    size_t head = 0;
    while (head < b.size() && head < a.size() && a[head] == b[head]) ++head;
    size_t tail = 0;
    while (tail < b.size() - head && tail < a.size() - head &&
           a[a.size() - 1 - tail] == b[b.size() - 1 - tail])
        ++tail;
    const size_t removed = b.size() - head - tail, added = a.size() - head - tail;
    const size_t most = unended ? 4 : 3;
    if (removed > 1 || added > most || (removed == 1 && added != 1)) std::abort();

    for (size_t si = 0; si < 6; ++si)
        for (size_t ki = 0; ki < 7; ++ki) {
            const bool same = si == sectionIndex && ki == keyIndex;
            if (!same && fresh.ReadText(sections[si], keys[ki], "\x01", 300) != others[si * 7 + ki])
                std::abort();
        }
    std::remove(path.c_str());
    return 0;
}
