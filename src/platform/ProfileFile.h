#pragma once
// A private settings file: "[section]" headers and "key=value" lines. Section and key
// names match without regard to case; a missing file, section or key gives the default;
// a write changes (or adds) that one line and keeps every other line as it was; the
// file is created on the first write. Reading never fails; write failures are silent.
//
// Values are read without surrounding blanks and without one pair of enclosing quotes.
// Integers: the leading decimal digits with an optional sign are the number, so "12abc"
// reads 12 as the platform's private-profile reading did; a value with no leading digits,
// or one outside the int range, reads as the default. A written value ends at its first
// line break (the rest would become lines of their own); a write goes to a temporary file
// renamed over the settings file, so a failed write leaves the old settings intact.

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
