#include "app/HelpFile.h"

#include <charconv>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/ReadFile.h"

bool HelpFile::Load(const std::string& path) {
    // A regular file only, opened without blocking; a help file is some kilobytes.
    constexpr int64_t kMaxHelpBytes = int64_t{64} << 20;
    TReadFile file;
    std::vector<uint8_t> bytes;
    if (!file.Open(path) || !file.ReadAll(bytes, kMaxHelpBytes)) return false;
    Parse(std::string(bytes.begin(), bytes.end()));
    return true;
}

namespace {
void TrimTrailing(std::string& s) {
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ')) s.pop_back();
}
}  // namespace

void HelpFile::Parse(const std::string& content) {
    topics_.clear();
    order_.clear();
    std::istringstream lines(content);
    std::string line;
    HelpTopic* current = nullptr;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind("##", 0) == 0) continue;
        if (line.rfind("@topic ", 0) == 0) {
            const char* begin = line.data() + 7;
            const char* end = line.data() + line.size();
            int number = 0;
            const auto [next, ec] = std::from_chars(begin, end, number);
            // The number ends at a blank or the line's end: "@topic 12x" is no topic.
            if (ec != std::errc() || (next != end && *next != ' ')) {
                current = nullptr;
                continue;
            }
            std::string title(next, end);
            while (!title.empty() && title.front() == ' ') title.erase(0, 1);
            if (topics_.count(number) == 0) order_.push_back(number);
            current = &topics_[number];
            *current = HelpTopic{title, {}};
            continue;
        }
        if (current != nullptr) current->text += line + "\n";
    }
    for (auto& [number, t] : topics_) TrimTrailing(t.text);
}

const HelpTopic* HelpFile::Find(int number) const {
    const auto it = topics_.find(number);
    return it == topics_.end() ? nullptr : &it->second;
}
