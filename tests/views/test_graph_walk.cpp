// The graph walks each lap along its columns instead of asking ChannelValue afresh for
// every column; every value, and so every pixel, must stay exactly what ChannelValue gives.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "../sim/SimTracks.h"
#include "GraphTestSupport.h"
#include "channels/ChannelWalk.h"
#include "commands/Document.h"
#include "commands/ViewState.h"
#include "document/KvlFile.h"
#include "replay/OpenReplay.h"
#include "replay/Scan.h"
#include "sim/Simulator.h"
#include "track/Geometry.h"
#include "views/graph/GraphAxes.h"
#include "views/graph/GraphCurves.h"

namespace {

uint64_t Bits(double v) {
    return std::bit_cast<uint64_t>(v);
}

// x values of count columns from `from` in steps of (to - from) / count, accumulated by
// addition as the graph accumulates them.
std::vector<double> Columns(double from, double to, int count) {
    std::vector<double> xs;
    const double step = (to - from) / count;
    double x = from;
    for (int i = 0; i < count; ++i, x += step) xs.push_back(x);
    return xs;
}

// Every channel at every column of several plots over the lap (the whole lap, a plot
// reaching past both its ends, a narrow zoom with many columns per sample), on both x
// axes, and once with the columns running backwards: the walk against ChannelValue.
void ExpectWalkEqualsChannelValue(const TReplay& lap, const TTrackData* track,
                                  const std::string& what) {
    SCOPED_TRACE(what);
    const double duration = LapDuration(lap);
    const double start = lap.startPosition * lap.inchesPerUnit / 12;
    const double end = lap.endPosition * lap.inchesPerUnit / 12;
    struct Plot {
        TelemetryChannel xChannel;
        std::vector<double> xs;
    };
    std::vector<Plot> plots = {
        {TelemetryChannel::Position, Columns(start, end, 1800)},
        {TelemetryChannel::Position, Columns(start - 300, end + 300, 1000)},
        {TelemetryChannel::Position,
         Columns(start + (end - start) / 3, start + (end - start) / 3 + 90, 900)},
        {TelemetryChannel::Time, Columns(0, duration, 1800)},
        {TelemetryChannel::Time, Columns(-1, duration + 2, 1000)},
        {TelemetryChannel::Time, Columns(duration / 2, duration / 2 + 1, 900)},
    };
    plots.push_back({TelemetryChannel::Position, {plots[0].xs.rbegin(), plots[0].xs.rend()}});
    int mismatches = 0;
    for (const Plot& plot : plots) {
        TChannelWalk walk(lap, track);
        std::vector<double> ts;
        for (double x : plot.xs) ts.push_back(walk.TimeOf(x, plot.xChannel));
        for (int yNumber = 0; yNumber < ChannelCount; ++yNumber) {
            const auto y = static_cast<TelemetryChannel>(yNumber);
            std::vector<double> values(plot.xs.size());
            walk.ValuesAt(plot.xs.data(), ts.data(), plot.xs.size(), plot.xChannel, y,
                          values.data());
            for (size_t c = 0; c < plot.xs.size(); ++c) {
                const double expected = ChannelValue(lap, plot.xs[c], plot.xChannel, y, track);
                if (Bits(values[c]) == Bits(expected) &&
                    Bits(walk.ValueAt(plot.xs[c], plot.xChannel, ts[c], y)) == Bits(expected))
                    continue;
                if (++mismatches <= 5)
                    ADD_FAILURE() << "x channel " << ChannelNumber(plot.xChannel) << ", y channel "
                                  << yNumber << ", x " << plot.xs[c] << ": " << values[c]
                                  << " against " << expected;
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
}

std::unique_ptr<TTrackData> PreparedRoadCourse() {
    auto track = std::make_unique<TTrackData>(simtest::RoadCourse());
    PrepareGeometry(*track);
    return track;
}

// Every lap of every driver of a simulated race, the partial first and last ones included:
// with its dropouts and the car that rolls back over the line, the samples run backwards
// at places.
std::vector<std::unique_ptr<TReplay>> SimulatedLaps(const TTrackData& track) {
    simtest::TempDir dir;
    const std::string path = (dir.path / "race.rpl").string();
    sim::SimOptions options;
    options.track = &track;
    options.cars = 6;
    options.laps = 2;
    options.seed = 5;
    std::vector<std::unique_ptr<TReplay>> laps;
    if (!sim::WriteSimulatedReplay(options, path).ok) return laps;
    TOpenReplay replay;
    if (OpenReplay(path, track.trackLength, track.inchesPerUnit, replay) != TReplayReadStatus::Ok)
        return laps;
    for (size_t d = 0; d < replay.laps.size(); ++d)
        for (size_t i = 0; i < replay.laps[d].size(); ++i) {
            std::unique_ptr<TReplay> lap;
            if (ReadReplayLap(replay, int32_t(d), int32_t(i), lap) == TReplayReadStatus::Ok)
                laps.push_back(std::move(lap));
        }
    return laps;
}

bool GoesBackwards(const TReplay& lap) {
    for (size_t i = 1; i < lap.positions.size(); ++i)
        if (lap.positions[i] < lap.positions[i - 1]) return true;
    return false;
}

}  // namespace

TEST(GraphWalk, EqualsChannelValueOnTheSampleDocumentsLaps) {
    TTrackList tracks;
    ProfileFile settings("/nonexistent-dir/korvale-walk-test.ini");
    const std::filesystem::path bin(KORVALE_BIN_DIR);
    ASSERT_TRUE(LoadTrackData((bin / "tracks.dat").string(), settings, tracks).ok);
    const KvlReadResult doc = ReadKvlDocument((bin / "sample.kvl").string(), tracks);
    ASSERT_TRUE(doc.ok) << doc.message();
    ASSERT_GE(doc.currentTrack, 0);
    ASSERT_FALSE(doc.laps.empty());
    for (size_t i = 0; i < doc.laps.size(); ++i)
        ExpectWalkEqualsChannelValue(*doc.laps[i], &tracks.At(doc.currentTrack),
                                     "sample lap " + std::to_string(i));
}

TEST(GraphWalk, EqualsChannelValueOnSimulatedLapsThatGoBackwards) {
    const auto track = PreparedRoadCourse();
    const auto laps = SimulatedLaps(*track);
    ASSERT_GE(laps.size(), 12u);
    int backwards = 0;
    for (size_t i = 0; i < laps.size(); ++i) {
        backwards += GoesBackwards(*laps[i]);
        ExpectWalkEqualsChannelValue(*laps[i], track.get(), "simulated lap " + std::to_string(i));
        // On a track without geometry the Line channel is the stored offset.
        if (i % 6 == 0)
            ExpectWalkEqualsChannelValue(*laps[i], nullptr,
                                         "without geometry " + std::to_string(i));
    }
    EXPECT_GT(backwards, 0) << "no lap whose samples run backwards";
}

TEST(GraphWalk, EqualsChannelValueOnDegenerateLaps) {
    const auto track = PreparedRoadCourse();
    std::vector<std::unique_ptr<TReplay>> laps;
    laps.push_back(MakeLinearLap(0, 0, 0, {0, 0, 0}));
    laps.push_back(MakeLinearLap(1, 500, 0, {0, 0, 0}));
    laps.push_back(MakeLinearLap(6, 500, 40, {0, 0, 0}));  // too short for the fast steps
    auto longLap = [] {
        auto lap = MakeLinearLap(200, 100, 50, {0, 0, 0});
        for (size_t k = 0; k < 200; ++k) {
            lap->lines[k] = int32_t((k * 37) % 101) - 50;
            lap->headings[k] = int16_t((k * 997) % 65536 - 32768);
        }
        lap->startFrame = -0.4;
        lap->endFrame = 199.7;
        return lap;
    };
    laps.push_back(longLap());
    laps.back()->inchesPerUnit = 0;  // no scale: every position is time 0
    laps.push_back(longLap());
    laps.back()->endFrame = 1e15;  // a damaged end far past the samples
    laps.push_back(longLap());
    laps.back()->startFrame = -1e12;
    laps.push_back(longLap());
    laps.back()->startFrame = 0;  // no span before sample 0
    laps.push_back(longLap());
    laps.back()->sampleCount = 150;  // arrays longer than the count
    for (size_t i = 0; i < laps.size(); ++i)
        ExpectWalkEqualsChannelValue(*laps[i], track.get(), "degenerate lap " + std::to_string(i));
}

// The curves the graph draws by walking are the very polylines that ChannelValue gives
// column by column, for every pair of channels on both x axes.
TEST(GraphWalk, CurvesEqualThoseOfChannelValuePerColumn) {
    TTrackList tracks;
    const int index = tracks.Insert(PreparedRoadCourse());
    const TTrackData* track = &tracks.At(index);
    auto laps = SimulatedLaps(*track);
    ASSERT_GE(laps.size(), 4u);
    laps.resize(4);
    std::vector<const TReplay*> shown;
    for (const auto& lap : laps) shown.push_back(lap.get());
    const ChannelRange extents = ChannelExtents(shown, track);
    TDocument doc(tracks);
    doc.SetCurrentTrack(index);
    for (auto& lap : laps) doc.AddLap(std::move(lap));
    TViewState view;
    for (TelemetryChannel x : {TelemetryChannel::Time, TelemetryChannel::Position})
        for (int y = 0; y < ChannelCount; ++y) {
            const int y2 = (y + 5) % ChannelCount;
            doc.SetAxes({x, static_cast<TelemetryChannel>(y), static_cast<TelemetryChannel>(y2)});
            // The extents' ranges, a little narrower so that some values leave them.
            auto range = [&](int c, double shrink) {
                const double lo = extents.minimum[size_t(c)];
                const double hi = extents.maximum[size_t(c)];
                return TRange{lo + (hi - lo) * shrink, hi - (hi - lo) * shrink};
            };
            view.graph.viewRange = {range(ChannelNumber(x), 0), range(y, 0.1), range(y2, 0.05)};
            const TGraphPaintInput in{doc, view, track, 1280, 800, 1, 96, TAxisKind::None};
            for (int n = 0; n < doc.laps().Count(); ++n)
                for (bool second : {false, true})
                    EXPECT_EQ(LapCurve(doc.laps().At(n), in, second, TCurveValues::Walk),
                              LapCurve(doc.laps().At(n), in, second, TCurveValues::PerColumn))
                        << "x " << ChannelNumber(x) << " y " << y << " lap " << n
                        << (second ? " second" : "");
        }
}
