#pragma once
// The .kvl document file: the graph's three axis choices, the document's track and every
// lap with its raw samples. Two header versions exist; the reader takes both, the writer
// always writes the current one. Failures are results carrying a status, whose message is
// shown under "Open Error" while reading and "Save Error" while writing, and how far the
// read got, so that the caller can keep what survives.

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "document/TReplay.h"

class TTrackList;

inline constexpr int32_t kKvlMagic = 0x014E5509;         // current version
inline constexpr int32_t kKvlMagicEarlier = 0x014E54EF;  // earlier version, no y2Axis
inline constexpr int32_t kKvlNoneAxis = 7;
// More laps than any real document holds (a replay export takes 36, and each lap is a
// recording of its own): a count beyond this is damage, refused before memory goes to it.
inline constexpr int32_t kKvlMaxLaps = 100000;

inline constexpr const char* kKvlOpenErrorTitle = "Open Error";
inline constexpr const char* kKvlSaveErrorTitle = "Save Error";

// Track id for an earlier-version old track number, or -1 when it cannot be translated
// (16 or more, or negative).
int KvlOldTrackId(int32_t oldNumber);

// One lap record. Reading fills lap (its serial is kept; the stored one is discarded) and
// fails on any short read or on a sample count the remaining bytes cannot hold.
bool ReadKvlLap(std::istream& in, TReplay& lap);
bool WriteKvlLap(std::ostream& out, const TReplay& lap);

// How a document read ended; KvlReadMessage gives the text the user sees.
enum class TKvlReadStatus {
    Ok,
    CannotOpen,    // "Unable to open file"
    NoMagic,       // "Unable to read replay (05)"
    BadMagic,      // "Unable to read replay (06)"
    NoXAxis,       // "Unable to read replay (01)"
    NoYAxis,       // "Unable to read replay (07)"
    NoY2Axis,      // "Unable to read replay (08)"
    NoTrack,       // "Unable to read replay (02)"
    UnknownTrack,  // "Bad track value in file"
    NoLapCount,    // "Unable to read replay (03)"
    BadLap,        // "Unable to read replay (04)": short, damaged, or beyond kKvlMaxLaps
};
// The message that the status stands for ("" for Ok).
const char* KvlReadMessage(TKvlReadStatus status);

// How far a document read got.
enum class KvlReadStage {
    NotOpened,  // the file could not be opened
    Magic,      // stopped at the magic: the document must stay untouched
    Header,     // cleared; stopped somewhere in the axes, track or lap count
    Laps,       // cleared; stopped at a lap record (laps holds the complete ones)
    Done,
};

struct KvlReadResult {
    bool ok = false;  // status is Ok
    TKvlReadStatus status = TKvlReadStatus::CannotOpen;
    KvlReadStage stage = KvlReadStage::NotOpened;
    const char* message() const { return KvlReadMessage(status); }

    bool earlierVersion = false;  // the file was of the earlier version: mark dirty
    // Axis values read so far (each valid only when its flag is set; y2Axis is 7 with
    // the earlier version as soon as the version is known).
    bool hasXAxis = false, hasYAxis = false, hasY2Axis = false;
    int32_t xAxis = 0, yAxis = 0, y2Axis = kKvlNoneAxis;
    // Index of the document's track in the track list, or -1 when not reached / not found.
    int currentTrack = -1;
    int32_t lapCount = 0;  // as the file gives it (valid once stage reaches Laps)
    // Every complete lap in file order, each with a fresh serial.
    std::vector<std::unique_ptr<TReplay>> laps;

    // True when the caller must clear the document (everything from the axes on).
    bool DocumentCleared() const {
        return stage == KvlReadStage::Header || stage == KvlReadStage::Laps ||
               stage == KvlReadStage::Done;
    }
};

// Reads a whole document. The stream version reads from in's current position. The path
// version opens only a regular file, without blocking ("Unable to open file" otherwise).
// Running out of memory on a lap is reported as that lap's failure.
KvlReadResult ReadKvlDocument(const std::string& path, const TTrackList& tracks);
KvlReadResult ReadKvlDocument(std::istream& in, const TTrackList& tracks);

// How a document write ended; KvlWriteMessage gives the text the user sees.
enum class TKvlWriteStatus {
    Ok,
    CannotCreate,  // "Unable to create file"
    NoMagic,       // "Unable to save replay (06)"
    NoXAxis,       // "Unable to save replay (01)"
    NoYAxis,       // "Unable to save replay (02)"
    NoY2Axis,      // "Unable to save replay (07)"
    NoTrack,       // "Unable to save replay (04)"
    NoLapCount,    // "Unable to save replay (03)": also bytes lost from a document without laps
    NoLap,         // "Unable to save replay (05)": a lap, or bytes lost after the laps
};
// The message that the status stands for ("" for Ok).
const char* KvlWriteMessage(TKvlWriteStatus status);

struct KvlWriteResult {
    bool ok = false;  // status is Ok
    TKvlWriteStatus status = TKvlWriteStatus::CannotCreate;
    const char* message() const { return KvlWriteMessage(status); }
};

// What a document write takes: the axes, the track id of the current track and the laps
// in document order.
struct KvlDocumentView {
    int32_t xAxis = 1, yAxis = 2, y2Axis = kKvlNoneAxis;
    uint8_t trackId = 0;
    const std::vector<const TReplay*>* laps = nullptr;
};

// Writes the document to the stream, or to the file at path (created or replaced, the
// same safe way as SafeSaveKvlDocument).
KvlWriteResult WriteKvlDocument(std::ostream& out, const KvlDocumentView& doc);
KvlWriteResult WriteKvlDocument(const std::string& path, const KvlDocumentView& doc);

// Saves through TSafeWrite (platform/SafeWrite.h): a temporary file beside the target,
// flushed to disk and renamed over it only when every byte was written, so a failed save
// never destroys the earlier file; symlinks, mode, owner and hard links of the target are
// respected. "Unable to create file" when the target is refused (not a regular file, not
// writable) or cannot be created; "Unable to save replay (05)" ((03) without laps) when
// the bytes cannot be put on disk.
KvlWriteResult SafeSaveKvlDocument(const std::string& target, const KvlDocumentView& doc);

// docTitle from a path: "%0.40s%0.10s" of the file's name and extension, no directory.
std::string KvlDocTitle(const std::string& path);
