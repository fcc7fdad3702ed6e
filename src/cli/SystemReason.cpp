#include "cli/SystemReason.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#if __has_include(<unistd.h>)
#include <unistd.h>
#endif

namespace cli {

namespace fs = std::filesystem;

namespace {

std::string Reason(std::errc code) {
    return std::make_error_code(code).message();
}

}  // namespace

std::string ReadFailureReason(const std::string& path) {
    if (path.empty()) return Reason(std::errc::no_such_file_or_directory);
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec) return ec.message();
    if (fs::is_directory(status)) return Reason(std::errc::is_a_directory);
    // The readers take only regular files; opening a pipe or a device could block.
    if (!fs::is_regular_file(status)) return "not a regular file";
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return std::strerror(errno);
    std::fclose(f);
    return {};
}

std::string WriteFailureReason(const std::string& path) {
    if (path.empty()) return Reason(std::errc::no_such_file_or_directory);
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (!ec) {
        if (fs::is_directory(status)) return Reason(std::errc::is_a_directory);
#if __has_include(<unistd.h>)
        if (::access(path.c_str(), W_OK) != 0) return std::strerror(errno);
#endif
    } else if (ec != std::errc::no_such_file_or_directory) {
        return ec.message();
    }
    // The file is made (or its replacement is made) in its directory.
    fs::path dir = fs::path(path).parent_path();
    if (dir.empty()) dir = ".";
    const fs::file_status dirStatus = fs::status(dir, ec);
    if (ec) return ec.message();
    if (!fs::is_directory(dirStatus)) return Reason(std::errc::not_a_directory);
#if __has_include(<unistd.h>)
    if (::access(dir.c_str(), W_OK | X_OK) != 0) return std::strerror(errno);
#endif
    return {};
}

std::string WithReason(const std::string& text, const std::string& reason) {
    return reason.empty() ? text : text + ": " + reason;
}

}  // namespace cli
