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

// A whole track data file: header state, data version and the records in file order.
struct TTrackDataFile {
    TTrackDataHeader header;
    int32_t version = 0;
    std::vector<std::unique_ptr<TTrackData>> records;
};

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

// Reads a whole file image. On failure out.records holds nothing.
TrackReadStatus ReadTrackData(const uint8_t* data, size_t size, TTrackDataFile& out);
TrackReadStatus ReadTrackDataFile(const std::string& path, TTrackDataFile& out);

// Scrambles file into a track data image. Fails (with a reason in error) when a record is
// inconsistent: array sizes that do not match their counts, strings too long to store.
bool WriteTrackData(const TTrackDataFile& file, std::vector<uint8_t>& bytes, std::string& error);
bool WriteTrackDataFile(const std::string& path, const TTrackDataFile& file, std::string& error);
