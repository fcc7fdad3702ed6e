#pragma once
// Replay archives made by the tests: ZIP files written with libzip, and byte patches that
// make a member claim what it is not.
#include <gtest/gtest.h>
#include <zip.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace zip_test {

struct Member {
    std::string name;
    std::vector<uint8_t> data;
    bool stored = false;  // else deflated
    bool link = false;    // a Unix symbolic link whose target is data
};

inline std::vector<uint8_t> Bytes(const std::string& s) {
    return std::vector<uint8_t>(s.begin(), s.end());
}

// Bytes that do not compress much, so a member spans several reads.
inline std::vector<uint8_t> Noise(size_t n, uint32_t seed = 1) {
    std::vector<uint8_t> out(n);
    for (auto& b : out) {
        seed = seed * 1103515245u + 12345u;
        b = uint8_t(seed >> 16);
    }
    return out;
}

inline void WriteZip(const std::string& path, const std::vector<Member>& members) {
    int error = 0;
    zip_t* z = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(z, nullptr) << "zip_open " << error;
    for (const Member& m : members) {
        zip_source_t* src = zip_source_buffer(z, m.data.data(), m.data.size(), 0);
        ASSERT_NE(src, nullptr);
        const zip_int64_t index = zip_file_add(z, m.name.c_str(), src, ZIP_FL_ENC_UTF_8);
        ASSERT_GE(index, 0) << zip_strerror(z);
        zip_set_file_compression(z, zip_uint64_t(index), m.stored ? ZIP_CM_STORE : ZIP_CM_DEFLATE,
                                 0);
        if (m.link)
            zip_file_set_external_attributes(z, zip_uint64_t(index), 0, ZIP_OPSYS_UNIX,
                                             0120777u << 16);
    }
    ASSERT_EQ(zip_close(z), 0);
}

inline std::vector<uint8_t> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline void WriteAll(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// Rewrites a little-endian field in every local header (at localOffset) and every central
// directory entry (at centralOffset) of the file.
inline void PatchHeaders(const std::string& path, size_t localOffset, size_t centralOffset,
                         uint32_t value, int width) {
    std::vector<uint8_t> b = ReadAll(path);
    auto put = [&](size_t at) {
        for (int i = 0; i < width && at + size_t(i) < b.size(); ++i)
            b[at + size_t(i)] = uint8_t(value >> (8 * i));
    };
    for (size_t i = 0; i + 4 <= b.size(); ++i) {
        if (b[i] != 'P' || b[i + 1] != 'K') continue;
        if (b[i + 2] == 3 && b[i + 3] == 4) put(i + localOffset);
        if (b[i + 2] == 1 && b[i + 3] == 2) put(i + centralOffset);
    }
    WriteAll(path, b);
}
// libzip writes no two members of one name; an archive that has them (as other tools
// write) is made by giving one a stand-in name of the same length and then changing every
// occurrence of it in the file's bytes.
inline void ReplaceName(const std::string& path, const std::string& from, const std::string& to) {
    ASSERT_EQ(from.size(), to.size());
    std::vector<uint8_t> b = ReadAll(path);
    for (size_t i = 0; i + from.size() <= b.size(); ++i)
        if (std::equal(from.begin(), from.end(), b.begin() + long(i)))
            std::copy(to.begin(), to.end(), b.begin() + long(i));
    WriteAll(path, b);
}

inline void SetMethod(const std::string& path, uint16_t method) {
    PatchHeaders(path, 8, 10, method, 2);
}
inline void SetUncompressedSize(const std::string& path, uint32_t size) {
    PatchHeaders(path, 22, 24, size, 4);
}
inline void SetFlags(const std::string& path, uint16_t flags) {
    PatchHeaders(path, 6, 8, flags, 2);
}

}  // namespace zip_test
