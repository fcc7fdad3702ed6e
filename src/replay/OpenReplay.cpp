#include "replay/OpenReplay.h"

#include <filesystem>
#include <new>

#include "replay/LapFit.h"

TReplayReadStatus OpenReplay(const std::string& path, int32_t trackLength, double trackScale,
                             TOpenReplay& out) {
    out.header = TReplayHeader{};
    out.header.TrackLength = trackLength;
    out.header.TrackScale = trackScale;
    out.drivers.clear();
    out.outOfMemory = false;
    out.laps.clear();
    out.path = path;
    out.replayName = std::filesystem::path(path).filename().string();
    if (!out.file.Open(path)) return TReplayReadStatus::ErrorOpeningReplay;
    int32_t dataSize = 0;
    try {
        dataSize = ReadReplayHeader(out.file, out.header, out.drivers);
    } catch (const std::bad_alloc&) {
        dataSize = 0;  // a driver table too large for memory is a header that cannot be read
    }
    if (dataSize == 0) return TReplayReadStatus::ErrorReadingReplayHeader;
    if (!ScanLaps(out.file, dataSize, out.header, out.laps, &out.outOfMemory))
        return TReplayReadStatus::ErrorReadingReplayData;
    return TReplayReadStatus::Ok;
}

const char* ReplayReadMessage(TReplayReadStatus status) {
    switch (status) {
        case TReplayReadStatus::Ok:
            return "";
        case TReplayReadStatus::ErrorOpeningReplay:
            return kMsgErrorOpeningReplay;
        case TReplayReadStatus::ErrorReadingReplayHeader:
            return kMsgErrorReadingReplayHeader;
        case TReplayReadStatus::ErrorReadingReplayData:
            return kMsgErrorReadingReplayData;
        case TReplayReadStatus::ErrorFindingLapData:
            return kMsgErrorFindingLapData;
        case TReplayReadStatus::ErrorReadingLapData:
            return kMsgErrorReadingLapData;
        case TReplayReadStatus::PartialLapsInAverage:
            return kMsgPartialLapsInAverage;
        case TReplayReadStatus::LapBeyondTrackLength:
        case TReplayReadStatus::LapBackwardsFasterThanAnyCar:
            return "This lap does not fit the track";
    }
    return "";
}

std::string ReplayReadMessage(TReplayReadStatus status, const std::string& trackName) {
    if (status == TReplayReadStatus::LapBeyondTrackLength)
        return LapFitMessage(TLapFit::BeyondTrackLength, trackName);
    if (status == TReplayReadStatus::LapBackwardsFasterThanAnyCar)
        return LapFitMessage(TLapFit::BackwardsFasterThanAnyCar, trackName);
    return ReplayReadMessage(status);
}
