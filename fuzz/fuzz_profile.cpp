// Reads and rewrites keys of an arbitrary settings file. Reading must never fail, and a
// write must change only what it writes.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/ProfileFile.h"

namespace {

std::string ScratchPath() {
    static const std::string path = (std::filesystem::temp_directory_path() /
                                     ("korvale-fuzz-profile-" + std::to_string(getpid()) + ".ini"))
                                        .string();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = ScratchPath();
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    ProfileFile p(path);
    const char* sections[] = {"admin", "ASSOC", "graph", "window", "export", ""};
    const char* keys[] = {"trackver", "nassoc", "path", "assocn1", "xaxis", "resol"};
    for (const char* s : sections)
        for (const char* k : keys) {
            (void)p.ReadInt(s, k, -7);
            (void)p.ReadText(s, k, "*", 255);
        }

    const int before = p.ReadInt("graph", "xaxis", 1);
    const std::string path0 = p.ReadText("admin", "path", "./*.kvl");
    p.WriteInt("export", "resol", 25);
    if (p.ReadInt("export", "resol", 0) != 25) std::abort();
    if (p.ReadInt("graph", "xaxis", 1) != before) std::abort();
    if (p.ReadText("admin", "path", "./*.kvl") != path0) std::abort();
    p.WriteText("admin", "path", "/home/me/*.kvl");
    if (p.ReadText("admin", "path", "") != "/home/me/*.kvl") std::abort();
    if (p.ReadInt("export", "resol", 0) != 25) std::abort();
    std::remove(path.c_str());
    return 0;
}
