#include "commands/DocumentState.h"

#include <cctype>

namespace {
bool EqualNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

std::string Lower(const std::string& s) {
    std::string out = s;
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}
}  // namespace

void TSourceReplay::Imported(const std::string& replayName) {
    if (kind_ == Kind::Empty) {
        SetOne(Lower(replayName));
    } else if (kind_ == Kind::One && !EqualNoCase(name_, replayName)) {
        SetSeveral();
    }
}
