#include "app/LockKeys.h"

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {
bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}
bool LedOn(const fs::path& led) {
    std::ifstream in(led / "brightness");
    int value = 0;
    return (in >> value) && value != 0;
}
}  // namespace

std::optional<TLockKeyState> ReadLockKeyLeds(const std::string& ledsDir) {
    std::error_code ec;
    fs::directory_iterator it(ledsDir, ec);
    if (ec) return std::nullopt;
    TLockKeyState state;
    bool any = false;
    for (const fs::directory_entry& entry : it) {
        const std::string name = entry.path().filename().string();
        // Several keyboards: a lock is on when any keyboard shows it.
        if (EndsWith(name, "::capslock")) {
            any = true;
            state.caps = state.caps || LedOn(entry.path());
        } else if (EndsWith(name, "::numlock")) {
            any = true;
            state.num = state.num || LedOn(entry.path());
        } else if (EndsWith(name, "::scrolllock")) {
            any = true;
            state.scroll = state.scroll || LedOn(entry.path());
        }
    }
    if (!any) return std::nullopt;
    return state;
}
