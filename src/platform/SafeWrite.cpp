#include "platform/SafeWrite.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>
#include <streambuf>
#include <vector>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "platform/TempCleanup.h"

namespace fs = std::filesystem;

namespace {

constexpr size_t kBufferBytes = 1 << 16;
constexpr int kSymlinkLimit = 40;  // as the kernel's own limit on followed links

#ifdef _WIN32
int OpenFd(const std::string& path, int flags, int mode) {
    return ::_open(path.c_str(), flags | _O_BINARY, mode);
}
long long WriteFd(int fd, const char* p, size_t n) {
    return ::_write(fd, p, static_cast<unsigned>(n));
}
bool CloseFd(int fd) {
    return ::_close(fd) == 0;
}
bool SyncFd(int fd) {
    return ::_commit(fd) == 0;
}
#else
int OpenFd(const std::string& path, int flags, int mode) {
    return ::open(path.c_str(), flags | O_CLOEXEC | O_NOCTTY, mode);
}
long long WriteFd(int fd, const char* p, size_t n) {
    return ::write(fd, p, n);
}
bool CloseFd(int fd) {
    return ::close(fd) == 0;
}
bool SyncFd(int fd) {
    return ::fsync(fd) == 0;
}
#endif

bool WriteAllFd(int fd, const char* p, size_t n) {
    while (n > 0) {
        const long long k = WriteFd(fd, p, n);
        if (k < 0 && errno == EINTR) continue;
        if (k <= 0) return false;
        p += k;
        n -= static_cast<size_t>(k);
    }
    return true;
}

// The file a path really names: symlinks followed one by one, so that a dangling link names
// the file it would create. Empty when the links loop or cannot be read.
std::string ResolveLinks(const std::string& path) {
    fs::path p(path);
    for (int i = 0; i < kSymlinkLimit; ++i) {
        std::error_code ec;
        const fs::file_status st = fs::symlink_status(p, ec);
        if (ec || st.type() != fs::file_type::symlink) return p.string();
        const fs::path link = fs::read_symlink(p, ec);
        if (ec) return {};
        p = link.is_absolute() ? link : p.parent_path() / link;
    }
    return {};
}

long NameLimit(const std::string& dir) {
#ifdef _WIN32
    (void)dir;
    return 255;
#else
    errno = 0;
    const long limit = ::pathconf(dir.c_str(), _PC_NAME_MAX);
    return limit > 0 ? limit : 255;
#endif
}

// ".<name>.XXXXXX" beside the target, the name cut so that the whole fits the limit.
std::string TempName(const fs::path& resolved, long limit, std::mt19937& gen) {
    static constexpr char kAlnum[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string name = resolved.filename().string();
    const size_t fixed = 1 + 1 + 6;  // the dot, the separating dot and the suffix
    const size_t room = limit > static_cast<long>(fixed) ? static_cast<size_t>(limit) - fixed : 0;
    if (name.size() > room) name.resize(room);
    std::string suffix;
    for (int i = 0; i < 6; ++i) suffix += kAlnum[gen() % (sizeof kAlnum - 1)];
    return (resolved.parent_path() / ("." + name + "." + suffix)).string();
}

bool CopyInto(const std::string& from, const std::string& to) {
    const int in = OpenFd(from, O_RDONLY, 0);
    if (in < 0) return false;
    const int out = OpenFd(to, O_WRONLY | O_TRUNC, 0);
    if (out < 0) {
        CloseFd(in);
        return false;
    }
    std::vector<char> buf(kBufferBytes);
    bool ok = true;
    for (;;) {
#ifdef _WIN32
        const long long n = ::_read(in, buf.data(), static_cast<unsigned>(buf.size()));
#else
        const long long n = ::read(in, buf.data(), buf.size());
#endif
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) ok = false;
        if (n <= 0) break;
        if (!WriteAllFd(out, buf.data(), static_cast<size_t>(n))) {
            ok = false;
            break;
        }
    }
    ok = SyncFd(out) && ok;
    ok = CloseFd(out) && ok;
    CloseFd(in);
    return ok;
}

void SyncDirectory(const fs::path& dir) {
#ifndef _WIN32
    const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    (void)dir;
#endif
}

}  // namespace

// A write buffer over the descriptor; the first failed write sticks.
class TSafeWrite::Buffer : public std::streambuf {
  public:
    explicit Buffer(int fd) : fd_(fd), data_(kBufferBytes) {
        setp(data_.data(), data_.data() + data_.size());
    }
    ~Buffer() override { Close(); }

    bool Flush() {
        if (fd_ < 0) return false;
        const size_t n = static_cast<size_t>(pptr() - pbase());
        if (n > 0 && ok_ && !WriteAllFd(fd_, pbase(), n)) ok_ = false;
        setp(data_.data(), data_.data() + data_.size());
        return ok_;
    }
    // Flushes to disk and closes; false when anything failed on the way.
    bool Finish() {
        bool ok = Flush() && SyncFd(fd_);
        ok = Close() && ok;
        return ok && ok_;
    }
    bool Close() {
        if (fd_ < 0) return true;
        const bool ok = CloseFd(fd_);
        fd_ = -1;
        return ok;
    }

  protected:
    int_type overflow(int_type ch) override {
        if (!Flush()) return traits_type::eof();
        if (!traits_type::eq_int_type(ch, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(ch);
            pbump(1);
        }
        return traits_type::not_eof(ch);
    }
    int sync() override { return Flush() ? 0 : -1; }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        if (!ok_) return 0;
        const std::streamsize room = epptr() - pptr();
        if (n <= room) {
            std::memcpy(pptr(), s, static_cast<size_t>(n));
            pbump(static_cast<int>(n));
            return n;
        }
        if (!Flush() || !WriteAllFd(fd_, s, static_cast<size_t>(n))) {
            ok_ = false;
            return 0;
        }
        return n;
    }

  private:
    int fd_;
    bool ok_ = true;
    std::vector<char> data_;
};

TSafeWrite::TSafeWrite(std::string target) : target_(std::move(target)), stream_(nullptr) {}

TSafeWrite::~TSafeWrite() {
    Discard();
}

bool TSafeWrite::Open() {
    Discard();
    resolved_ = ResolveLinks(target_);
    if (resolved_.empty()) return false;

    bool exists = false;
#ifdef _WIN32
    struct _stat64 st {};
    if (::_stat64(resolved_.c_str(), &st) == 0) {
        exists = true;
        if ((st.st_mode & _S_IFMT) != _S_IFREG || (st.st_mode & _S_IWRITE) == 0) return false;
    } else if (errno != ENOENT) {
        return false;
    }
#else
    struct stat st {};
    if (::stat(resolved_.c_str(), &st) == 0) {
        exists = true;
        // A file without any write permission is read-only here even for a user whom the
        // system would let write it (root).
        if (!S_ISREG(st.st_mode) || ::access(resolved_.c_str(), W_OK) != 0 ||
            (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
            return false;
    } else if (errno != ENOENT) {
        return false;
    }
#endif

    const fs::path resolvedPath(resolved_);
    const std::string dir =
        resolvedPath.has_parent_path() ? resolvedPath.parent_path().string() : std::string(".");
    const long limit = NameLimit(dir);
    std::random_device rd;
    std::mt19937 gen(rd());
    int fd = -1;
    for (int attempt = 0; attempt < 64 && fd < 0; ++attempt) {
        const std::string name = TempName(resolvedPath, limit, gen);
        fd = OpenFd(name, O_WRONLY | O_CREAT | O_EXCL, exists ? 0600 : 0666);
        if (fd >= 0) {
            temp_ = name;
            tempGuard_ = std::make_unique<TTempPathGuard>(temp_);
        } else if (errno != EEXIST) {
            break;
        }
    }
    if (fd < 0) {
        // The directory cannot take a temporary file: write the file itself, as long as it
        // is there to be written.
        if (!exists) return false;
        fd = OpenFd(resolved_, O_WRONLY | O_TRUNC, 0);
        if (fd < 0) return false;
        inPlace_ = true;
    }
#ifndef _WIN32
    if (exists && !inPlace_) {
        if (st.st_uid != ::geteuid() || st.st_gid != ::getegid()) {
            if (::fchown(fd, st.st_uid, st.st_gid) != 0)
                (void)!::fchown(fd, static_cast<uid_t>(-1), st.st_gid);
        }
        // After the owner: a change of owner may clear the set-id bits.
        ::fchmod(fd, st.st_mode & 07777);
        copyBack_ = st.st_nlink > 1;
    }
#endif
    buffer_ = std::make_unique<Buffer>(fd);
    stream_.rdbuf(buffer_.get());
    stream_.clear();
    return true;
}

bool TSafeWrite::Write(const void* data, size_t size) {
    if (!buffer_) return false;
    stream_.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    return bool(stream_);
}

bool TSafeWrite::Commit() {
    if (!buffer_) return false;
    stream_.flush();
    bool ok = bool(stream_) && buffer_->Finish();
    stream_.rdbuf(nullptr);
    buffer_.reset();
    if (inPlace_) {
        inPlace_ = false;
        return ok;
    }
    const std::string temp = temp_;
    temp_.clear();
    std::error_code ec;
    if (ok && copyBack_) {
        ok = CopyInto(temp, resolved_);
    } else if (ok) {
        fs::rename(temp, resolved_, ec);
        ok = !ec;
        if (ok) SyncDirectory(fs::path(resolved_).parent_path());
    }
    if (copyBack_ || !ok) fs::remove(temp, ec);
    tempGuard_.reset();
    copyBack_ = false;
    return ok;
}

void TSafeWrite::Discard() {
    stream_.rdbuf(nullptr);
    buffer_.reset();
    if (!temp_.empty()) {
        std::error_code ec;
        fs::remove(temp_, ec);
        temp_.clear();
    }
    tempGuard_.reset();
    inPlace_ = false;
    copyBack_ = false;
}

SafeWriteStatus SafeWriteFile(const std::string& target, const std::string& bytes) {
    TSafeWrite out(target);
    if (!out.Open()) return SafeWriteStatus::CannotCreate;
    out.Write(bytes.data(), bytes.size());
    return out.Commit() ? SafeWriteStatus::Ok : SafeWriteStatus::WriteFailed;
}
