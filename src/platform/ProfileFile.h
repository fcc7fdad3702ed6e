#pragma once
// A private settings file: "[section]" headers and "key=value" lines. Section and key
// names match without regard to case; a missing file, section or key gives the default;
// a write changes (or adds) that one line and keeps every other line as it was; the
// file is created on the first write. Reading never fails; write failures are silent.

#include <string>

class ProfileFile {
public:
    explicit ProfileFile(std::string path) : path_(std::move(path)) {}

    int ReadInt(const std::string& section, const std::string& key, int defaultValue) const;
    // At most bufferSize - 1 characters of the value (or of the default) are returned.
    std::string ReadText(const std::string& section, const std::string& key,
                         const std::string& defaultValue, size_t bufferSize = 256) const;
    void WriteText(const std::string& section, const std::string& key, const std::string& text);
    void WriteInt(const std::string& section, const std::string& key, int value);  // "%d"

    const std::string& path() const { return path_; }

private:
    std::string path_;
};
