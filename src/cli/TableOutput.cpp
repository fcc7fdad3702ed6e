#include "cli/TableOutput.h"

#include <cstdio>

#include "analysis/LapAnalysis.h"
#include "cli/Options.h"

namespace cli {

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

void PrintRow(const std::vector<std::string>& fields, bool csv) {
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) line += csv ? "," : "\t";
        line += csv ? CsvField(fields[i]) : fields[i];
    }
    line += csv ? "\r\n" : "\n";
    std::fputs(line.c_str(), stdout);
}

int32_t LapReference(const std::string& text, const std::vector<const TReplay*>& laps) {
    if (text == "fastest") return ReferenceLap(laps, -1);
    const auto number = ParseInteger(text);
    if (!number || *number < 0 || *number >= static_cast<long long>(laps.size())) return -1;
    return static_cast<int32_t>(*number);
}

}  // namespace cli
