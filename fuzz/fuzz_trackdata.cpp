// Feeds arbitrary bytes to the track data reader. Whatever it accepts must write back and
// read again to the very same file image.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "track/TrackDataFile.h"
#include "track/TrackList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TTrackDataFile file;
    if (ReadTrackData(data, size, file) != TrackReadStatus::Ok) return 0;

    std::vector<uint8_t> first, second;
    std::string error;
    if (!WriteTrackData(file, first, error)) return 0;  // e.g. a string that held a NUL
    TTrackDataFile again;
    if (ReadTrackData(first.data(), first.size(), again) != TrackReadStatus::Ok) std::abort();
    if (!WriteTrackData(again, second, error) || second != first) std::abort();

    TTrackList list;
    for (auto& t : again.records) list.Insert(std::move(t));
    for (int i = 0; i < list.Count(); ++i) {
        if (list.FindByName(list.At(i).name) > i) std::abort();
        if (list.FindById(list.At(i).trackId) > i) std::abort();
        if (i > 0 && CompareTrackNames(list.At(i - 1).name, list.At(i).name) > 0) std::abort();
    }
    return 0;
}
