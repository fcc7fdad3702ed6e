#pragma once
// A simulated race with what the simulator drove beside what the importer makes of it: the
// truth (line crossings and, per frame, every car's true state), the replay opened and cut
// into laps as the Import Replay command does, and each lap imported on demand.
//
//   auto race = simtest::SimulatedRace::Run({.seed = 3});
//   for (const simtest::TruthLap& lap : race->FullLaps()) ...   // laps between two crossings
//   std::unique_ptr<TReplay> imported = race->Import(lap.driver, lap.chainIndex);

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "replay/OpenReplay.h"
#include "sim/SimTracks.h"
#include "sim/Simulator.h"
#include "track/Geometry.h"

namespace simtest {

struct RaceSetup {
    int32_t cars = 12;
    int32_t laps = 4;
    uint32_t seed = 1;
    bool untidy = true;
    bool paceCar = true;
};

// A full lap of the truth: lap k of a driver runs from crossing k-1 to crossing k, and is
// element k of the driver's lap chain when the importer cut the recording where it should.
struct TruthLap {
    int32_t driver = 0;
    int32_t chainIndex = 0;  // k: 1 for the first full lap
    double startCrossing = 0;
    double endCrossing = 0;
    double Seconds() const { return (endCrossing - startCrossing) / 15.0; }
};

class SimulatedRace {
  public:
    // Simulates on the road course (detailed geometry, prepared), writes the replay and opens
    // it as the import does. Check ok() (or use ASSERT_RACE_OPENED).
    static std::unique_ptr<SimulatedRace> Run(const RaceSetup& setup) {
        auto race = std::unique_ptr<SimulatedRace>(new SimulatedRace());
        race->setup = setup;
        PrepareGeometry(race->track);
        sim::SimOptions o;
        o.track = &race->track;
        o.cars = setup.cars;
        o.laps = setup.laps;
        o.seed = setup.seed;
        o.untidy = setup.untidy;
        o.paceCar = setup.paceCar;
        race->truth = sim::SimulateRace(o);
        race->path = (race->dir.path / "race.rpl").string();
        const sim::SimResult written = sim::WriteSimulatedReplay(o, race->path);
        race->status = written.ok ? OpenReplay(race->path, race->track.trackLength,
                                               race->track.inchesPerUnit, race->replay)
                                  : TReplayReadStatus::ErrorOpeningReplay;
        return race;
    }

    bool ok() const { return status == TReplayReadStatus::Ok; }

    std::vector<TruthLap> FullLaps() const {
        std::vector<TruthLap> laps;
        for (size_t i = 0; i < truth.drivers.size(); ++i) {
            const auto& c = truth.drivers[i].lapCrossings;
            for (size_t k = 1; k < c.size(); ++k)
                laps.push_back({int32_t(i), int32_t(k), c[k - 1], c[k]});
        }
        return laps;
    }

    // How far a crossing of this lap can be placed from the truth for the recording's sake
    // alone: positions are recorded in whole track units, so at a crawl over the line one
    // unit takes milliseconds. The larger of 2 ms and a unit's time at both crossings.
    double TimeTolerance(const TruthLap& lap) const {
        const auto& samples = truth.drivers[size_t(lap.driver)].samples;
        const double unitFeet = track.inchesPerUnit / 12;
        double unitTime = 0;
        for (const double c : {lap.startCrossing, lap.endCrossing}) {
            const size_t f = size_t(c);
            double mph = samples[f].speedMph;
            if (f + 1 < samples.size()) mph = std::min(mph, samples[f + 1].speedMph);
            unitTime += mph > 0 ? unitFeet / (mph * 5280 / 3600) : 1.0;
        }
        return std::max(0.002, unitTime);
    }

    // The chain element's lap read as Import Replay reads it (nullptr when it cannot be).
    std::unique_ptr<TReplay> Import(int32_t driver, int32_t chainIndex) {
        std::unique_ptr<TReplay> lap;
        if (ReadReplayLap(replay, driver, chainIndex, lap) != TReplayReadStatus::Ok) return {};
        return lap;
    }

    // "seed 3 untidy": for failure messages.
    std::string Name() const {
        return "seed " + std::to_string(setup.seed) + (setup.untidy ? " untidy" : " tidy");
    }

    RaceSetup setup;
    TTrackData track = RoadCourse();
    sim::RaceTruth truth;
    TempDir dir;
    std::string path;
    TOpenReplay replay;
    TReplayReadStatus status = TReplayReadStatus::ErrorOpeningReplay;

  private:
    SimulatedRace() = default;
};

// The setting the harness runs everywhere: four seeds of 12 cars and 4 laps, untidy, and
// one tidy race.
inline std::vector<RaceSetup> HarnessSetups() {
    std::vector<RaceSetup> setups;
    for (uint32_t seed : {1u, 2u, 3u, 4u}) setups.push_back({12, 4, seed, true, seed % 2 == 1});
    setups.push_back({12, 4, 5, false, true});
    return setups;
}

}  // namespace simtest

#define ASSERT_RACE_OPENED(race) \
    ASSERT_TRUE((race)->ok()) << (race)->Name() << ": " << ReplayReadMessage((race)->status)
