#pragma once
// One simulated driver's car: where it drives (its own line through the course) and how
// fast it may go at every station of that line.

#include <cstdint>
#include <vector>

#include "sim/Course.h"
#include "sim/Random.h"

namespace sim {

inline constexpr double kGravity = 32.2;  // feet per second squared

struct CarSetup {
    double gripG = 2.0;   // cornering limit
    double accelG = 0.8;  // traction limit at low speed; falls to 0 at top speed
    double brakeG = 2.4;
    double topSpeed = 290.0;  // feet per second
    double lineShift =
        0.0;  // amplitude of the driver's own deviation from the racing line (fraction of width)
    double lineWaves = 3.0;  // deviations per lap
    double linePhase = 0.0;
    double slipPerG = 0.9;    // degrees of slip angle per g of cornering
    double wobbleFeet = 0.3;  // small steering corrections, feet
    double wobbleRate = 1.7;  // radians per second
    double wobblePhase = 0.0;
    double lapVariation = 0.004;  // spread of lap-to-lap pace, as a fraction
};

// A driver of the field, with small differences from the others.
CarSetup MakeCarSetup(Random& random);

// Where the car is at a distance along its line, interpolated between stations.
struct LinePoint {
    double position = 0;      // track units within the lap
    double lateral = 0;       // track units
    double positionRate = 0;  // track units per foot of line
    double lateralRate = 0;
    double positionRateSlope = 0;  // change of positionRate per foot
    double curvature = 0;          // 1/feet, signed as in DrivingLine
    double speedLimit = 0;         // feet per second
};

class TDriverModel {
  public:
    TDriverModel(const Course& course, const std::vector<double>& racingLine,
                 const CarSetup& setup);

    const CarSetup& setup() const { return setup_; }
    const DrivingLine& line() const { return line_; }
    double lapLength() const { return line_.length; }
    // The fastest lap the profile allows, seconds.
    double lapTime() const { return lapTime_; }
    double speedAt(int32_t station) const { return speed_[static_cast<size_t>(station)]; }

    // s: distance along the line from the line crossing, feet; any value (laps wrap).
    LinePoint At(double s) const;

    // Forward acceleration available at a speed, feet per second squared.
    double Acceleration(double speed) const;

  private:
    CarSetup setup_;
    DrivingLine line_;
    std::vector<double> speed_;  // per station, the forward and backward passes applied
    double lapTime_ = 0;
};

}  // namespace sim
