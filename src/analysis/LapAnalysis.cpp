#include "analysis/LapAnalysis.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>

#include "channels/Channels.h"
#include "platform/TextCase.h"

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

std::optional<TDeltaRateStretch> DeltaRateStretch(const TReplay& lap, const TReplay& reference,
                                                  double feet) {
    if (!CoversPosition(lap, feet) || !CoversPosition(reference, feet)) return std::nullopt;
    const double low = std::max(lap.startPosition * lap.inchesPerUnit / 12,
                                reference.startPosition * reference.inchesPerUnit / 12);
    const double high = std::min(lap.endPosition * lap.inchesPerUnit / 12,
                                 reference.endPosition * reference.inchesPerUnit / 12);
    TDeltaRateStretch s{feet - kDeltaRateFeet / 2, feet + kDeltaRateFeet / 2};
    if (s.from < low) s = {low, std::min(high, low + kDeltaRateFeet)};
    if (s.to > high) s = {std::max(low, high - kDeltaRateFeet), high};
    if (!(s.to > s.from)) return std::nullopt;
    return s;
}

std::optional<double> DeltaRate(const TReplay& lap, const TReplay& reference, double feet) {
    const auto s = DeltaRateStretch(lap, reference, feet);
    if (!s) return std::nullopt;
    const double change = (TimeAtPosition(lap, s->to) - TimeAtPosition(reference, s->to)) -
                          (TimeAtPosition(lap, s->from) - TimeAtPosition(reference, s->from));
    return change * kDeltaRateFeet / (s->to - s->from);
}

std::vector<std::string> LapDisplayNames(const std::vector<const TReplay*>& laps) {
    std::vector<std::string> names;
    names.reserve(laps.size());
    for (const TReplay* lap : laps)
        names.emplace_back(lap->driverName, strnlen(lap->driverName, sizeof lap->driverName));
    std::map<std::string, int> uses;
    for (const std::string& name : names) ++uses[LowerCaseCopy(name)];
    std::vector<std::string> shown = names;
    for (size_t i = 0; i < names.size(); ++i) {
        if (uses[LowerCaseCopy(names[i])] < 2) continue;
        char time[32];
        std::snprintf(time, sizeof time, " %.3f", LapTime(*laps[i]));
        shown[i] += time;
    }
    return shown;
}

int DifferenceSign(double seconds) {
    if (!(std::fabs(seconds) >= 0.0005)) return 0;
    return seconds > 0 ? 1 : -1;
}

std::string DifferenceText(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%+.3f", DifferenceSign(seconds) == 0 ? 0.0 : seconds);
    return text;
}
