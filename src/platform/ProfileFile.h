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
//
// The file is read once into memory and reads are served from there; it is read again only
// when it has changed on disk since (its size, time or identity differ). A write that
// changes nothing does not touch the file; one that does rewrites it at once, keeping every
// other byte (each line keeps its own line end). What is in memory always mirrors the disk:
// a write that fails leaves memory as it was. Only a regular file is read, without
// blocking; one larger than kMaxSettingsBytes (far beyond any real settings file) or one
// that cannot be read reads as missing and is never written over.
//
// A deferred file (SetDeferred) keeps what is written in memory, where reads see it, and
// writes it all in one safe write at Flush: a program changes many values in a session
// and need not rewrite the file for each. Flush puts the changes onto the file as it is
// on disk then, so that lines another program changed meanwhile are kept. A file with an
// empty path is never written: its values last as long as the object.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

inline constexpr int64_t kMaxSettingsBytes = int64_t{16} << 20;

class ProfileFile {
  public:
    explicit ProfileFile(std::string path);
    ~ProfileFile();
    ProfileFile(const ProfileFile&) = delete;
    ProfileFile& operator=(const ProfileFile&) = delete;

    int ReadInt(const std::string& section, const std::string& key, int defaultValue) const;
    // At most bufferSize - 1 characters of the value (or of the default) are returned.
    std::string ReadText(const std::string& section, const std::string& key,
                         const std::string& defaultValue, size_t bufferSize = 256) const;
    void WriteText(const std::string& section, const std::string& key, const std::string& text);
    void WriteInt(const std::string& section, const std::string& key, int value);  // "%d"

    const std::string& path() const { return path_; }

    void SetDeferred(bool deferred);  // turning it off writes what is pending
    // Writes what was changed since the last Flush in one safe write; false when that
    // failed (the changes stay in memory for the next try) or there is no file to write.
    bool Flush();
    bool HasPending() const;

    // How many times the file was read from disk and written to it (tests and benchmarks
    // measure with them).
    int LoadCount() const;
    int WriteCount() const;

    struct Content;  // the file's lines and their index

  private:
    struct PendingWrite {
        std::string section, key, value;
    };
    Content& Current() const;  // the file's lines, read again when it changed on disk
    std::string path_;
    std::unique_ptr<Content> content_;
    bool deferred_ = false;
    std::vector<PendingWrite> pending_;
};
