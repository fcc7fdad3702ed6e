#include "replay/Averaging.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "channels/Channels.h"
#include "replay/LapSamples.h"
#include "replay/OpenReplay.h"

namespace {

constexpr double Pi = 3.14159265358979323846;

// Truncation toward zero into a track-unit integer. A value beyond 32 bits (or not a
// number) cannot come from a real lap; saturating keeps the conversion defined.
int32_t TruncateUnits(double v) {
    if (!std::isfinite(v)) return 0;
    constexpr double lo = std::numeric_limits<int32_t>::min();
    constexpr double hi = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(std::clamp(std::trunc(v), lo, hi));
}

// The nearest track unit: a stored position is off its exact value by half a unit at most,
// and by nothing on average.
int32_t NearestUnits(double v) {
    return TruncateUnits(std::floor(v + 0.5));
}

template <typename F>
double MeanOver(const std::vector<const TReplay*>& laps, F valueOf) {
    double sum = 0;
    for (const TReplay* lap : laps) sum += valueOf(*lap);
    return sum / static_cast<double>(laps.size());
}

// A lap's value at a distance along the track, in feet: taken at the lap time at which that
// lap reaches the distance.
template <typename Op>
double MeanAtDistance(const std::vector<const TReplay*>& laps, double feet, Op op) {
    return MeanOver(laps, [&](const TReplay& lap) { return op(lap, TimeAtPosition(lap, feet)); });
}

// Track units covered in one frame at speed mph.
double UnitsPerFrame(double mph, double unitsPerFoot) {
    return mph * 5280.0 / 3600.0 * unitsPerFoot / FrameRate;
}

}  // namespace

AverageResult AverageLaps(const std::vector<const TReplay*>& laps, int32_t trackLength,
                          double trackScale, TReplay& result) {
    if (laps.size() < 2 || !(trackScale > 0)) return AverageResult::Failed;
    int32_t largest = 0;
    for (const TReplay* lap : laps) {
        if (lap == nullptr || lap->sampleCount < 2) return AverageResult::Failed;
        largest = std::max(largest, lap->sampleCount);
    }
    const double f = 12.0 / trackScale;  // track units per foot
    const size_t capacity = static_cast<size_t>(largest) + 2;
    std::vector<int32_t> pos(capacity, 0);
    std::vector<int32_t> lat(capacity, 0);

    // The integration runs on the exact positions; only what is stored is rounded to whole
    // track units. Truncating every step instead dropped half a unit per step on average and
    // made every average slower than the laps it is made of (tens of milliseconds a lap).
    std::vector<double> exact(capacity, 0.0);
    exact[0] = 0;
    lat[0] = TruncateUnits(f * MeanOver(laps, [](const TReplay& l) { return RawLineAt(l, 0); }));
    const double u = MeanOver(laps, [](const TReplay& l) { return SpeedAt(l, 0); });
    exact[1] = UnitsPerFrame(u, f);
    lat[1] = TruncateUnits(f * MeanAtDistance(laps, exact[1] / f, RawLineAt));

    // Central steps over two frames until the line is passed. The buffers bound the loop: a
    // mean speed too low to reach the line ends the lap at the last sample computed.
    AverageResult outcome = AverageResult::Complete;
    size_t count = 0;
    for (size_t j = 1;; ++j) {
        if (j + 1 >= capacity) {
            count = j + 1;
            outcome = AverageResult::Truncated;
            break;
        }
        const double v = MeanAtDistance(laps, exact[j] / f, SpeedAt);
        exact[j + 1] = 2.0 * UnitsPerFrame(v, f) + exact[j - 1];
        lat[j + 1] = TruncateUnits(f * MeanAtDistance(laps, exact[j + 1] / f, RawLineAt));
        // The lap keeps its last sample short of the line, so that its end lies within a
        // step of it. Ending a sample earlier left it up to two steps short, more than the
        // boundaries take as reaching the line at speed: the lap then ended a frame early.
        if (NearestUnits(exact[j + 1]) > trackLength) {
            count = j + 1;
            break;
        }
    }
    for (size_t k = 0; k < count; ++k) pos[k] = NearestUnits(exact[k]);
    // A lap needs two samples to have a start and an end.
    if (count < 2) return AverageResult::Failed;

    const auto n = static_cast<int32_t>(count);
    result.ResizeSamples(n);
    std::copy_n(pos.begin(), count, result.positions.begin());
    std::copy_n(lat.begin(), count, result.lines.begin());
    std::fill(result.headings.begin(), result.headings.end(), int16_t{0});
    std::fill(result.auxBytes.begin(), result.auxBytes.end(), uint8_t{0});
    result.InvalidatePositionIndex();
    ComputeLapBoundaries(result, trackLength, trackScale);
    // The line crossing from the exact positions rather than the rounded ones, which would
    // move it by up to a unit's share of the last step.
    const double last = exact[count - 1], beforeLast = exact[count - 2];
    if (result.endPosition == trackLength && last > beforeLast)
        result.endFrame = (trackLength - last) / (last - beforeLast) + static_cast<double>(n - 1);

    // Headings last: they turn the new lap's own direction of travel by the mean slip angle.
    for (int32_t k = 0; k < n; ++k) {
        const double s = MeanAtDistance(laps, exact[static_cast<size_t>(k)] / f, SlipAngleAt);
        const double t = k / FrameRate;
        const double h = LateralSpeedAt(result, t);
        const double m = SpeedAt(result, t);
        const double a = (h == 0 && m == 0) ? 0.0 : std::atan2(h, m) * 180.0 / Pi;
        double heading = a + s;
        if (!std::isfinite(heading)) heading = 0;
        heading = std::fmod(heading, 360.0);
        if (heading >= 180.0) heading -= 360.0;
        if (heading < -180.0) heading += 360.0;
        const double raw = std::trunc(heading * 32768.0 / 180.0);
        result.headings[static_cast<size_t>(k)] =
            static_cast<int16_t>(std::clamp(raw, -32768.0, 32767.0));
    }
    return outcome;
}

TReplayReadStatus ReadAverageLap(TOpenReplay& replay, int32_t driverIndex,
                                 const std::vector<int32_t>& lapIndexes,
                                 std::unique_ptr<TReplay>& out) {
    out.reset();
    std::vector<std::unique_ptr<TReplay>> read;
    if (const TReplayReadStatus error = ReadReplayLaps(replay, driverIndex, lapIndexes, read);
        error != TReplayReadStatus::Ok)
        return error;
    if (read.size() < 2) {
        if (read.empty()) return TReplayReadStatus::ErrorReadingLapData;
        out = std::move(read.front());
        return TReplayReadStatus::Ok;
    }
    const TReplayDriver& driver = replay.drivers[static_cast<size_t>(driverIndex)];
    auto result = std::make_unique<TReplay>(driver.name, driver.carNumber);
    std::vector<const TReplay*> laps;
    laps.reserve(read.size());
    for (const auto& lap : read) laps.push_back(lap.get());
    if (AverageLaps(laps, replay.header.TrackLength, replay.header.TrackScale, *result) ==
        AverageResult::Failed)
        return TReplayReadStatus::ErrorReadingLapData;
    out = std::move(result);
    return TReplayReadStatus::Ok;
}
