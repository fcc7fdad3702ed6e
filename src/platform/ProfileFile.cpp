#include "platform/ProfileFile.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <new>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/ReadFile.h"
#include "platform/SafeWrite.h"

namespace {

// One line of the file as it is stored: the text without its line end, and the line end
// ("\r\n", "\n", or nothing for a last line without one).
struct Line {
    std::string text;
    std::string eol;
};

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

std::string Trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && IsSpace(s[b])) ++b;
    while (e > b && IsSpace(s[e - 1])) --e;
    return s.substr(b, e - b);
}

std::string_view TrimView(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && IsSpace(s[b])) ++b;
    while (e > b && IsSpace(s[e - 1])) --e;
    return s.substr(b, e - b);
}

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
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

// Values are read without surrounding blanks and without one pair of enclosing quotes.
std::string CleanValue(const std::string& raw) {
    std::string v = Trim(raw);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return v;
}

// A line break inside a name or a value would make a line of its own in the file.
bool HasLineBreak(const std::string& s) {
    return s.find_first_of("\r\n") != std::string::npos;
}

// What identifies one state of the file on disk.
struct FileStamp {
    bool exists = false;
    int64_t size = 0;
    int64_t mtimeNs = 0;
    uint64_t device = 0, inode = 0;
    bool operator==(const FileStamp&) const = default;
};

FileStamp Stamp(const std::string& path) {
    FileStamp s;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return s;
    s.exists = true;
    s.size = static_cast<int64_t>(st.st_size);
#ifdef _WIN32
    s.mtimeNs = static_cast<int64_t>(st.st_mtime) * 1000000000;
#else
    s.mtimeNs = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
#endif
    s.device = static_cast<uint64_t>(st.st_dev);
    s.inode = static_cast<uint64_t>(st.st_ino);
    return s;
}

std::string IndexKey(const std::string& section, const std::string& key) {
    std::string k;
    k.reserve(section.size() + key.size() + 1);
    for (char c : section) k += Lower(c);
    k += '\n';  // cannot occur in a name
    for (char c : key) k += Lower(c);
    return k;
}

std::string LowerName(std::string_view name) {
    std::string k;
    for (char c : name) k += Lower(c);
    return k;
}

}  // namespace

struct ProfileFile::Content {
    bool loaded = false;
    FileStamp stamp;
    bool writable = true;  // false: a file we could not read, never to be written over
    int loads = 0;
    int writes = 0;
    std::vector<Line> lines;
    std::string defaultEol = "\n";
    // Where each section's first header is and where a new key of it goes (the line after
    // its last non-blank line), and the first line of each key in the first such section.
    struct Section {
        size_t header = 0;
        size_t insertAt = 0;
    };
    std::unordered_map<std::string, Section> sections;
    std::unordered_map<std::string, size_t> keys;

    void Parse(const std::string& text) {
        lines.clear();
        lines.reserve(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
        size_t at = 0;
        while (at < text.size()) {
            const size_t nl = text.find('\n', at);
            Line line;
            if (nl == std::string::npos) {
                line.text = text.substr(at);
                at = text.size();
            } else {
                line.text = text.substr(at, nl - at);
                line.eol = "\n";
                at = nl + 1;
            }
            if (!line.eol.empty() && !line.text.empty() && line.text.back() == '\r') {
                line.text.pop_back();
                line.eol = "\r\n";
            }
            lines.push_back(std::move(line));
        }
        // New lines end as the first line of the file does.
        defaultEol = !lines.empty() && lines.front().eol == "\r\n" ? "\r\n" : "\n";
        Index();
    }

    void Index() {
        sections.clear();
        keys.clear();
        keys.reserve(lines.size());
        Section* current = nullptr;  // the section being indexed, when it is a first one
        std::string currentName;
        for (size_t i = 0; i < lines.size(); ++i) {
            // Views, not copies: a large file is indexed without an allocation a line.
            const std::string_view text = TrimView(lines[i].text);
            if (!text.empty() && text[0] == '[') {
                const size_t close = text.find(']');
                if (close != std::string_view::npos) {
                    const std::string lower = LowerName(TrimView(text.substr(1, close - 1)));
                    if (sections.count(lower)) {
                        current = nullptr;  // a later section of the same name is not used
                    } else {
                        current = &sections[lower];
                        current->header = i;
                        current->insertAt = i + 1;
                        currentName = lower;
                    }
                    continue;
                }
            }
            if (!current || text.empty()) continue;
            current->insertAt = i + 1;
            if (text[0] == ';' || text[0] == '#' || text[0] == '[') continue;
            const size_t eq = text.find('=');
            if (eq == std::string_view::npos) continue;
            const std::string_view k = TrimView(text.substr(0, eq));
            if (k.empty()) continue;
            std::string key = currentName;
            key += '\n';
            for (char c : k) key += Lower(c);
            keys.emplace(std::move(key), i);  // the first one stays
        }
    }

    // A line has been inserted at index at: every later line moves down one.
    void Shift(size_t at) {
        for (auto& [name, line] : keys)
            if (line >= at) ++line;
        for (auto& [name, section] : sections) {
            if (section.header >= at) ++section.header;
            if (section.insertAt > at) ++section.insertAt;
        }
    }
};

ProfileFile::ProfileFile(std::string path)
    : path_(std::move(path)), content_(std::make_unique<Content>()) {}

ProfileFile::~ProfileFile() {
    // What was changed is not lost when its owner forgot to write it.
    Flush();
}

int ProfileFile::LoadCount() const {
    return content_->loads;
}

ProfileFile::Content& ProfileFile::Current() const {
    Content& c = *content_;
    // Changes not yet written are newer than anything on disk.
    if (c.loaded && !pending_.empty()) return c;
    const FileStamp now = path_.empty() ? FileStamp{} : Stamp(path_);
    if (c.loaded && now == c.stamp) return c;
    c.loaded = true;
    c.stamp = now;
    c.lines.clear();
    c.sections.clear();
    c.keys.clear();
    c.defaultEol = "\n";
    c.writable = true;
    if (!now.exists) return c;  // a missing file: defaults, made on the first write
    ++c.loads;
    try {
        TReadFile file;
        std::vector<uint8_t> bytes;
        if (!file.Open(path_) || !file.ReadAll(bytes, kMaxSettingsBytes)) {
            c.writable = false;
            return c;
        }
        c.Parse(std::string(bytes.begin(), bytes.end()));
    } catch (const std::bad_alloc&) {
        c.lines.clear();
        c.sections.clear();
        c.keys.clear();
        c.writable = false;
    }
    return c;
}

namespace {

bool Lookup(const ProfileFile::Content& c, const std::string& section, const std::string& key,
            std::string& value) {
    const auto it = c.keys.find(IndexKey(section, key));
    if (it == c.keys.end()) return false;
    std::string k, raw;
    KeyLine(c.lines[it->second].text, k, raw);
    value = CleanValue(raw);
    return true;
}

}  // namespace

int ProfileFile::ReadInt(const std::string& section, const std::string& key,
                         int defaultValue) const {
    std::string value;
    if (!Lookup(Current(), section, key, value)) return defaultValue;
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
    if (!Lookup(Current(), section, key, value)) value = defaultValue;
    if (bufferSize == 0) return {};
    if (value.size() > bufferSize - 1) value.resize(bufferSize - 1);
    return value;
}

namespace {

// Changes one key's line in memory, or adds it (and its section) where the file would have
// it; false when the line already says that.
bool Apply(ProfileFile::Content& c, const std::string& s, const std::string& k,
           const std::string& value) {
    const auto keyIt = c.keys.find(IndexKey(s, k));
    if (keyIt != c.keys.end()) {
        // Keep the key as it is spelled in the file; only the value changes.
        std::string& old = c.lines[keyIt->second].text;
        std::string changed = old.substr(0, old.find('=') + 1) + value;
        if (changed == old) return false;
        old = std::move(changed);
        return true;
    }
    const auto sectionIt = c.sections.find(LowerName(s));
    const bool newSection = sectionIt == c.sections.end();
    std::vector<Line> added;
    size_t at = c.lines.size();
    if (!newSection) {
        at = sectionIt->second.insertAt;
    } else {
        if (!c.lines.empty() && !Trim(c.lines.back().text).empty())
            added.push_back(Line{{}, c.defaultEol});
        added.push_back(Line{"[" + s + "]", c.defaultEol});
    }
    added.push_back(Line{k + "=" + value, c.defaultEol});
    // Lines added after a last line without an end give that line one.
    if (at == c.lines.size() && !c.lines.empty() && c.lines.back().eol.empty())
        c.lines.back().eol = c.defaultEol;
    const size_t count = added.size();
    c.lines.insert(c.lines.begin() + static_cast<long>(at), std::make_move_iterator(added.begin()),
                   std::make_move_iterator(added.end()));
    const size_t keyLine = at + count - 1;
    if (newSection) {
        // Appended at the end: nothing else moves.
        auto& section = c.sections[LowerName(s)];
        section.header = keyLine - 1;
        section.insertAt = keyLine + 1;
    } else {
        c.Shift(at);
        c.sections[LowerName(s)].insertAt = keyLine + 1;
    }
    c.keys.emplace(IndexKey(s, k), keyLine);
    return true;
}

std::string Serialize(const ProfileFile::Content& c) {
    std::string bytes;
    size_t total = 0;
    for (const auto& l : c.lines) total += l.text.size() + l.eol.size();
    bytes.reserve(total);
    for (const auto& l : c.lines) bytes.append(l.text).append(l.eol);
    return bytes;
}

}  // namespace

void ProfileFile::WriteText(const std::string& section, const std::string& key,
                            const std::string& text) {
    std::string s = Trim(section), k = Trim(key);
    if (k.empty() || HasLineBreak(s) || HasLineBreak(k) || k.find('=') != std::string::npos ||
        s.find(']') != std::string::npos || k[0] == '[' || k[0] == ';' || k[0] == '#')
        return;
    // A value is one line: anything from a line break on would become lines of their own.
    const std::string value = text.substr(0, text.find_first_of("\r\n"));

    Content& c = Current();
    if (!c.writable) return;
    try {
        if (deferred_ || path_.empty()) {
            // Kept in memory, where every read sees it, until the next Flush.
            if (Apply(c, s, k, value)) pending_.push_back({std::move(s), std::move(k), value});
            return;
        }
        // The file as it will be; memory changes only once the bytes are on disk.
        Content next = c;
        if (!Apply(next, s, k, value)) return;  // nothing to write
        if (SafeWriteFile(path_, Serialize(next)) != SafeWriteStatus::Ok) return;
        ++next.writes;
        next.stamp = Stamp(path_);
        c = std::move(next);
    } catch (const std::bad_alloc&) {
        // Too little memory to rewrite the file: it stays as it was.
    }
}

void ProfileFile::SetDeferred(bool deferred) {
    deferred_ = deferred;
    if (!deferred) Flush();
}

bool ProfileFile::HasPending() const {
    return !pending_.empty();
}

bool ProfileFile::Flush() {
    if (pending_.empty()) return true;
    if (path_.empty()) return false;  // nowhere to keep them: they live as long as the run
    try {
        // Another program may have changed the file since it was read: the changes go onto
        // what is on disk now, one line each, as immediate writes would have.
        Content& c = *content_;
        if (!(Stamp(path_) == c.stamp)) {
            const std::vector<PendingWrite> pending = std::move(pending_);
            pending_.clear();
            Content& fresh = Current();
            pending_ = pending;
            if (!fresh.writable) return false;
            for (const PendingWrite& w : pending) Apply(fresh, w.section, w.key, w.value);
        }
        if (SafeWriteFile(path_, Serialize(c)) != SafeWriteStatus::Ok) return false;
        ++c.writes;
        c.stamp = Stamp(path_);
        pending_.clear();
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

int ProfileFile::WriteCount() const {
    return content_->writes;
}

void ProfileFile::WriteInt(const std::string& section, const std::string& key, int value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%d", value);
    WriteText(section, key, buf);
}
