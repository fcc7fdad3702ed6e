#pragma once
// The race itself: the field of cars driven frame by frame, and the recording's own
// untidiness (cars missing from frames, skip lists, the car that rolls back over the line).

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sim/Course.h"
#include "sim/DriverModel.h"
#include "sim/Random.h"
#include "sim/Simulator.h"

namespace sim {

// One 9-byte car record as it goes into a frame.
struct CarRecord {
    uint8_t slotByte = 0;   // slot number x 2, bit 0 free
    uint32_t position = 0;  // 24 bits
    int16_t lateral = 0;
    int16_t heading = 0;
    uint8_t aux = 0;
};

struct SimFrame {
    std::vector<CarRecord> records;  // exactly the header's slot count
    std::array<uint8_t, 3> skipCounts{};
    std::vector<uint8_t> skipBytes;  // the three lists' entries, one after the other
};

struct TableEntry {
    std::string name;  // up to 32 bytes; 32 leaves no terminating NUL in the file
    int8_t carNumber = 0;
};

class TRace {
  public:
    explicit TRace(const SimOptions& options);  // options must pass ValidateOptions
    ~TRace();
    TRace(const TRace&) = delete;
    TRace& operator=(const TRace&) = delete;

    int32_t slotCount() const { return static_cast<int32_t>(cars_.size()); }
    bool paceCar() const { return options_.paceCar; }
    // The driver table as written: the pace car first when there is one.
    const std::vector<TableEntry>& table() const { return table_; }

    // Fills the next frame (and, when truth is given, one sample per driver).
    // False once the recording is over.
    bool NextFrame(SimFrame& frame, std::vector<CarSample>* truth);

    int32_t framesDone() const { return frame_; }
    const std::vector<double>& lapCrossings(int32_t driver) const;
    int32_t backwardsDriver() const { return backwardsDone_ ? backwardsDriver_ : -1; }
    const Course& course() const { return course_; }

  private:
    struct Car;
    void Advance(Car& car, int32_t index, double t0, double dt);
    void Sample(const Car& car, int32_t index, double t, CarRecord& record, CarSample* truth) const;
    double LapFactor(int32_t index, double s, double lapLength) const;
    bool Absent(Car& car, int32_t index);

    SimOptions options_;
    Course course_;
    std::vector<std::unique_ptr<Car>> cars_;
    std::vector<TableEntry> table_;
    Random frameRandom_;
    int32_t frame_ = 0;
    int32_t endFrame_ = -1;   // known from the start with a duration, else once every car is done
    int32_t frameLimit_ = 0;  // safety stop for a field that cannot finish
    int32_t backwardsDriver_ = -1;
    bool backwardsDone_ = false;
    int32_t leadingGapDriver_ = -1;
    double slowestLap_ = 0;
};

}  // namespace sim
