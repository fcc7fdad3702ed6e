#include "sim/Race.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace sim {

namespace {

constexpr int32_t kFrameRate = 15;
constexpr int32_t kSubsteps = 8;
constexpr double kFeetPerSecondToMph = 3600.0 / 5280.0;

const char* const kNames[] = {
    "Ada Marsh",     "Bruno Kettle",     "Cora Vance",   "Dmitri Holt",  "Elsa Wren",
    "Felix Dunmore", "Greta Sallow",     "Hugo Pell",    "Iris Carrow",  "Jonas Breck",
    "Kira Lowell",   "Lars Fenwick",     "Mira Thorne",  "Nils Ashby",   "Olga Reyes",
    "Pavel Quist",   "Rosa Calder",      "Sven Harrow",  "Tess Mallory", "Umar Vale",
    "Vera Stroud",   "Walt Ember",       "Xena Ralston", "Yuri Dalton",  "Zara Finch",
    "Abel Norwood",  "Bea Lockhart",     "Cal Renner",   "Dora Whitlow", "Emil Sorrel",
    "Fay Hollis",    "Gus Tiller",       "Hana Corbett", "Ivo Marren",   "Jade Wexley",
    "Kurt Amsel",    "Lena Brightwater", "Milo Garrick", "Nora Quell",   "Otto Brandt",
};
constexpr size_t kNameCount = sizeof(kNames) / sizeof(kNames[0]);
// Exactly 32 characters: the name field then holds no terminating NUL.
constexpr char kLongName[] = "Maximilian Featherstonehaugh III";
static_assert(sizeof(kLongName) == 33);

enum class Phase { Racing, Slowing, Stopping, Reversing, Halting };

double NormaliseDegrees(double d) {
    while (d >= 180) d -= 360;
    while (d < -180) d += 360;
    return d;
}

int16_t BinaryAngle(double radians) {
    long v = std::lround(radians * 32768.0 / std::numbers::pi);
    v = ((v % 65536) + 65536) % 65536;
    return static_cast<int16_t>(static_cast<uint16_t>(v));
}

int16_t ClampToInt16(double v) {
    return static_cast<int16_t>(std::clamp(std::trunc(v), -32768.0, 32767.0));
}

}  // namespace

struct TRace::Car {
    std::unique_ptr<TDriverModel> model;
    int32_t slot = 0;
    double s = 0;          // feet along the line since the lap's crossing, unwrapped
    double v = 0;          // feet per second along the line (negative when rolling back)
    double accel = 0;      // of the last step
    int64_t lapIndex = 0;  // highest floor(s / lap length) reached
    std::vector<double> crossings;
    Phase phase = Phase::Racing;
    bool incidentPending = false;
    double incidentLine = 0;
    int32_t dropRemaining = 0;
};

TRace::TRace(const SimOptions& options)
    : options_(options),
      course_(BuildCourse(*options.track)),
      frameRandom_(MixBits(options.seed) ^ 0x5eedf00dULL) {
    Random setup(options.seed);
    const int32_t n = options.cars;
    const std::vector<double> racingLine = RacingLineFractions(course_, 3.0);

    // Names and numbers: one name of 32 characters, one empty, and numbers written with a
    // leading zero (100 and above) among the plain ones.
    std::vector<int32_t> numbers;
    for (int32_t i = 1; i <= 99; ++i) numbers.push_back(i);
    for (int32_t i = 100; i <= 109; ++i) numbers.push_back(i);
    for (size_t i = numbers.size() - 1; i > 0; --i)
        std::swap(numbers[i], numbers[setup.Below(static_cast<uint32_t>(i + 1))]);
    numbers.resize(static_cast<size_t>(n));
    if (std::none_of(numbers.begin(), numbers.end(), [](int32_t v) { return v >= 100; }))
        numbers[static_cast<size_t>(1 % n)] = 100 + static_cast<int32_t>(setup.Below(10));
    const size_t nameOffset = setup.Below(kNameCount);

    if (options.paceCar) table_.push_back({"Pace Car", 0});
    const int32_t longNameDriver = 2 % n;
    const int32_t emptyNameDriver = 3 % n == longNameDriver ? -1 : 3 % n;
    for (int32_t i = 0; i < n; ++i) {
        TableEntry e;
        const size_t k = (nameOffset + static_cast<size_t>(i)) % kNameCount;
        e.name = static_cast<size_t>(i) < kNameCount
                     ? kNames[k]
                     : std::string(kNames[k]) + " " + std::to_string(i);
        if (i == longNameDriver) e.name = kLongName;
        if (i == emptyNameDriver) e.name.clear();
        e.carNumber = static_cast<int8_t>(numbers[static_cast<size_t>(i)]);
        table_.push_back(e);
    }

    // The field, strung out behind the leader over most of a lap: the recording begins in
    // the middle of the race, not at a standing start.
    double fraction = 0.62;
    for (int32_t i = 0; i < n; ++i) {
        auto car = std::make_unique<Car>();
        car->model = std::make_unique<TDriverModel>(course_, racingLine, MakeCarSetup(setup));
        car->slot = i + (options.paceCar ? 1 : 0);
        car->s = fraction * car->model->lapLength();
        car->v = car->model->At(car->s).speedLimit;
        car->lapIndex = static_cast<int64_t>(std::floor(car->s / car->model->lapLength()));
        slowestLap_ = std::max(slowestLap_, car->model->lapTime());
        fraction -= setup.Range(0.4, 1.4) * 0.57 / n;
        cars_.push_back(std::move(car));
    }
    if (options.untidy) {
        backwardsDriver_ = n - 1;
        cars_.back()->incidentPending = true;
        leadingGapDriver_ = n - 1;
    }
    if (options.durationSeconds > 0) {
        endFrame_ = std::max<int32_t>(
            2, static_cast<int32_t>(std::lround(options.durationSeconds * kFrameRate)));
        frameLimit_ = endFrame_;
    } else {
        frameLimit_ = static_cast<int32_t>(
            std::min(2.0e9, (options.laps + 3) * slowestLap_ * kFrameRate * 2 + 3000));
    }
}

TRace::~TRace() = default;

const std::vector<double>& TRace::lapCrossings(int32_t driver) const {
    return cars_.at(static_cast<size_t>(driver))->crossings;
}

double TRace::LapFactor(int32_t index, double s, double lapLength) const {
    // Pace drifts from lap to lap; blended along the lap so that the speed never jumps.
    const double u = s / lapLength;
    const double lap = std::floor(u);
    const double f = u - lap;
    const double spread = cars_[static_cast<size_t>(index)]->model->setup().lapVariation;
    auto delta = [&](double k) {
        const uint64_t key = static_cast<uint64_t>(static_cast<int64_t>(k) + (1LL << 40));
        const double a = HashUnit(options_.seed, static_cast<uint64_t>(index), key);
        const double b = HashUnit(options_.seed ^ 0xabcdefULL, static_cast<uint64_t>(index), key);
        return spread * (a + b - 1.0);
    };
    const double d0 = delta(lap), d1 = delta(lap + 1);
    const double blend = 0.5 - 0.5 * std::cos(std::numbers::pi * f);
    return 1.0 + d0 + (d1 - d0) * blend;
}

void TRace::Advance(Car& car, int32_t index, double t0, double dt) {
    const TDriverModel& m = *car.model;
    const double len = m.lapLength();
    const double g = kGravity;
    for (int32_t k = 0; k < kSubsteps; ++k) {
        const double v0 = car.v;
        const double s0 = car.s;
        if (car.incidentPending && car.phase == Phase::Racing && car.crossings.size() >= 1) {
            // The car spins to a crawl before the line, creeps over it, stops, rolls back
            // behind the line and then drives on.
            const double line = static_cast<double>(car.lapIndex + 1) * len;
            const double crawl = 22.0, brake = 0.9 * g;
            const double needed = (car.v * car.v - crawl * crawl) / (2 * brake) + 5.0;
            if (line - car.s <= needed) {
                car.phase = Phase::Slowing;
                car.incidentLine = line;
                car.incidentPending = false;
            }
        }
        switch (car.phase) {
            case Phase::Racing: {
                const double target = m.At(car.s).speedLimit * LapFactor(index, car.s, len);
                car.v =
                    car.v < target ? std::min(target, car.v + m.Acceleration(car.v) * dt) : target;
                break;
            }
            case Phase::Slowing:
                car.v = std::max(22.0, car.v - 0.9 * g * dt);
                if (car.s >= car.incidentLine + 20) car.phase = Phase::Stopping;
                break;
            case Phase::Stopping:
                car.v = std::max(0.0, car.v - 0.4 * g * dt);
                if (car.v == 0) car.phase = Phase::Reversing;
                break;
            case Phase::Reversing:
                car.v = std::max(-10.0, car.v - 0.25 * g * dt);
                if (car.s <= car.incidentLine - 25) {
                    car.phase = Phase::Halting;
                    backwardsDone_ = true;
                }
                break;
            case Phase::Halting:
                car.v = std::min(0.0, car.v + 0.3 * g * dt);
                if (car.v == 0) car.phase = Phase::Racing;
                break;
        }
        car.accel = (car.v - v0) / dt;
        car.s += 0.5 * (v0 + car.v) * dt;
        const int64_t lap = static_cast<int64_t>(std::floor(car.s / len));
        if (lap > car.lapIndex) {
            // Only a crossing beyond every earlier one ends a lap: rolling back over the
            // line and crossing it again does not.
            const double line = static_cast<double>(lap) * len;
            const double share = car.s > s0 ? (line - s0) / (car.s - s0) : 1.0;
            car.crossings.push_back((t0 + (k + share) * dt) * kFrameRate);
            car.lapIndex = lap;
        }
    }
}

void TRace::Sample(const Car& car, int32_t index, double t, CarRecord& r, CarSample* truth) const {
    const TDriverModel& m = *car.model;
    const CarSetup& setup = m.setup();
    const double fpu = course_.feetPerUnit;
    const LinePoint p = m.At(car.s);
    const double wobble = setup.wobbleFeet * std::sin(setup.wobbleRate * t + setup.wobblePhase);
    const double wobbleRate =
        setup.wobbleFeet * setup.wobbleRate * std::cos(setup.wobbleRate * t + setup.wobblePhase);
    const double lateral = p.lateral + wobble / fpu;
    const double vPos = car.v * p.positionRate;  // units per second
    const double vLat = car.v * p.lateralRate + wobbleRate / fpu;
    // The car points along its line, turned a little into the corner (its rear slides out).
    const double facing = std::atan2(p.lateralRate, p.positionRate);
    const double cornerG = car.v * car.v * p.curvature / kGravity;
    const double slip = car.v > 0 ? setup.slipPerG * cornerG * std::numbers::pi / 180.0 : 0.0;
    const double heading = facing + slip;

    r.slotByte = static_cast<uint8_t>(car.slot << 1);
    double pos = std::trunc(p.position);
    if (pos >= course_.trackLength) pos -= course_.trackLength;
    r.position = static_cast<uint32_t>(std::max(0.0, pos)) & 0xFFFFFFu;
    r.lateral = ClampToInt16(lateral);
    r.heading = BinaryAngle(heading);
    const double available = m.Acceleration(car.v);
    double throttle = 0.35;
    if (car.accel > 0.05)
        throttle = 0.6 + 0.4 * std::min(1.0, car.accel / std::max(1.0, available));
    else if (car.accel < -0.05)
        throttle = 0.0;
    r.aux = static_cast<uint8_t>(std::lround(throttle * 255));

    if (truth == nullptr) return;
    truth->position = static_cast<int32_t>(r.position);
    truth->lateral = r.lateral;
    truth->heading = r.heading;
    truth->aux = r.aux;
    truth->positionFeet = p.position * fpu;
    truth->lateralFeet = lateral * fpu;
    truth->speedMph = vPos * fpu * kFeetPerSecondToMph;
    truth->pathSpeedMph = car.v * kFeetPerSecondToMph;
    truth->lateralSpeedMph = vLat * fpu * kFeetPerSecondToMph;
    truth->inlineG =
        (car.accel * p.positionRate + car.v * car.v * p.positionRateSlope) * fpu / kGravity;
    const double travel = (vLat == 0 && vPos == 0) ? heading : std::atan2(vLat, vPos);
    const double recordedHeading = r.heading * std::numbers::pi / 32768.0;
    truth->slipDegrees = NormaliseDegrees((recordedHeading - travel) * 180.0 / std::numbers::pi);
    (void)index;
}

bool TRace::Absent(Car& car, int32_t index) {
    if (!options_.untidy) return false;
    if (index == leadingGapDriver_ && frame_ < 3) {
        // Missing from the first frames, while it is still short of half a lap (further
        // round, its first appearance would read as rolling back over the line).
        return car.model->At(car.s).position < course_.trackLength / 4.0;
    }
    if (car.dropRemaining > 0) {
        --car.dropRemaining;
        return true;
    }
    if (frame_ == 0 || (endFrame_ >= 0 && frame_ + 5 >= endFrame_)) return false;
    if (frameRandom_.Chance(1.0 / 450.0)) {
        car.dropRemaining = static_cast<int32_t>(frameRandom_.Below(3));
        return true;
    }
    return false;
}

bool TRace::NextFrame(SimFrame& frame, std::vector<CarSample>* truth) {
    if (endFrame_ >= 0 && frame_ >= endFrame_) return false;
    if (frame_ >= frameLimit_) return false;
    const int32_t n = slotCount();
    const double t = static_cast<double>(frame_) / kFrameRate;
    const int32_t paceOffset = options_.paceCar ? 1 : 0;

    std::vector<int32_t> order(static_cast<size_t>(n));
    for (int32_t i = 0; i < n; ++i) order[static_cast<size_t>(i)] = i;
    // Records come in running order, as the simulation keeps its field.
    std::stable_sort(order.begin(), order.end(), [&](int32_t a, int32_t b) {
        return cars_[static_cast<size_t>(a)]->s > cars_[static_cast<size_t>(b)]->s;
    });
    if (truth) truth->assign(static_cast<size_t>(n), CarSample{});
    frame.records.clear();
    int32_t fillers = 0;
    const int32_t spareSlots = 128 - (n + paceOffset);
    for (int32_t i : order) {
        Car& car = *cars_[static_cast<size_t>(i)];
        CarRecord r;
        CarSample* sample = truth ? &(*truth)[static_cast<size_t>(i)] : nullptr;
        Sample(car, i, t, r, sample);
        const bool absent = Absent(car, i) && fillers < spareSlots + paceOffset;
        if (absent) {
            // Every frame holds exactly N records: a missing car's place is taken by the
            // pace car in the pit lane or by a slot that no driver uses.
            CarRecord filler;
            if (options_.paceCar && fillers == 0) {
                filler.slotByte = 0;
                filler.position = static_cast<uint32_t>(course_.trackLength * 0.93);
                filler.lateral = ClampToInt16(-60.0 / course_.feetPerUnit);
            } else {
                const int32_t spare = n + paceOffset + fillers - paceOffset;
                filler.slotByte = static_cast<uint8_t>(std::min(spare, 127) << 1);
            }
            ++fillers;
            frame.records.push_back(filler);
            if (sample) sample->present = false;
        } else {
            if (options_.untidy && frameRandom_.Chance(0.1))
                r.slotByte |= 1;  // bit 0 carries nothing for us
            frame.records.push_back(r);
            if (sample) sample->present = true;
        }
    }

    frame.skipCounts = {0, 0, 0};
    frame.skipBytes.clear();
    if (options_.untidy) {
        // Now and then a long list, its count at times 128 or more (an unsigned byte).
        const uint32_t roll = frameRandom_.Below(1000);
        frame.skipCounts[0] = static_cast<uint8_t>(roll < 150 ? 1 + frameRandom_.Below(2) : 0);
        frame.skipCounts[1] =
            static_cast<uint8_t>(roll < 2 ? 40 + frameRandom_.Below(128) : frameRandom_.Below(4));
        frame.skipCounts[2] = static_cast<uint8_t>(roll % 7 == 0 ? 1 : 0);
        const size_t bytes =
            frame.skipCounts[0] * 14u + frame.skipCounts[1] * 7u + frame.skipCounts[2] * 13u;
        for (size_t i = 0; i < bytes; ++i)
            frame.skipBytes.push_back(static_cast<uint8_t>(frameRandom_.Below(256)));
    }

    const double dt = 1.0 / (kFrameRate * kSubsteps);
    for (int32_t i = 0; i < n; ++i) Advance(*cars_[static_cast<size_t>(i)], i, t, dt);
    ++frame_;

    if (endFrame_ < 0) {
        const size_t needed = static_cast<size_t>(options_.laps) + 1;
        const bool done = std::all_of(
            cars_.begin(), cars_.end(),
            [&](const std::unique_ptr<Car>& c) { return c->crossings.size() >= needed; });
        // Stop about a third of a lap later, so the recording ends in the middle of a lap.
        if (done)
            endFrame_ = frame_ + std::max<int32_t>(
                                     15, static_cast<int32_t>(0.35 * slowestLap_ * kFrameRate));
    }
    return true;
}

}  // namespace sim
