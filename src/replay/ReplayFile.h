#pragma once
// The simulation's replay file (.rpl) as Korvale reads it: the header, the driver table and
// the frames of the data block. The data block is always found from the end of the file
// (file size - D); nothing else in the header says where it lies.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/UniqueFile.h"

inline constexpr int32_t kReplayDriverEntrySize = 33;
inline constexpr int32_t kReplayCarRecordSize = 9;
inline constexpr int32_t kReplayHeaderFixedSize = 48;  // the driver table starts here
inline constexpr uint8_t kReplayModeNoPaceCar = 5;
inline constexpr int32_t kReplayFramesPerSecond = 15;

// Messages of the replay reader (title "Import Error", exclamation icon).
inline constexpr const char* kMsgErrorOpeningReplay = "Error opening replay";
inline constexpr const char* kMsgErrorReadingReplayHeader = "Error reading replay header";
inline constexpr const char* kMsgErrorReadingReplayData = "Error reading replay data";
inline constexpr const char* kMsgErrorFindingLapData = "Error finding lap data";
inline constexpr const char* kMsgErrorReadingLapData = "Error reading lap data";
inline constexpr const char* kImportErrorTitle = "Import Error";

// The replay being read; filled by the open step and handed to every later step.
struct TReplayHeader {
    int32_t DriverCount = 0;  // N: car slots per frame
    int32_t TrackLength = 0;  // track units, from the chosen track
    double TrackScale = 0;    // inches per track unit, from the chosen track
    int32_t Slot = 0;         // slot of the driver whose lap is being read (index + PaceOffset)
    int32_t FrameCount = 0;   // whole frames of the lap being read
    uint8_t PaceOffset = 0;   // 1 when the table's first entry is the pace car
};

// One lap of one driver inside the replay. A driver's laps are kept in order in a vector,
// which stands for the chain of Next links: element k + 1 is element k's Next.
struct TReplayLapInfo {
    int32_t FileOffset = 0;  // file offset of the lap's first frame
    int32_t FrameCount = 0;  // frames of the lap
    double ExactFrames = 0;  // line crossing to line crossing, in frames
    // Where the lap's ends lie, in frames from its first frame: its start on the crossing
    // before its first sample (0 for the stretch from the recording's start), its end on
    // the crossing after its last (unset for the stretch to the recording's end). A full
    // lap's ExactFrames is EndFrame - StartFrame, and the lap read from the replay has
    // these very ends.
    double StartFrame = 0;
    double EndFrame = 0;
};

// One 33-byte driver-table entry as stored in the file, after the reader's fix-ups
// (byte 31 forced to NUL, an empty name replaced by "Unknown").
struct TReplayDriver {
    char name[32] = {};
    int8_t carNumber = 0;  // 100 and above: value - 100 written with a leading zero
};

// The driver as the import dialogs list it: " #7 - Name", "#24 - Name", "#05 - Name".
std::string DriverListText(const TReplayDriver& driver);

// A replay file opened for binary reading, with its own read buffer so that the scan over
// the whole data block costs little more than reading the file. All reads are bounded by
// the file's size; a read past the end fails rather than returning short data.
class TReplayFile {
  public:
    TReplayFile();
    ~TReplayFile();
    TReplayFile(const TReplayFile&) = delete;
    TReplayFile& operator=(const TReplayFile&) = delete;
    TReplayFile(TReplayFile&&) noexcept;
    TReplayFile& operator=(TReplayFile&&) noexcept;

    // Opens the path exactly as given. False: "Error opening replay".
    bool Open(const std::string& path);
    void Close();
    bool IsOpen() const;

    int64_t Size() const { return size_; }
    int64_t Offset() const { return offset_; }
    bool Seek(int64_t offset);  // false beyond the file's end or before its start
    bool Read(void* out, int64_t count);
    bool Skip(int64_t count) {
        if (!file_ || count < 0 || count > size_ - offset_) return false;
        offset_ += count;
        return true;
    }
    bool ReadU8(uint8_t& v) {
        const uint8_t* p = Peek(1);
        if (!p) return false;
        v = *p;
        return true;
    }
    bool ReadI32(int32_t& v) {
        const uint8_t* p = Peek(4);
        if (!p) return false;
        v = int32_t(uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) |
                    (uint32_t(p[3]) << 24));
        return true;
    }

    // The next count bytes straight from the buffer (valid until the next call), or nullptr
    // when fewer remain in the file. Lets the frame readers avoid copying; the common case,
    // bytes already buffered, stays inline because the scan asks for a few bytes at a time.
    const uint8_t* Peek(int64_t count) {
        if (count >= 0 && offset_ >= bufferStart_ && count <= bufferEnd_ - offset_) {
            const uint8_t* p = buffer_.data() + (offset_ - bufferStart_);
            offset_ += count;
            return p;
        }
        return PeekSlow(count);
    }

  private:
    bool Fill(int64_t count);
    const uint8_t* PeekSlow(int64_t count);

    UniqueFile file_;
    int64_t size_ = 0;
    int64_t offset_ = 0;  // file offset of the next byte to hand out
    std::vector<uint8_t> buffer_;
    int64_t bufferStart_ = 0;  // file offset of buffer_[0]
    int64_t bufferEnd_ = 0;    // file offset just past the buffered bytes
};

// Reads the header and the driver table. Returns D (the data block's size), or 0 when the
// header cannot be read ("Error reading replay header"): a short file, D of 0 or below, a
// negative slot count, or a driver table that the file cannot hold. A D larger than the file
// is left to the scan, which reports "Error reading replay data".
// Sets header.DriverCount and header.PaceOffset; replaces drivers with N entries.
int32_t ReadReplayHeader(TReplayFile& file, TReplayHeader& header,
                         std::vector<TReplayDriver>& drivers);
