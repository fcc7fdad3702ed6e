#include "sim/DriverModel.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace sim {

CarSetup MakeCarSetup(Random& random) {
    CarSetup s;
    const double talent = random.Range(0.0, 1.0);
    s.gripG = 2.0 * (0.965 + 0.035 * talent) * random.Range(0.995, 1.005);
    s.accelG = 0.8 * random.Range(0.97, 1.0);
    s.brakeG = 2.4 * (0.95 + 0.05 * talent);
    s.topSpeed = 290.0 * random.Range(0.985, 1.0);
    s.lineShift = random.Range(0.0, 0.05);
    s.lineWaves = 2.0 + random.Below(4);
    s.linePhase = random.Range(0.0, 2 * std::numbers::pi);
    s.slipPerG = random.Range(0.7, 1.2);
    s.wobbleFeet = random.Range(0.1, 0.4);
    s.wobbleRate = random.Range(1.2, 2.4);
    s.wobblePhase = random.Range(0.0, 2 * std::numbers::pi);
    s.lapVariation = random.Range(0.002, 0.006);
    return s;
}

namespace {

std::vector<double> DriverLine(const Course& course, const std::vector<double>& racingLine,
                               const CarSetup& setup) {
    std::vector<double> k = racingLine;
    const size_t m = k.size() - 1;
    for (size_t i = 0; i < m; ++i) {
        const double width = std::hypot(course.ox[i] - course.rx[i], course.oy[i] - course.ry[i]);
        const double margin = std::min(0.4, 2.0 / width);
        const double phase = 2 * std::numbers::pi * setup.lineWaves * static_cast<double>(i) /
                             static_cast<double>(m);
        k[i] = std::clamp(k[i] + setup.lineShift * std::sin(phase + setup.linePhase), margin,
                          1 - margin);
    }
    k[m] = k[0];
    return k;
}

}  // namespace

double TDriverModel::Acceleration(double speed) const {
    const double r = std::min(1.0, std::max(0.0, speed) / setup_.topSpeed);
    return setup_.accelG * kGravity * (1 - r * r);
}

TDriverModel::TDriverModel(const Course& course, const std::vector<double>& racingLine,
                           const CarSetup& setup)
    : setup_(setup), line_(BuildDrivingLine(course, DriverLine(course, racingLine, setup), 2.0)) {
    const size_t n = static_cast<size_t>(line_.count());
    const double ds = line_.spacing;
    const double grip = setup_.gripG * course.gripFactor * kGravity;
    std::vector<double> limit(n);
    size_t slowest = 0;
    for (size_t j = 0; j < n; ++j) {
        const double k = std::abs(line_.curvature[j]);
        limit[j] = k > 1e-9 ? std::min(setup_.topSpeed, std::sqrt(grip / k)) : setup_.topSpeed;
        if (limit[j] < limit[slowest]) slowest = j;
    }
    // Starting at the slowest point of the lap, the forward pass adds what the engine can
    // give and the backward pass what the brakes can take off, round the whole lap.
    speed_.assign(n + 1, 0.0);
    speed_[slowest] = limit[slowest];
    for (size_t step = 1; step < n; ++step) {
        const size_t j = (slowest + step) % n, prev = (j + n - 1) % n;
        const double v = speed_[prev];
        speed_[j] = std::min(limit[j], std::sqrt(v * v + 2 * Acceleration(v) * ds));
    }
    for (size_t step = 1; step < n; ++step) {
        const size_t j = (slowest + n - step) % n, next = (j + 1) % n;
        const double v = speed_[next];
        speed_[j] = std::min(speed_[j], std::sqrt(v * v + 2 * setup_.brakeG * kGravity * ds));
    }
    speed_[n] = speed_[0];
    lapTime_ = 0;
    for (size_t j = 0; j < n; ++j) lapTime_ += ds * 2 / (speed_[j] + speed_[j + 1]);
}

LinePoint TDriverModel::At(double s) const {
    const int32_t n = line_.count();
    double w = std::fmod(s, line_.length);
    if (w < 0) w += line_.length;
    double u = w / line_.spacing;
    int32_t j = std::min(static_cast<int32_t>(u), n - 1);
    const double f = std::clamp(u - j, 0.0, 1.0);
    const size_t a = static_cast<size_t>(j), b = a + 1;
    const Station& sa = line_.stations[a];
    const Station& sb = line_.stations[b];
    LinePoint p;
    p.position = sa.position + f * (sb.position - sa.position);
    p.lateral = sa.lateral + f * (sb.lateral - sa.lateral);
    p.positionRate = line_.positionRate[a] + f * (line_.positionRate[b] - line_.positionRate[a]);
    p.positionRateSlope = (line_.positionRate[b] - line_.positionRate[a]) / line_.spacing;
    p.lateralRate = line_.lateralRate[a] + f * (line_.lateralRate[b] - line_.lateralRate[a]);
    p.curvature = line_.curvature[a] + f * (line_.curvature[b] - line_.curvature[a]);
    p.speedLimit = speed_[a] + f * (speed_[b] - speed_[a]);
    return p;
}

}  // namespace sim
