#include "analysis/LapAnalysis.h"

#include "channels/Channels.h"

double LapTime(const TReplay& lap) {
    return (lap.endFrame - lap.startFrame) / FrameRate;
}

bool IsFullLap(const TReplay& lap) {
    return lap.sampleCount > 0 && LapTime(lap) > 0 && lap.startPosition <= 0 &&
           lap.endPosition >= lap.lapLength;
}

bool CoversPosition(const TReplay& lap, double feet) {
    if (lap.sampleCount <= 0) return false;
    return feet >= lap.startPosition * lap.inchesPerUnit / 12 &&
           feet <= lap.endPosition * lap.inchesPerUnit / 12;
}

int32_t FastestLap(const std::vector<const TReplay*>& laps) {
    int32_t fastestFull = -1, fastestAny = -1;
    for (int32_t i = 0; i < static_cast<int32_t>(laps.size()); ++i) {
        const TReplay& lap = *laps[static_cast<size_t>(i)];
        const double time = LapTime(lap);
        if (lap.sampleCount <= 0 || !(time > 0)) continue;
        // Strictly faster only, so that a tie goes to the earlier lap.
        if (fastestAny < 0 || time < LapTime(*laps[static_cast<size_t>(fastestAny)]))
            fastestAny = i;
        if (IsFullLap(lap) &&
            (fastestFull < 0 || time < LapTime(*laps[static_cast<size_t>(fastestFull)])))
            fastestFull = i;
    }
    return fastestFull >= 0 ? fastestFull : fastestAny;
}

int32_t ReferenceLap(const std::vector<const TReplay*>& laps, int32_t pickedSerial) {
    if (pickedSerial >= 0)
        for (int32_t i = 0; i < static_cast<int32_t>(laps.size()); ++i)
            if (laps[static_cast<size_t>(i)]->serial == pickedSerial) return i;
    return FastestLap(laps);
}

std::optional<double> TimeDelta(const TReplay& lap, const TReplay& reference, double feet) {
    if (!CoversPosition(lap, feet) || !CoversPosition(reference, feet)) return std::nullopt;
    return TimeAtPosition(lap, feet) - TimeAtPosition(reference, feet);
}
