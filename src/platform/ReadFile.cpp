#include "platform/ReadFile.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

constexpr size_t kBufferBytes = 1 << 16;

// Opens without blocking and keeps the descriptor only for a regular file; clears the
// non-blocking flag again so that reads of the file behave as usual.
int OpenRegular(const std::string& path, int64_t& size) {
#ifdef _WIN32
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return -1;
    const int fd = ::_open(path.c_str(), _O_RDONLY | _O_BINARY);
    if (fd < 0) return -1;
    struct _stat64 st;
    if (::_fstat64(fd, &st) != 0) {
        ::_close(fd);
        return -1;
    }
    size = st.st_size;
    return fd;
#else
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    size = static_cast<int64_t>(st.st_size);
    return fd;
#endif
}

void CloseFd(int fd) {
#ifdef _WIN32
    ::_close(fd);
#else
    ::close(fd);
#endif
}

long long ReadFd(int fd, char* into, size_t count) {
    for (;;) {
#ifdef _WIN32
        const long long n = ::_read(fd, into, static_cast<unsigned>(count));
#else
        const long long n = ::read(fd, into, count);
#endif
        if (n >= 0 || errno != EINTR) return n;
    }
}

long long SeekFd(int fd, long long offset, int whence) {
#ifdef _WIN32
    return ::_lseeki64(fd, offset, whence);
#else
    return ::lseek(fd, static_cast<off_t>(offset), whence);
#endif
}

}  // namespace

// A read buffer over the descriptor with the seeking that the readers use (tellg, and
// seekg to the end and back to learn what is left).
class TReadFile::Buffer : public std::streambuf {
  public:
    explicit Buffer(int fd) : fd_(fd), data_(kBufferBytes) {}
    ~Buffer() override { CloseFd(fd_); }

  protected:
    int_type underflow() override {
        if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
        const long long n = ReadFd(fd_, data_.data(), data_.size());
        if (n <= 0) return traits_type::eof();
        setg(data_.data(), data_.data(), data_.data() + n);
        return traits_type::to_int_type(*gptr());
    }
    pos_type seekoff(off_type off, std::ios_base::seekdir dir, std::ios_base::openmode) override {
        // The descriptor stands at the end of the buffered bytes.
        const long long buffered = egptr() - gptr();
        long long target = 0;
        if (dir == std::ios_base::cur) {
            const long long at = SeekFd(fd_, 0, SEEK_CUR);
            if (at < 0) return pos_type(off_type(-1));
            target = at - buffered + off;
        } else if (dir == std::ios_base::end) {
            const long long end = SeekFd(fd_, 0, SEEK_END);
            if (end < 0) return pos_type(off_type(-1));
            target = end + off;
        } else {
            target = off;
        }
        return seekpos(pos_type(off_type(target)), std::ios_base::in);
    }
    pos_type seekpos(pos_type pos, std::ios_base::openmode) override {
        const long long at = SeekFd(fd_, static_cast<long long>(pos), SEEK_SET);
        setg(data_.data(), data_.data(), data_.data());
        if (at < 0) return pos_type(off_type(-1));
        return pos_type(off_type(at));
    }
    std::streamsize xsgetn(char* s, std::streamsize n) override {
        std::streamsize done = 0;
        while (done < n) {
            const std::streamsize inBuffer = egptr() - gptr();
            if (inBuffer > 0) {
                const std::streamsize k = std::min(inBuffer, n - done);
                std::memcpy(s + done, gptr(), static_cast<size_t>(k));
                gbump(static_cast<int>(k));
                done += k;
            } else if (n - done >= static_cast<std::streamsize>(data_.size())) {
                // Large reads go straight to the caller.
                const long long got = ReadFd(fd_, s + done, static_cast<size_t>(n - done));
                if (got <= 0) break;
                done += got;
            } else if (underflow() == traits_type::eof()) {
                break;
            }
        }
        return done;
    }

  private:
    int fd_;
    std::vector<char> data_;
};

TReadFile::TReadFile() : stream_(nullptr) {}

TReadFile::~TReadFile() {
    Close();
}

bool TReadFile::Open(const std::string& path) {
    Close();
    int64_t size = 0;
    const int fd = OpenRegular(path, size);
    if (fd < 0) return false;
    buffer_ = std::make_unique<Buffer>(fd);
    stream_.rdbuf(buffer_.get());
    stream_.clear();
    size_ = size;
    return true;
}

void TReadFile::Close() {
    stream_.rdbuf(nullptr);
    buffer_.reset();
    size_ = 0;
}

bool TReadFile::IsOpen() const {
    return buffer_ != nullptr;
}

bool TReadFile::ReadAll(std::vector<uint8_t>& bytes, int64_t maxBytes) {
    bytes.clear();
    if (!buffer_ || size_ > maxBytes) return false;
    bytes.reserve(static_cast<size_t>(size_));
    char chunk[kBufferBytes];
    for (;;) {
        stream_.read(chunk, sizeof chunk);
        const std::streamsize got = stream_.gcount();
        // The file may have grown since it was measured.
        if (static_cast<int64_t>(bytes.size()) + got > maxBytes) return false;
        bytes.insert(bytes.end(), chunk, chunk + got);
        if (!stream_) break;
    }
    return stream_.eof() && !stream_.bad();
}

std::FILE* OpenRegularFileForReading(const std::string& path) {
    int64_t size = 0;
    const int fd = OpenRegular(path, size);
    if (fd < 0) return nullptr;
#ifdef _WIN32
    std::FILE* f = ::_fdopen(fd, "rb");
#else
    std::FILE* f = ::fdopen(fd, "rb");
#endif
    if (!f) CloseFd(fd);
    return f;
}
