#pragma once
// Compares a format's output with its golden file under tests/. On a difference (or a missing
// golden) the output is written beside the build's binaries as NAME.actual, so that a
// deliberate change can be looked at, and copied over the golden once checked by eye.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

inline std::string GoldenPath(const std::string& name) {
    return std::string(KORVALE_SOURCE_DIR) + "/tests/" + name;
}

inline void ExpectMatchesGolden(const std::string& actual, const std::string& name) {
    std::ifstream in(GoldenPath(name), std::ios::binary);
    const std::string golden((std::istreambuf_iterator<char>(in)), {});
    if (in && golden == actual) return;
    const std::string keep = std::string(KORVALE_BIN_DIR) + "/" +
                             std::filesystem::path(name).filename().string() + ".actual";
    std::ofstream(keep, std::ios::binary) << actual;
    // The first line that differs says more than two whole files.
    std::istringstream a(actual), g(golden);
    std::string la, lg;
    int line = 1;
    while (std::getline(a, la) && std::getline(g, lg) && la == lg) ++line;
    ADD_FAILURE() << name << (in ? " differs" : " is missing") << " from line " << line
                  << ": got \"" << la << "\", golden \"" << lg << "\"; output kept in " << keep;
}
