#include "platform/Archive.h"

#include <zip.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <new>
#include <optional>
#include <system_error>

#include "platform/TempCleanup.h"
#include "platform/UniqueFile.h"

namespace fs = std::filesystem;

namespace {

struct ZipCloser {
    void operator()(zip_t* z) const { zip_discard(z); }
};
using ZipHandle = std::unique_ptr<zip_t, ZipCloser>;

struct ZipFileCloser {
    void operator()(zip_file_t* f) const { zip_fclose(f); }
};
using ZipFileHandle = std::unique_ptr<zip_file_t, ZipFileCloser>;

int CodeForOpenError(int zipError) {
    switch (zipError) {
        case ZIP_ER_NOZIP:
            return kArchiveNotZip;
        case ZIP_ER_MEMORY:
            return kArchiveOutOfMemory;
        case ZIP_ER_OPEN:
        case ZIP_ER_NOENT:
            return kArchiveCannotOpen;
        default:
            // Inconsistent headers, a cut-off central directory, a failed read or seek.
            return kArchiveDamaged;
    }
}

// A ZIP file begins with a member's local header; one that does but has no end record was
// cut off (a copy or download that stopped), which is no reason to call it "not a ZIP".
bool BeginsLikeZip(const std::string& path) {
    const UniqueFile f(std::fopen(path.c_str(), "rb"));
    std::array<char, 4> head{};
    return f && std::fread(head.data(), 1, head.size(), f.get()) == head.size() &&
           head == std::array<char, 4>{'P', 'K', 3, 4};
}

int OpenArchive(const std::string& path, ZipHandle& out) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec || !fs::exists(status)) return kArchiveCannotOpen;
    // A pipe or a device would block the open or stream for ever.
    if (!fs::is_regular_file(status)) return kArchiveNotRegularFile;
    int error = 0;
    zip_t* z = zip_open(path.c_str(), ZIP_RDONLY, &error);
    if (!z) {
        if (error == ZIP_ER_NOZIP && BeginsLikeZip(path)) return kArchiveIncomplete;
        return CodeForOpenError(error);
    }
    out.reset(z);
    return kArchiveOk;
}

bool IsDirectoryName(const char* name) {
    const std::string n(name);
    return !n.empty() && (n.back() == '/' || n.back() == '\\');
}

// Unix permissions sit in the high half of the external attributes; a link is type 0120000.
bool IsLink(zip_t* z, zip_uint64_t index) {
    zip_uint8_t opsys = 0;
    zip_uint32_t attributes = 0;
    if (zip_file_get_external_attributes(z, index, 0, &opsys, &attributes) != 0) return false;
    return opsys == ZIP_OPSYS_UNIX && ((attributes >> 16) & 0170000) == 0120000;
}

int CodeForReadError(zip_error_t* error) {
    switch (zip_error_code_zip(error)) {
        case ZIP_ER_MEMORY:
            return kArchiveOutOfMemory;
        case ZIP_ER_COMPNOTSUPP:
            return kArchiveUnsupportedCompression;
        case ZIP_ER_ENCRNOTSUPP:
        case ZIP_ER_NOPASSWD:
        case ZIP_ER_WRONGPASSWD:
            return kArchiveEncrypted;
        default:
            return kArchiveMemberDamaged;
    }
}

int CodeForWriteError(int err) {
    if (err == ENOSPC
#ifdef EDQUOT
        || err == EDQUOT
#endif
    )
        return kArchiveDiskFull;
    return kArchiveWriteFailed;
}

// The output file: removed again unless the extraction completed.
class OutputFile {
  public:
    explicit OutputFile(fs::path path) : path_(std::move(path)) {}
    ~OutputFile() {
        file_.reset();
        if (created_ && !kept_) {
            std::error_code ec;
            fs::remove(path_, ec);
        }
    }
    bool Create() {
        // "x": never through a link or over a file that appeared meanwhile.
        errno = 0;
        file_ = UniqueFile(std::fopen(path_.string().c_str(), "wbx"));
        created_ = file_ != nullptr;
        createError_ = created_ ? 0 : errno;
        if (created_) guard_.emplace(path_.string());
        return created_;
    }
    // The errno of a failed Create.
    int CreateError() const { return createError_; }
    int Write(const char* data, size_t n) {
        errno = 0;
        if (std::fwrite(data, 1, n, file_.get()) != n) return CodeForWriteError(errno);
        return kArchiveOk;
    }
    int Close() {
        errno = 0;
        return CloseFile(file_) ? kArchiveOk : CodeForWriteError(errno);
    }
    void Keep() { kept_ = true; }

  private:
    fs::path path_;
    UniqueFile file_;
    bool created_ = false;
    bool kept_ = false;
    int createError_ = 0;
    std::optional<TTempPathGuard> guard_;  // a half-written file goes with a signal too
};

// Checks what the member says of itself before anything is written.
int CheckMember(zip_t* z, zip_uint64_t index, const zip_stat_t& st) {
    if (IsLink(z, index)) return kArchiveLink;
    if ((st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE)
        return kArchiveEncrypted;
    if ((st.valid & ZIP_STAT_COMP_METHOD) && !zip_compression_method_supported(st.comp_method, 0))
        return kArchiveUnsupportedCompression;
    if (!(st.valid & ZIP_STAT_SIZE) || !(st.valid & ZIP_STAT_COMP_SIZE))
        return kArchiveMemberDamaged;
    if (st.size > kArchiveMaxMemberSize) return kArchiveMemberTooLarge;
    return kArchiveOk;
}

int CopyMember(zip_t* z, zip_uint64_t index, uint64_t size, OutputFile& out,
               TArchiveProgress& progress) {
    ZipFileHandle in(zip_fopen_index(z, index, 0));
    if (!in) return CodeForReadError(zip_get_error(z));
    std::array<char, std::size_t{64} * 1024> buffer;
    uint64_t total = 0;
    int lastPercent = -1;
    for (;;) {
        const zip_int64_t n = zip_fread(in.get(), buffer.data(), buffer.size());
        if (n < 0) return CodeForReadError(zip_file_get_error(in.get()));
        if (n == 0) break;
        total += uint64_t(n);
        // More data than the member declared: its headers lie.
        if (total > size) return kArchiveMemberDamaged;
        if (const int code = out.Write(buffer.data(), size_t(n))) return code;
        const int percent = int(total * 100 / (size ? size : 1));
        if (progress.Post(percent, {}) == kArchiveAbort) return kArchiveStopped;
        lastPercent = percent;
    }
    if (total != size) return kArchiveMemberDamaged;
    if (zip_fclose(in.release()) != 0) return kArchiveMemberDamaged;
    if (lastPercent != 100 && progress.Post(100, {}) == kArchiveAbort) return kArchiveStopped;
    return kArchiveOk;
}

}  // namespace

std::string ArchiveMemberFileName(const std::string& memberName) {
    const size_t slash = memberName.find_last_of("/\\");
    std::string name = slash == std::string::npos ? memberName : memberName.substr(slash + 1);
    if (name.empty() || name == "." || name == "..") return {};
    for (const char c : name)
        if (c == ':' || static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return {};
    return name;
}

int ListArchiveMembers(const std::string& archivePath, std::vector<TArchiveMember>& names) {
    names.clear();
    try {
        ZipHandle z;
        if (const int code = OpenArchive(archivePath, z)) return code;
        const zip_int64_t count = zip_get_num_entries(z.get(), 0);
        if (count < 0) return kArchiveDamaged;
        for (zip_int64_t i = 0; i < count; ++i) {
            const char* name = zip_get_name(z.get(), zip_uint64_t(i), 0);
            if (!name) return kArchiveDamaged;
            if (IsDirectoryName(name)) continue;
            zip_stat_t st;
            zip_stat_init(&st);
            const bool known = zip_stat_index(z.get(), zip_uint64_t(i), 0, &st) == 0 &&
                               (st.valid & ZIP_STAT_COMP_METHOD);
            names.push_back({name, zip_uint64_t(i), known ? int(st.comp_method) : 0});
        }
    } catch (const std::bad_alloc&) {
        names.clear();
        return kArchiveOutOfMemory;
    }
    if (names.empty()) return kArchiveNoReplays;
    return kArchiveOk;
}

int ExtractArchiveMember(const std::string& archivePath, const std::string& destinationDirectory,
                         const TArchiveMember& member, TArchiveProgress& progress,
                         std::string& extractedName) {
    extractedName.clear();
    try {
        ZipHandle z;
        if (const int code = OpenArchive(archivePath, z)) return code;
        // By position, not by name: two members may share a name. The name checks that the
        // archive was not replaced since it was listed.
        const zip_int64_t count = zip_get_num_entries(z.get(), 0);
        if (count < 0 || member.index >= zip_uint64_t(count)) return kArchiveMemberMissing;
        const zip_uint64_t index = member.index;
        const char* name = zip_get_name(z.get(), index, 0);
        if (!name || member.name != name) return kArchiveMemberMissing;
        if (IsDirectoryName(name)) return kArchiveDirectoryMember;
        const std::string fileName = ArchiveMemberFileName(member.name);
        if (fileName.empty()) return kArchiveUnsafeName;

        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(z.get(), index, 0, &st) != 0) return kArchiveDamaged;
        if (const int code = CheckMember(z.get(), index, st)) return code;

        std::error_code ec;
        const fs::space_info space = fs::space(destinationDirectory, ec);
        if (!ec && space.available < st.size) return kArchiveDiskFull;

        if (progress.Post(kArchiveStatusText, "Extracting " + fileName) == kArchiveAbort ||
            progress.Post(0, {}) == kArchiveAbort)
            return kArchiveStopped;

        const fs::path target = fs::path(destinationDirectory) / fileName;
        const fs::file_status existing = fs::symlink_status(target, ec);
        if (!ec && fs::exists(existing)) {
            const int answer = progress.Post(kArchiveOverwriteQuestion, target.string());
            if (answer != kArchiveOverwriteYes) return kArchiveStopped;
            if (fs::is_directory(existing) || !fs::remove(target, ec)) return kArchiveCannotCreate;
        }
        OutputFile out(target);
        if (!out.Create())
            return out.CreateError() == ENAMETOOLONG ? kArchiveNameTooLong : kArchiveCannotCreate;
        if (const int code = CopyMember(z.get(), index, st.size, out, progress)) return code;
        if (const int code = out.Close()) return code;
        out.Keep();
        extractedName = fileName;
        return kArchiveOk;
    } catch (const std::bad_alloc&) {
        return kArchiveOutOfMemory;
    }
}

std::string ArchiveErrorText(int code) {
    switch (code) {
        case kArchiveCannotOpen:
            return "The replay archive cannot be opened: it does not exist or cannot be read.";
        case kArchiveNotRegularFile:
            return "The replay archive is not a regular file.";
        case kArchiveNotZip:
            return "The file is not a replay archive: it is not a ZIP file.";
        case kArchiveDamaged:
            return "The replay archive is damaged: its list of contents cannot be read.";
        case kArchiveNoReplays:
            return "The replay archive holds no replays.";
        case kArchiveMemberMissing:
            return "The chosen replay is no longer in the archive.";
        case kArchiveMemberDamaged:
            return "The replay in the archive is damaged: its data does not unpack to what the "
                   "archive says it holds.";
        case kArchiveUnsupportedCompression:
            return "The replay in the archive is packed with a compression method that Korvale "
                   "cannot unpack.";
        case kArchiveEncrypted:
            return "The replay in the archive is encrypted; Korvale cannot read encrypted "
                   "archives.";
        case kArchiveMemberTooLarge:
            return "The replay in the archive claims to be larger than 256 MB, which no replay "
                   "is; it was not extracted.";
        case kArchiveIncomplete:
            return "The replay archive is damaged or incomplete: it ends before its list of "
                   "contents, as a copy or download that stopped early does.";
        case kArchiveUnsafeName:
            return "The name of the replay in the archive is not a usable file name.";
        case kArchiveLink:
            return "The chosen archive entry is a link, not a replay; links are not extracted.";
        case kArchiveCannotCreate:
            return "The extracted replay cannot be created in the temporary folder.";
        case kArchiveDiskFull:
            return "The disk is full: there is no room to extract the replay.";
        case kArchiveWriteFailed:
            return "The extracted replay could not be written.";
        case kArchiveOutOfMemory:
            return "Not enough memory to read the replay archive.";
        case kArchiveDirectoryMember:
            return "The chosen archive entry is a folder, not a replay.";
        case kArchiveNameTooLong:
            return "The name of the replay in the archive is too long for the file system; it "
                   "was not extracted.";
        default:
            return "The replay archive could not be read (error " + std::to_string(code) + ").";
    }
}

std::string CompressionMethodName(int method) {
    struct Known {
        int method;
        const char* name;
    };
    static constexpr Known kKnown[] = {
        {0, "Stored"},     {1, "Shrink"},      {6, "Implode"},    {8, "Deflate"},
        {9, "Deflate64"},  {10, "PKWARE DCL"}, {12, "BZIP2"},     {14, "LZMA"},
        {18, "IBM TERSE"}, {19, "LZ77"},       {93, "Zstandard"}, {95, "XZ"},
        {96, "JPEG"},      {97, "WavPack"},    {98, "PPMd"},      {99, "AES"},
    };
    for (const Known& k : kKnown)
        if (k.method == method) return std::string(k.name) + " (" + std::to_string(method) + ")";
    return "method " + std::to_string(method);
}

std::string ArchiveErrorText(int code, const TArchiveMember& member) {
    if (code == kArchiveUnsupportedCompression)
        return "The replay in the archive is packed with the compression method " +
               CompressionMethodName(member.compressionMethod) + ", which Korvale cannot unpack.";
    return ArchiveErrorText(code);
}
