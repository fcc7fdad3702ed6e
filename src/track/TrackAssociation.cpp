#include "track/TrackAssociation.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "platform/ProfileFile.h"
#include "platform/ReadFile.h"
#include "platform/TextCase.h"
#include "track/TrackList.h"

namespace {
// The track-name default of a missing "associ%d": a single character of code 1.
const std::string kMissingTrackName(1, '\x01');
constexpr size_t kAssocBufferSize = 255;

std::string Key(const char* prefix, size_t i) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%s%zu", prefix, i);
    return buf;
}

// Last track in list order with this id, or -1.
int LastTrackWithId(const TTrackList& tracks, int32_t id) {
    int found = -1;
    for (int t = 0; t < tracks.Count(); ++t) {
        if (int32_t(tracks.At(t).trackId) == id) found = t;
    }
    return found;
}
// Every number written right after "assocn" anywhere in the settings file, ascending. A
// pair whose number is not among them has no fragment and would be skipped, so a hostile
// "nassoc" of billions costs one pass over the file instead of billions of key look-ups.
std::vector<int> FragmentKeyNumbers(const std::string& settingsPath) {
    // Read as the settings file itself is: a regular file only, without blocking, and
    // nothing from one beyond the settings size limit.
    TReadFile file;
    std::vector<uint8_t> bytes;
    if (!file.Open(settingsPath) || !file.ReadAll(bytes, kMaxSettingsBytes)) return {};
    const std::string text(bytes.begin(), bytes.end());
    static constexpr char kPrefix[] = "assocn";
    constexpr size_t kLen = sizeof kPrefix - 1;
    std::vector<int> numbers;
    for (size_t at = 0; at + kLen <= text.size(); ++at) {
        size_t k = 0;
        while (k < kLen && std::tolower(static_cast<unsigned char>(text[at + k])) == kPrefix[k])
            ++k;
        if (k < kLen) continue;
        long long number = 0;
        for (size_t d = at + kLen;
             d < text.size() && std::isdigit(static_cast<unsigned char>(text[d])); ++d) {
            number = number * 10 + (text[d] - '0');
            if (number > INT_MAX) break;
        }
        if (number > 0 && number <= INT_MAX) numbers.push_back(static_cast<int>(number));
    }
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    return numbers;
}
}  // namespace

bool TrackMatchesPath(const TTrackData& track, const std::string& lowerCasePath) {
    if (lowerCasePath.find(track.pathPattern) != std::string::npos) return true;
    return !track.altPathPattern.empty() &&
           lowerCasePath.find(track.altPathPattern) != std::string::npos;
}

void LoadAssociations(const ProfileFile& settings, const TTrackList& tracks, TAssocList& list) {
    list.clear();
    const int n = settings.ReadInt("assoc", "nassoc", 0);
    if (n <= 0) return;
    for (const int i : FragmentKeyNumbers(settings.path())) {
        if (i > n) break;
        const std::string fragment =
            settings.ReadText("assoc", Key("assocn", size_t(i)), "*", kAssocBufferSize);
        const std::string name = settings.ReadText("assoc", Key("associ", size_t(i)),
                                                   kMissingTrackName, kAssocBufferSize);
        if (!fragment.empty() && fragment[0] == '*') continue;
        if (!name.empty() && name[0] == '\x01') continue;
        int found = -1;
        for (int t = 0; t < tracks.Count(); ++t) {
            if (EqualIgnoringCase(tracks.At(t).name, name)) found = t;
        }
        if (found < 0) continue;
        list.push_back(TAssocTrack{fragment, int32_t(tracks.At(found).trackId)});
    }
}

void SaveAssociations(ProfileFile& settings, const TTrackList& tracks, const TAssocList& list) {
    settings.WriteInt("assoc", "nassoc", static_cast<int>(list.size()));
    for (size_t i = 0; i < list.size(); ++i) {
        settings.WriteText("assoc", Key("assocn", i + 1), list[i].fragment);
        const int t = LastTrackWithId(tracks, list[i].trackId);
        if (t >= 0) settings.WriteText("assoc", Key("associ", i + 1), tracks.At(t).name);
    }
}

int MatchTrackForPath(const TTrackList& tracks, const TAssocList& list,
                      const std::string& lowerCasePath) {
    int r = kNoTrackYet;
    for (const TAssocTrack& a : list) {
        if (lowerCasePath.find(a.fragment) == std::string::npos) continue;
        if (r >= 0) {
            r = kAmbiguousTrack;
        } else if (r == kNoTrackYet) {
            r = LastTrackWithId(tracks, a.trackId);
        }
    }
    for (int t = 0; t < tracks.Count(); ++t) {
        if (!TrackMatchesPath(tracks.At(t), lowerCasePath)) continue;
        if (r >= 0) {
            r = kAmbiguousTrack;
        } else if (r == kNoTrackYet) {
            r = t;
        }
    }
    return r;
}

std::string TrackChoiceScope(const std::string& path, bool ambiguous,
                             std::string* directoryComponent) {
    // The directory part (everything up to the last separator), less one trailing
    // separator, then its last component. Both separators count so that paths written on
    // either platform split the same way.
    // A drive ("c:") belongs to no directory: a replay at the top of a drive has an empty
    // last component, like one at the root.
    const size_t start =
        path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0])) ? 2
                                                                                                : 0;
    const size_t lastSep = path.find_last_of("/\\");
    std::string dir = lastSep == std::string::npos || lastSep < start
                          ? std::string()
                          : path.substr(start, lastSep + 1 - start);
    if (!dir.empty() && (dir.back() == '\\' || dir.back() == '/')) dir.pop_back();
    const size_t sep = dir.find_last_of("/\\");
    const std::string component = sep == std::string::npos ? dir : dir.substr(sep + 1);
    if (directoryComponent) *directoryComponent = component;
    if (ambiguous) return std::string();
    if (component.size() > 39) return "for this directory";
    return "for " + component;
}
