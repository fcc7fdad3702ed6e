#pragma once
// Saving a file so that a failed save never destroys the earlier one: the bytes go to a
// temporary file beside the target, are flushed to disk, and the temporary file is renamed
// over the target only when everything was written. The save respects what it replaces:
//  - a symlink is followed and its target is replaced, the link stays;
//  - an existing target that is not a regular file, or that the user may not write, is
//    refused;
//  - the new file takes the old one's mode (and owner and group where permitted);
//  - a file with several hard links is rewritten in place from the finished temporary
//    copy, so that every name still shows the new contents;
//  - where the directory cannot take a temporary file but the file itself can be written,
//    the file is written in place;
//  - the temporary name fits the file system's name limit, and no temporary file survives
//    a failure.
//
//   TSafeWrite out(path);
//   if (!out.Open()) -> "cannot create"
//   out.Stream() << ...;            (or Write)
//   if (!out.Commit()) -> "write failed"   (the target is unchanged unless written in place)

#include <memory>
#include <ostream>
#include <string>

class TTempPathGuard;

class TSafeWrite {
  public:
    explicit TSafeWrite(std::string target);
    ~TSafeWrite();  // discards what was not committed
    TSafeWrite(const TSafeWrite&) = delete;
    TSafeWrite& operator=(const TSafeWrite&) = delete;

    // Checks the target and opens the file to write. False: the file cannot be created.
    bool Open();
    std::ostream& Stream() { return stream_; }
    bool Write(const void* data, size_t size);
    // Writes out, flushes to disk and puts the new file in place. False when any write
    // failed or the file could not be put in place; the temporary file is then gone.
    bool Commit();
    // Gives up: removes the temporary file (a file being written in place keeps what was
    // written).
    void Discard();

    // The file that is really written (the target with its symlinks followed).
    const std::string& ResolvedPath() const { return resolved_; }
    // True once Open chose to write the target in place.
    bool InPlace() const { return inPlace_; }

  private:
    class Buffer;
    std::string target_;
    std::string resolved_;
    std::string temp_;                           // empty when writing in place
    std::unique_ptr<TTempPathGuard> tempGuard_;  // removes temp_ if a signal ends the program
    bool inPlace_ = false;
    bool copyBack_ = false;  // hard-linked target: copy the finished file into it
    std::unique_ptr<Buffer> buffer_;
    std::ostream stream_;
};

// One call for a whole buffer: false when the file cannot be created or written.
enum class SafeWriteStatus { Ok, CannotCreate, WriteFailed };
SafeWriteStatus SafeWriteFile(const std::string& target, const std::string& bytes);
