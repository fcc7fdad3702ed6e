#include "replay/OpenReplay.h"

#include <new>

#include "replay/LapFit.h"

namespace {

// The ends of a lap that the scan saw begin or end at a line crossing lie where the scan
// placed that crossing. Where the car was seen around the line this is where the samples
// place it anyway; where it was missing from the frames at the line, the scan's crossing
// lies between the sightings either side, and the lap runs from line to line instead of
// being cut short where the car was next (or last) seen. Its time is always the time
// listed for it.
void PlaceOnCrossings(TReplay& lap, const std::vector<TReplayLapInfo>& chain, size_t k) {
    const TReplayLapInfo& info = chain[k];
    if (k > 0 && lap.startFrame != info.StartFrame) {
        lap.startFrame = info.StartFrame;
        lap.startPosition = 0;
    }
    if (k + 1 < chain.size() && lap.endFrame != info.EndFrame) {
        lap.endFrame = info.EndFrame;
        lap.endPosition = lap.lapLength;
    }
}

}  // namespace

// Kept apart from the open step, which needs no lap objects.
TReplayReadStatus ReadReplayLap(TOpenReplay& replay, int32_t driverIndex, int32_t lapIndex,
                                std::unique_ptr<TReplay>& out) {
    out.reset();
    if (driverIndex < 0 || size_t(driverIndex) >= replay.laps.size() ||
        size_t(driverIndex) >= replay.drivers.size())
        return TReplayReadStatus::ErrorFindingLapData;
    const auto& chain = replay.laps[size_t(driverIndex)];
    if (lapIndex < 0 || size_t(lapIndex) >= chain.size())
        return TReplayReadStatus::ErrorFindingLapData;
    const TReplayLapInfo& info = chain[size_t(lapIndex)];
    replay.header.Slot = driverIndex + replay.header.PaceOffset;
    replay.header.FrameCount = info.FrameCount;
    if (!replay.file.Seek(info.FileOffset)) return TReplayReadStatus::ErrorFindingLapData;
    const TReplayDriver& driver = replay.drivers[size_t(driverIndex)];
    try {
        auto lap = std::make_unique<TReplay>(driver.name, driver.carNumber);
        if (!ReadLapSamples(replay.file, *lap, replay.header))
            return TReplayReadStatus::ErrorReadingLapData;
        switch (CheckLapFitsTrack(*lap, replay.header.TrackLength, replay.header.TrackScale)) {
            case TLapFit::Fits:
                break;
            case TLapFit::BeyondTrackLength:
                return TReplayReadStatus::LapBeyondTrackLength;
            case TLapFit::BackwardsFasterThanAnyCar:
                return TReplayReadStatus::LapBackwardsFasterThanAnyCar;
        }
        PlaceOnCrossings(*lap, chain, size_t(lapIndex));
        out = std::move(lap);
    } catch (const std::bad_alloc&) {
        return TReplayReadStatus::ErrorReadingLapData;
    }
    return TReplayReadStatus::Ok;
}

TReplayReadStatus ReadReplayLaps(TOpenReplay& replay, int32_t driverIndex,
                                 const std::vector<int32_t>& lapIndexes,
                                 std::vector<std::unique_ptr<TReplay>>& out) {
    out.clear();
    if (driverIndex < 0 || size_t(driverIndex) >= replay.laps.size())
        return TReplayReadStatus::ErrorFindingLapData;
    const auto& chain = replay.laps[size_t(driverIndex)];
    if (lapIndexes.size() >= 2) {
        for (int32_t k : lapIndexes)
            if (k >= 0 && size_t(k) < chain.size() && IsPartialLap(chain, size_t(k)))
                return TReplayReadStatus::PartialLapsInAverage;
    }
    for (int32_t k : lapIndexes) {
        std::unique_ptr<TReplay> lap;
        if (const TReplayReadStatus error = ReadReplayLap(replay, driverIndex, k, lap);
            error != TReplayReadStatus::Ok) {
            out.clear();
            return error;
        }
        out.push_back(std::move(lap));
    }
    return TReplayReadStatus::Ok;
}
