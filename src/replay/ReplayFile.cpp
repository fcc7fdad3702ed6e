#include "replay/ReplayFile.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "platform/NameCodec.h"
#include "platform/ReadFile.h"

namespace {

constexpr int64_t kBufferSize = 1 << 20;

int32_t LoadI32(const uint8_t* p) {
    uint32_t v =
        uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
    return int32_t(v);
}

}  // namespace

std::string DriverListText(const TReplayDriver& driver) {
    char name[32];
    std::memcpy(name, driver.name, sizeof name);
    name[31] = '\0';
    const int n = driver.carNumber;
    // The list shows UTF-8; a name of 31 bytes takes at most 93 of it.
    const std::string shown = NameToUtf8(name);
    char text[128];
    if (n < 100)
        std::snprintf(text, sizeof text, "%s#%d - %s", n < 10 ? " " : "", n, shown.c_str());
    else
        std::snprintf(text, sizeof text, "#0%d - %s", n - 100, shown.c_str());
    return text;
}

TReplayFile::TReplayFile() = default;

TReplayFile::~TReplayFile() {
    Close();
}

TReplayFile::TReplayFile(TReplayFile&& other) noexcept {
    *this = std::move(other);
}

TReplayFile& TReplayFile::operator=(TReplayFile&& other) noexcept {
    if (this != &other) {
        Close();
        file_ = std::move(other.file_);
        size_ = other.size_;
        offset_ = other.offset_;
        buffer_ = std::move(other.buffer_);
        bufferStart_ = other.bufferStart_;
        bufferEnd_ = other.bufferEnd_;
        other.size_ = other.offset_ = other.bufferStart_ = other.bufferEnd_ = 0;
    }
    return *this;
}

bool TReplayFile::Open(const std::string& path) {
    Close();
    // Only a regular file, opened without blocking: a directory reports an absurd size on
    // some systems, and a FIFO would wait for ever.
    UniqueFile f(OpenRegularFileForReading(path));
    if (!f || std::fseek(f.get(), 0, SEEK_END) != 0) return false;
    const long size = std::ftell(f.get());
    if (size < 0 || std::fseek(f.get(), 0, SEEK_SET) != 0) return false;
    file_ = std::move(f);
    size_ = size;
    offset_ = bufferStart_ = bufferEnd_ = 0;
    return true;
}

void TReplayFile::Close() {
    file_.reset();
    size_ = offset_ = bufferStart_ = bufferEnd_ = 0;
    buffer_.clear();
    buffer_.shrink_to_fit();
}

bool TReplayFile::IsOpen() const {
    return file_ != nullptr;
}

bool TReplayFile::Seek(int64_t offset) {
    if (!file_ || offset < 0 || offset > size_) return false;
    offset_ = offset;
    return true;
}

// Makes [offset_, offset_ + count) available in the buffer, reading ahead in large blocks.
bool TReplayFile::Fill(int64_t count) {
    if (!file_ || count < 0 || count > size_ - offset_) return false;
    if (offset_ >= bufferStart_ && offset_ + count <= bufferEnd_) return true;
    const int64_t want = std::min(std::max(count, kBufferSize), size_ - offset_);
    if (int64_t(buffer_.size()) < want) buffer_.resize(size_t(want));
    if (std::fseek(file_.get(), long(offset_), SEEK_SET) != 0) return false;
    const size_t got = std::fread(buffer_.data(), 1, size_t(want), file_.get());
    bufferStart_ = offset_;
    bufferEnd_ = offset_ + int64_t(got);
    return int64_t(got) >= count;
}

const uint8_t* TReplayFile::PeekSlow(int64_t count) {
    if (!Fill(count)) return nullptr;
    const uint8_t* p = buffer_.data() + (offset_ - bufferStart_);
    offset_ += count;
    return p;
}

bool TReplayFile::Read(void* out, int64_t count) {
    const uint8_t* p = Peek(count);
    if (!p) return false;
    if (count > 0) std::memcpy(out, p, size_t(count));
    return true;
}

int32_t ReadReplayHeader(TReplayFile& file, TReplayHeader& header,
                         std::vector<TReplayDriver>& drivers) {
    uint8_t head[16];
    if (!file.Seek(0) || !file.Read(head, sizeof head)) return 0;
    const int32_t count = LoadI32(head + 12);
    const int32_t dataSize = LoadI32(head + 4);
    uint8_t mode = 0;
    if (!file.Seek(20) || !file.ReadU8(mode)) return 0;
    const uint8_t paceOffset = mode == kReplayModeNoPaceCar ? 0 : 1;
    // A size of 0 or below cannot describe a data block; a negative slot count cannot be
    // a table. Both are refused before anything is allocated for them.
    if (dataSize <= 0 || count < 0) return 0;
    const int64_t tableStart =
        kReplayHeaderFixedSize + int64_t(kReplayDriverEntrySize) * paceOffset;
    if (int64_t(count) * kReplayDriverEntrySize > file.Size() - tableStart) return 0;
    if (!file.Seek(tableStart)) return 0;

    std::vector<TReplayDriver> table;
    table.reserve(static_cast<size_t>(count));
    for (int32_t k = 0; k < count; ++k) {
        uint8_t entry[kReplayDriverEntrySize];
        if (!file.Read(entry, sizeof entry)) return 0;
        TReplayDriver& d = table.emplace_back();
        std::memcpy(d.name, entry, sizeof d.name);
        d.name[31] = '\0';
        if (d.name[0] == '\0') std::strcpy(d.name, "Unknown");
        d.carNumber = int8_t(entry[32]);
    }
    drivers = std::move(table);
    header.DriverCount = count;
    header.PaceOffset = paceOffset;
    return dataSize;
}
