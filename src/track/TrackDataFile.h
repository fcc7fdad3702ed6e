#pragma once
// Reading and writing the scrambled track data file, record by record in file order.
// The track list (TrackList.h) is built from what is read here.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "track/TTrackData.h"

// The header's four key-stream words, stored raw.
struct TTrackDataHeader {
    uint32_t a = 0;
    uint32_t b = 0;
    uint32_t x = 0;
    uint32_t y = 0;
};

// How a record's extra lines are laid out. By rows: all colours, then all counts, then
// every line's xs, then every line's ys. By lines: colour, count, xs and ys of line 0, then
// of line 1, and so on. Both agree when a record has at most one extra line.
enum class TrackOthersLayout { Rows, Lines };

// A whole track data file: header state, data version and the records in file order.
struct TTrackDataFile {
    TTrackDataHeader header;
    int32_t version = 0;
    TrackOthersLayout othersLayout = TrackOthersLayout::Rows;
    std::vector<std::unique_ptr<TTrackData>> records;
};

// What a reader keeps is bounded far above any real track data file (track ids are one byte,
// so a real file holds a few hundred tracks at most): beyond these the file is refused as
// damaged, before memory goes to it.
inline constexpr int64_t kMaxTrackDataBytes = int64_t{256} << 20;
inline constexpr int32_t kMaxTrackRecords = 65536;
inline constexpr int64_t kMaxTrackCorners = int64_t{1} << 20;     // over the whole file
inline constexpr int64_t kMaxTrackExtraLines = int64_t{1} << 16;  // over the whole file

enum class TrackReadStatus {
    Ok,
    CannotOpen,  // "Unable to open track data"
    CannotRead,  // header words, T or V short: "Unable to read track data"
    BadRecord,   // a record cannot be read completely: "Unable to open track data"
};

inline constexpr const char* kTrackDataOpenMessage = "Unable to open track data";
inline constexpr const char* kTrackDataReadMessage = "Unable to read track data";

// The message that the status stands for (empty for Ok).
const char* TrackReadMessage(TrackReadStatus status);

// Reads a whole file image: by rows first and, when that does not give a consistent file,
// by lines (out.othersLayout says which). On failure out.records holds nothing. Running out
// of memory is a record that cannot be read.
TrackReadStatus ReadTrackData(const uint8_t* data, size_t size, TTrackDataFile& out);
// Opens only a regular file, without blocking, of at most kMaxTrackDataBytes.
TrackReadStatus ReadTrackDataFile(const std::string& path, TTrackDataFile& out);

// Scrambles file into a track data image, extra lines laid out as file.othersLayout (an
// image by line that the reader would take by row is refused). Fails (with a
// reason in error) when a record is inconsistent: array sizes that do not match their counts,
// strings too long to store.
bool WriteTrackData(const TTrackDataFile& file, std::vector<uint8_t>& bytes, std::string& error);
bool WriteTrackDataFile(const std::string& path, const TTrackDataFile& file, std::string& error);
