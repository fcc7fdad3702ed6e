#pragma once
// Case rules of names and paths: ASCII letters compared and lowered one byte at a time, as
// the settings file, track patterns and replay names have always been handled.
#include <cctype>
#include <string>

inline char LowerCaseChar(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

inline std::string LowerCaseCopy(const std::string& text) {
    std::string lower = text;
    for (char& c : lower) c = LowerCaseChar(c);
    return lower;
}

inline bool EqualIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (LowerCaseChar(a[i]) != LowerCaseChar(b[i])) return false;
    return true;
}
