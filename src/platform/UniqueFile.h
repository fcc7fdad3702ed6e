#pragma once
// A C stream that closes itself, for the readers and writers that use stdio's buffering and
// seeking: no early return can leak the handle.
#include <cstdio>
#include <memory>

struct FileCloser {
    void operator()(std::FILE* f) const {
        // The one place a stream is closed; everything else hands it over to this closer.
        if (f) std::fclose(f);  // NOLINT(cppcoreguidelines-owning-memory)
    }
};

using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

// Closes the stream now and tells whether what was written reached the system (fclose
// flushes the last buffer, so its result is the write's last word).
inline bool CloseFile(UniqueFile& file) {
    return file && std::fclose(file.release()) == 0;  // NOLINT(cppcoreguidelines-owning-memory)
}
