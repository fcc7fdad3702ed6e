#include "platform/VersionData.h"

#include <sstream>

void VersionData::Parse(const std::string& content) {
    values_.clear();
    std::istringstream lines(content);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const auto eq = line.find('=');
        if (eq == std::string::npos || eq == 0) continue;
        std::string value = line.substr(eq + 1);
        // An empty value is a missing value: the About box then keeps its own text.
        if (!value.empty()) values_[line.substr(0, eq)] = value;
    }
}

std::optional<std::string> VersionData::Value(const std::string& name) const {
    const auto it = values_.find(name);
    if (it == values_.end()) return std::nullopt;
    return it->second;
}
