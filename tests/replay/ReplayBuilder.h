#pragma once
// Builds replay files byte by byte for the reader tests: a header, a driver table and
// frames whose every field the test chooses.

#include <unistd.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace replay_test {

struct Car {
    int32_t slot;
    int32_t position;
    int16_t line = 0;
    int16_t heading = 0;
    uint8_t aux = 0;
};

inline void Put32(std::vector<uint8_t>& b, int32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(uint8_t(uint32_t(v) >> (8 * i)));
}
inline void Put16(std::vector<uint8_t>& b, int32_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(uint32_t(v) >> 8));
}

class ReplayBuilder {
  public:
    static constexpr int32_t kTrueLength = INT32_MIN;

    // slots: N, the records per frame; mode 5 means no pace-car entry.
    ReplayBuilder(int32_t slots, uint8_t mode = 4) : slots_(slots), mode_(mode) {}

    ReplayBuilder& Driver(const std::string& name, int8_t carNumber) {
        std::vector<uint8_t> e(33, 0);
        std::memcpy(e.data(), name.data(), std::min<size_t>(name.size(), 32));
        e[32] = uint8_t(carNumber);
        table_.insert(table_.end(), e.begin(), e.end());
        return *this;
    }

    // One frame with the given records (padded with absent slot 127 records up to N), skip
    // lists of the given counts, and the true frame length unless one is forced.
    ReplayBuilder& Frame(std::vector<Car> cars, std::array<int, 3> skips = {0, 0, 0},
                         int32_t forcedLength = kTrueLength) {
        std::vector<uint8_t> f;
        while (int32_t(cars.size()) < slots_) cars.push_back(Car{127, 0});
        for (const Car& c : cars) {
            f.push_back(uint8_t(c.slot * 2));
            Put16(f, c.position & 0xffff);
            f.push_back(uint8_t(c.position >> 16));
            Put16(f, c.line);
            Put16(f, c.heading);
            f.push_back(c.aux);
        }
        const int sizes[3] = {14, 7, 13};
        for (int k = 0; k < 3; ++k) {
            f.push_back(uint8_t(skips[size_t(k)]));
            f.insert(f.end(), size_t(skips[size_t(k)] * sizes[k]), uint8_t(0xAB));
        }
        Put32(f, forcedLength != kTrueLength ? forcedLength : int32_t(f.size() + 4));
        frames_.push_back(f);
        return *this;
    }

    // Bytes between the driver table and the data block, which the reader must not need.
    ReplayBuilder& Gap(size_t bytes) {
        gap_ = bytes;
        return *this;
    }
    ReplayBuilder& ForceDataSize(int32_t d) {
        forcedData_ = d;
        forceData_ = true;
        return *this;
    }

    size_t HeaderSize() const { return 48 + table_.size() + gap_; }
    int32_t FrameOffset(size_t k) const {
        size_t o = HeaderSize();
        for (size_t i = 0; i < k; ++i) o += frames_[i].size();
        return int32_t(o);
    }

    std::vector<uint8_t> Bytes() const {
        std::vector<uint8_t> data;
        for (const auto& f : frames_) data.insert(data.end(), f.begin(), f.end());
        std::vector<uint8_t> b;
        Put32(b, 12345);
        Put32(b, forceData_ ? forcedData_ : int32_t(data.size()));
        Put32(b, 0);
        Put32(b, slots_);
        Put32(b, 0);
        b.push_back(mode_);
        b.resize(48, 0);
        b.insert(b.end(), table_.begin(), table_.end());
        b.insert(b.end(), gap_, uint8_t(0x5A));
        b.insert(b.end(), data.begin(), data.end());
        return b;
    }

  private:
    int32_t slots_;
    uint8_t mode_;
    std::vector<uint8_t> table_;
    std::vector<std::vector<uint8_t>> frames_;
    size_t gap_ = 0;
    int32_t forcedData_ = 0;
    bool forceData_ = false;
};

// A private temporary directory, removed with its contents at the end of the test.
class TempDir {
  public:
    TempDir() {
        path_ = std::filesystem::temp_directory_path() /
                ("korvale-replay-" + std::to_string(getpid()) + "-" + std::to_string(counter_++));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
        std::ofstream out(File(name), std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return File(name);
    }

  private:
    std::filesystem::path path_;
    static inline int counter_ = 0;
};

inline std::vector<uint8_t> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
}

}  // namespace replay_test
