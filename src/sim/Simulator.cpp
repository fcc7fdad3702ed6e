#include "sim/Simulator.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <memory>

#include "platform/UniqueFile.h"
#include "sim/Race.h"
#include "sim/ReplayEncoding.h"

namespace sim {

namespace {

constexpr double kMaxDurationSeconds = 24.0 * 3600.0;

// Frames go out in blocks so that a long race costs one buffer, not the whole file.
constexpr size_t kFlushBytes = 1 << 20;

// The driver table and the line crossings, which the replay and the truth share.
void FillDrivers(const TRace& race, const SimOptions& options, RaceTruth& truth) {
    const int32_t n = race.slotCount();
    const size_t tableStart = options.paceCar ? 1 : 0;
    truth.driverCount = n;
    truth.paceCar = options.paceCar;
    truth.trackLength = options.track->trackLength;
    truth.inchesPerUnit = options.track->inchesPerUnit;
    truth.drivers.resize(static_cast<size_t>(n));
    for (int32_t i = 0; i < n; ++i) {
        DriverTruth& d = truth.drivers[static_cast<size_t>(i)];
        const TableEntry& e = race.table()[tableStart + static_cast<size_t>(i)];
        d.name = e.name;
        d.carNumber = e.carNumber;
        d.slot = i + static_cast<int32_t>(tableStart);
    }
}

void FillCrossings(const TRace& race, RaceTruth& truth) {
    truth.frameCount = race.framesDone();
    // Crossings after the last frame lie outside the recording.
    for (int32_t i = 0; i < race.slotCount(); ++i) {
        auto& out = truth.drivers[static_cast<size_t>(i)].lapCrossings;
        out.clear();
        for (double c : race.lapCrossings(i))
            if (c <= truth.frameCount - 1) out.push_back(c);
    }
    truth.backwardsDriver = race.backwardsDriver();
}

}  // namespace

std::string ValidateOptions(const SimOptions& o) {
    if (o.track == nullptr) return "no track given";
    if (o.track->trackLength <= 0 || o.track->trackLength >= (1 << 24))
        return "track length must be between 1 and 16777215 track units";
    if (!(o.track->inchesPerUnit > 0) || !std::isfinite(o.track->inchesPerUnit))
        return "track scale must be a positive number of inches per unit";
    if (o.cars < 1 || o.cars > MaxCars)
        return "cars must be between 1 and " + std::to_string(MaxCars);
    if (!(o.durationSeconds >= 0) || o.durationSeconds > kMaxDurationSeconds)
        return "duration must be between 0 and 86400 seconds";
    if (o.durationSeconds == 0 && (o.laps < 1 || o.laps > MaxLaps))
        return "laps must be between 1 and " + std::to_string(MaxLaps);
    const double lapFeet = o.track->trackLength * o.track->inchesPerUnit / 12.0;
    if (lapFeet < 300.0 || lapFeet > 200000.0)
        return "track length must be between 300 feet and 200000 feet";
    return {};
}

SimResult WriteSimulatedReplay(const SimOptions& options, const std::string& path,
                               RaceTruth* crossings) {
    SimResult result;
    result.message = ValidateOptions(options);
    if (!result.message.empty()) return result;
    UniqueFile file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        result.message = "cannot create " + path + ": " + std::strerror(errno);
        return result;
    }
    // A recording that fails part way is removed rather than left looking like a replay.
    auto fail = [&](std::string message) {
        file.reset();
        std::error_code ec;
        if (std::filesystem::is_regular_file(path, ec)) std::filesystem::remove(path, ec);
        result.message = std::move(message);
        return result;
    };
    TRace race(options);
    std::vector<uint8_t> buffer;
    AppendHeader(buffer, race, 0);
    const int64_t headerSize = static_cast<int64_t>(buffer.size());
    int64_t dataSize = 0;
    SimFrame frame;
    auto flush = [&]() {
        const bool ok = buffer.empty() ||
                        std::fwrite(buffer.data(), 1, buffer.size(), file.get()) == buffer.size();
        buffer.clear();
        return ok;
    };
    while (race.NextFrame(frame, nullptr)) {
        dataSize += AppendFrame(buffer, frame);
        if (dataSize > std::numeric_limits<int32_t>::max())
            return fail("the recording would exceed the 2 GB a replay can hold");
        if (buffer.size() >= kFlushBytes && !flush()) return fail("error writing " + path);
    }
    std::vector<uint8_t> size;
    PutInt32(size, static_cast<int32_t>(dataSize));
    if (!flush() || std::fseek(file.get(), kDataSizeOffset, SEEK_SET) != 0 ||
        std::fwrite(size.data(), 1, 4, file.get()) != 4 || !CloseFile(file))
        return fail("error writing " + path);
    if (crossings) {
        *crossings = RaceTruth{};
        FillDrivers(race, options, *crossings);
        FillCrossings(race, *crossings);
    }
    result.ok = true;
    result.frames = race.framesDone();
    result.bytes = headerSize + dataSize;
    return result;
}

std::vector<uint8_t> SimulateReplayBytes(const SimOptions& options, SimResult* result) {
    SimResult local;
    SimResult& r = result ? *result : local;
    r = SimResult{};
    std::vector<uint8_t> out;
    r.message = ValidateOptions(options);
    if (!r.message.empty()) return out;
    TRace race(options);
    AppendHeader(out, race, 0);
    const size_t headerSize = out.size();
    SimFrame frame;
    int64_t dataSize = 0;
    while (race.NextFrame(frame, nullptr)) {
        dataSize += AppendFrame(out, frame);
        if (dataSize > std::numeric_limits<int32_t>::max()) {
            r.message = "the recording would exceed the 2 GB a replay can hold";
            out.clear();
            return out;
        }
    }
    PokeInt32(out.data() + kDataSizeOffset, static_cast<int32_t>(out.size() - headerSize));
    r.ok = true;
    r.frames = race.framesDone();
    r.bytes = static_cast<int64_t>(out.size());
    return out;
}

RaceTruth SimulateRace(const SimOptions& options) {
    RaceTruth truth;
    if (!ValidateOptions(options).empty()) return truth;
    TRace race(options);
    const int32_t n = race.slotCount();
    FillDrivers(race, options, truth);
    SimFrame frame;
    std::vector<CarSample> samples;
    while (race.NextFrame(frame, &samples))
        for (int32_t i = 0; i < n; ++i)
            truth.drivers[static_cast<size_t>(i)].samples.push_back(
                samples[static_cast<size_t>(i)]);
    FillCrossings(race, truth);
    return truth;
}

}  // namespace sim
