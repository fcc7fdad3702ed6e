// Feeds arbitrary bytes to the document reader, both through a stream that knows its length
// and through one that does not (as a pipe), then writes what was read and reads it again:
// the second read must give the same laps.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <streambuf>
#include <string>

#include "channels/Channels.h"
#include "document/KvlFile.h"
#include "track/TrackList.h"

namespace {

const TTrackList& Tracks() {
    static const TTrackList list = [] {
        TTrackList l;
        for (int id : {1, 12, 24, 156}) {
            auto t = std::make_unique<TTrackData>();
            t->trackId = static_cast<uint8_t>(id);
            t->name = "Track " + std::to_string(id);
            t->trackLength = 20000;
            t->inchesPerUnit = 2;
            l.Insert(std::move(t));
        }
        return l;
    }();
    return list;
}

class NoSeekBuf : public std::streambuf {
  public:
    NoSeekBuf(const uint8_t* data, size_t size) {
        char* p = const_cast<char*>(reinterpret_cast<const char*>(data));
        setg(p, p, p + size);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    KvlReadResult r = ReadKvlDocument(in, Tracks());

    NoSeekBuf buf(data, size);
    std::istream pipe(&buf);
    KvlReadResult p = ReadKvlDocument(pipe, Tracks());
    if (p.status != r.status || p.laps.size() != r.laps.size()) std::abort();

    std::vector<const TReplay*> laps;
    for (const auto& lap : r.laps) {
        laps.push_back(lap.get());
        // Every channel of whatever was read must be computable.
        (void)ChannelValue(*lap, 10.0, TelemetryChannel::Position, TelemetryChannel::SlipAngle,
                           nullptr);
        (void)ChannelValue(*lap, 1.0, TelemetryChannel::Time, TelemetryChannel::LateralForce,
                           nullptr);
        (void)AverageLapSpeed(*lap);
    }
    if (!r.ok) return 0;
    std::ostringstream out;
    KvlDocumentView view;
    view.xAxis = r.xAxis;
    view.yAxis = r.yAxis;
    view.y2Axis = r.y2Axis;
    view.trackId = Tracks().At(r.currentTrack).trackId;
    view.laps = &laps;
    if (!WriteKvlDocument(out, view).ok) std::abort();
    std::istringstream back(out.str());
    KvlReadResult again = ReadKvlDocument(back, Tracks());
    if (!again.ok || again.laps.size() != r.laps.size()) std::abort();
    for (size_t i = 0; i < laps.size(); ++i)
        if (again.laps[i]->positions != laps[i]->positions ||
            again.laps[i]->lines != laps[i]->lines)
            std::abort();
    return 0;
}
