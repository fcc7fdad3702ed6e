#include "platform/ProfileFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

struct Lines {
    std::vector<std::string> lines;  // without line ends
    bool crlf = false;               // the file ends its lines with CR LF
    bool existed = false;
};

Lines LoadLines(const std::string& path) {
    Lines out;
    std::ifstream in(path, std::ios::binary);
    if (!in) return out;
    out.existed = true;
    std::string line;
    bool first = true;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
            if (first) out.crlf = true;
        }
        first = false;
        out.lines.push_back(std::move(line));
    }
    return out;
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

std::string Trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && IsSpace(s[b])) ++b;
    while (e > b && IsSpace(s[e - 1])) --e;
    return s.substr(b, e - b);
}

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

// "[name]" (after leading blanks) names a section; anything after ']' is ignored.
bool SectionName(const std::string& line, std::string& name) {
    std::string t = Trim(line);
    if (t.empty() || t[0] != '[') return false;
    size_t close = t.find(']');
    if (close == std::string::npos) return false;
    name = Trim(t.substr(1, close - 1));
    return true;
}

bool IsComment(const std::string& trimmed) {
    return !trimmed.empty() && (trimmed[0] == ';' || trimmed[0] == '#');
}

// "key=value": the key and the raw value after '='.
bool KeyLine(const std::string& line, std::string& key, std::string& value) {
    std::string t = Trim(line);
    if (t.empty() || IsComment(t) || t[0] == '[') return false;
    size_t eq = t.find('=');
    if (eq == std::string::npos) return false;
    key = Trim(t.substr(0, eq));
    value = t.substr(eq + 1);
    return !key.empty();
}

// Where a key lives: the section header's line index (or -1), the key's line (or -1),
// and the line after the last non-blank line of the section (where a new key goes).
struct Location {
    long section = -1;
    long key = -1;
    long insertAt = -1;
};

Location Find(const std::vector<std::string>& lines, const std::string& section,
              const std::string& key, std::string* value) {
    Location loc;
    std::string name, k, v;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (SectionName(lines[i], name)) {
            if (loc.section >= 0) break;  // the first matching section is the one used
            if (SameName(name, section)) {
                loc.section = static_cast<long>(i);
                loc.insertAt = static_cast<long>(i) + 1;
            }
            continue;
        }
        if (loc.section < 0) continue;
        if (!Trim(lines[i]).empty()) loc.insertAt = static_cast<long>(i) + 1;
        if (loc.key < 0 && KeyLine(lines[i], k, v) && SameName(k, key)) {
            loc.key = static_cast<long>(i);
            if (value) *value = v;
        }
    }
    return loc;
}

// Values are read without surrounding blanks and without one pair of enclosing quotes.
std::string CleanValue(const std::string& raw) {
    std::string v = Trim(raw);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return v;
}

bool Lookup(const std::string& path, const std::string& section, const std::string& key,
            std::string& value) {
    Lines file = LoadLines(path);
    std::string raw;
    Location loc = Find(file.lines, section, key, &raw);
    if (loc.key < 0) return false;
    value = CleanValue(raw);
    return true;
}

// A line break inside a name or a value would make a line of its own in the file.
bool HasLineBreak(const std::string& s) {
    return s.find_first_of("\r\n") != std::string::npos;
}

}  // namespace

int ProfileFile::ReadInt(const std::string& section, const std::string& key,
                         int defaultValue) const {
    std::string value;
    if (!Lookup(path_, section, key, value)) return defaultValue;
    // The leading decimal digits (with an optional sign) are the number: "12abc" reads 12,
    // as the platform's reading did; no digits at all, or a number outside the int range,
    // reads as the default.
    size_t i = 0;
    bool negative = false;
    if (i < value.size() && (value[i] == '-' || value[i] == '+')) negative = value[i++] == '-';
    size_t digits = i;
    long long n = 0;
    while (i < value.size() && value[i] >= '0' && value[i] <= '9') {
        n = n * 10 + (value[i] - '0');
        if (n > 2147483648LL) return defaultValue;
        ++i;
    }
    if (i == digits) return defaultValue;
    if (negative) n = -n;
    if (n > 2147483647LL) return defaultValue;
    return static_cast<int>(n);
}

std::string ProfileFile::ReadText(const std::string& section, const std::string& key,
                                  const std::string& defaultValue, size_t bufferSize) const {
    std::string value;
    if (!Lookup(path_, section, key, value)) value = defaultValue;
    if (bufferSize == 0) return {};
    if (value.size() > bufferSize - 1) value.resize(bufferSize - 1);
    return value;
}

void ProfileFile::WriteText(const std::string& section, const std::string& key,
                            const std::string& text) {
    std::string s = Trim(section), k = Trim(key);
    if (k.empty() || HasLineBreak(s) || HasLineBreak(k) || k.find('=') != std::string::npos ||
        s.find(']') != std::string::npos || k[0] == '[' || k[0] == ';' || k[0] == '#')
        return;
    // A value is one line: anything from a line break on would become lines of their own.
    std::string value = text.substr(0, text.find_first_of("\r\n"));

    Lines file = LoadLines(path_);
    Location loc = Find(file.lines, s, k, nullptr);
    auto& lines = file.lines;
    if (loc.key >= 0) {
        // Keep the key as it is spelled in the file; only the value changes.
        std::string& line = lines[static_cast<size_t>(loc.key)];
        line = line.substr(0, line.find('=') + 1) + value;
    } else if (loc.section >= 0) {
        lines.insert(lines.begin() + loc.insertAt, k + "=" + value);
    } else {
        if (!lines.empty() && !Trim(lines.back()).empty()) lines.emplace_back();
        lines.push_back("[" + s + "]");
        lines.push_back(k + "=" + value);
    }

    // Write beside the file and rename over it, so that a failed write leaves the old
    // settings in place.
    const char* eol = file.crlf ? "\r\n" : "\n";
    std::string tmp = path_ + ".tmp";
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out) return;
        for (const auto& line : lines) out << line << eol;
        out.flush();
        if (!out) {
            out.close();
            std::remove(tmp.c_str());
            return;
        }
    }
    std::error_code ec;
    std::filesystem::rename(tmp, path_, ec);
    if (ec) std::filesystem::remove(tmp, ec);
}

void ProfileFile::WriteInt(const std::string& section, const std::string& key, int value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%d", value);
    WriteText(section, key, buf);
}
