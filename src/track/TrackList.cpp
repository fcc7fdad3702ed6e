#include "track/TrackList.h"

#include <algorithm>
#include <cstdio>

#include "platform/ProfileFile.h"
#include "track/TrackDataFile.h"

namespace {
unsigned char Fold(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') ? static_cast<unsigned char>(u - 'A' + 'a') : u;
}
}  // namespace

int CompareTrackNames(const std::string& a, const std::string& b) {
    size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        unsigned char ca = Fold(a[i]), cb = Fold(b[i]);
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

int TTrackList::FindById(uint8_t id) const {
    for (size_t i = 0; i < tracks_.size(); ++i)
        if (tracks_[i]->trackId == id) return static_cast<int>(i);
    return -1;
}

int TTrackList::FindByName(const std::string& name) const {
    for (size_t i = 0; i < tracks_.size(); ++i)
        if (CompareTrackNames(tracks_[i]->name, name) == 0) return static_cast<int>(i);
    return -1;
}

int TTrackList::Insert(std::unique_ptr<TTrackData> track) {
    // After the last track that does not sort after the new one: equal names keep order.
    size_t at = tracks_.size();
    while (at > 0 && CompareTrackNames(tracks_[at - 1]->name, track->name) > 0) --at;
    tracks_.insert(tracks_.begin() + static_cast<long>(at), std::move(track));
    return static_cast<int>(at);
}

void TTrackList::Assign(std::vector<std::unique_ptr<TTrackData>> tracks) {
    std::stable_sort(tracks.begin(), tracks.end(), [](const auto& a, const auto& b) {
        return CompareTrackNames(a->name, b->name) < 0;
    });
    tracks_ = std::move(tracks);
}

TrackLoadResult LoadTrackData(const std::string& path, ProfileFile& settings, TTrackList& list) {
    TrackLoadResult result;
    list.Clear();
    const int recorded = settings.ReadInt("admin", "trackver", 0);

    TTrackDataFile file;
    TrackReadStatus status = ReadTrackDataFile(path, file);
    if (status != TrackReadStatus::Ok) {
        result.message = TrackReadMessage(status);
        return result;
    }
    list.Assign(std::move(file.records));

    result.ok = true;
    result.version = file.version;
    if (file.version != recorded) {
        char text[64];
        std::snprintf(text, sizeof text, "Installed track data version %d.%02d", file.version / 100,
                      file.version % 100);
        result.versionMessage = text;
        settings.WriteInt("admin", "trackver", file.version);
    }
    return result;
}
