#pragma once
// Opening a file for reading the way every reader here must: without blocking (a FIFO or a
// device named as a document would otherwise wait for ever) and only when it is a regular
// file once symlinks are followed. The open file is offered as a std::istream and as its
// size, so that readers can check counts against the bytes that remain.

#include <cstdint>
#include <cstdio>
#include <istream>
#include <memory>
#include <streambuf>
#include <string>
#include <vector>

class TReadFile {
  public:
    TReadFile();
    ~TReadFile();
    TReadFile(const TReadFile&) = delete;
    TReadFile& operator=(const TReadFile&) = delete;

    // False when the path is missing, unreadable, or not a regular file.
    bool Open(const std::string& path);
    void Close();
    bool IsOpen() const;

    // The file's size when it was opened.
    int64_t Size() const { return size_; }
    // Buffered reading with seeking; valid while the file is open.
    std::istream& Stream() { return stream_; }
    // Reads the whole file into bytes, refusing (false) one larger than maxBytes.
    bool ReadAll(std::vector<uint8_t>& bytes, int64_t maxBytes);

  private:
    class Buffer;
    std::unique_ptr<Buffer> buffer_;
    std::istream stream_;
    int64_t size_ = 0;
};

// The same checks for a C stream reader: a regular file opened "rb", or nullptr.
std::FILE* OpenRegularFileForReading(const std::string& path);
