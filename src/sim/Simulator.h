#pragma once
// Race simulator: drives a field of cars round a track and records the race as a replay
// file of the simulation's layout (15 frames a second, 9-byte car records, three skip
// lists and a frame length per frame). Each car follows a racing line, its speed limited
// by the line's curvature and by its acceleration and braking, with small differences
// between drivers and from lap to lap. The recording carries the untidiness of real ones:
// a pace-car entry (or mode byte 5 without one), non-empty skip lists, cars missing from
// some frames, a car that rolls backwards over the line and forwards again, car numbers
// of 100 and above, a 32-character and an empty driver name, and a start and end mid-lap.
// The same options and seed always give the same bytes.

#include <cstdint>
#include <string>
#include <vector>

#include "track/TTrackData.h"

namespace sim {

struct SimOptions {
    const TTrackData* track = nullptr;  // required; tracks without geometry get an oval-like course
    int32_t cars = 10;                  // drivers, pace car not counted: 1..MaxCars
    int32_t laps = 3;  // full laps every car completes (unless durationSeconds > 0)
    uint32_t seed = 1;
    bool paceCar = true;         // false: mode byte 5 and no pace-car entry
    double durationSeconds = 0;  // > 0: record exactly this long, whatever the lap count
    bool untidy = true;          // false: no dropouts, skip lists or backwards crossing
};

inline constexpr int32_t MaxCars = 100;
inline constexpr int32_t MaxLaps = 1000;

// One car in one frame, as the simulator drove it.
struct CarSample {
    bool present = false;     // the car's record is in this frame
    int32_t position = 0;     // recorded 24-bit position, track units
    int32_t lateral = 0;      // recorded lateral offset, track units
    int16_t heading = 0;      // recorded heading relative to the track direction
    uint8_t aux = 0;          // recorded per-car byte (throttle, 0..255)
    double positionFeet = 0;  // exact distance from the line along the track, feet
    double lateralFeet = 0;   // exact lateral offset, feet, in the frame of the stored offsets
    double speedMph = 0;      // rate of change of the position along the track (the Speed channel)
    double pathSpeedMph = 0;  // speed along the driven path
    double lateralSpeedMph = 0;  // rate of change of the lateral offset
    double inlineG = 0;          // rate of change of speedMph, in g
    double slipDegrees = 0;      // heading minus direction of travel
};

struct DriverTruth {
    std::string name;      // as written (up to 32 bytes, may be empty)
    int8_t carNumber = 0;  // as written (100 and above: leading zero)
    int32_t slot = 0;      // slot number in the frames
    // Fractional frame index of every forward line crossing that ends one lap and starts
    // the next (a crossing undone by rolling back and crossing again counts once).
    std::vector<double> lapCrossings;
    std::vector<CarSample> samples;  // one per frame of the recording
};

struct RaceTruth {
    int32_t frameCount = 0;
    int32_t driverCount = 0;  // N, the slot count in the header
    bool paceCar = true;
    int32_t trackLength = 0;
    double inchesPerUnit = 0;
    int32_t backwardsDriver = -1;      // driver index that rolls back over the line, -1 if none
    std::vector<DriverTruth> drivers;  // in driver-table order (pace car excluded)
};

struct SimResult {
    bool ok = false;
    std::string message;  // why it failed; empty on success
    int64_t frames = 0;
    int64_t bytes = 0;
};

// Checks the options; returns an empty string when they can be simulated.
std::string ValidateOptions(const SimOptions& options);

// Writes the replay to path. Streams frames as they are driven, so long races
// (43 cars, hours of racing) need no memory beyond one frame. With crossings given, also
// fills it with the race's driver table and line crossings, but no per-frame samples.
SimResult WriteSimulatedReplay(const SimOptions& options, const std::string& path,
                               RaceTruth* crossings = nullptr);

// The same replay, as bytes in memory.
std::vector<uint8_t> SimulateReplayBytes(const SimOptions& options, SimResult* result = nullptr);

// What the simulator drove for the same options, frame by frame, per driver. Keeps every
// frame of every car: meant for short races in tests.
RaceTruth SimulateRace(const SimOptions& options);

}  // namespace sim
