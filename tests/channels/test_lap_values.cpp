// The data window's readout without its window: which laps cover a pointed-at position or
// time, the values read there, and the reserved values -1 and -2.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "channels/LapValues.h"

namespace {

constexpr double kMphPerFootPerFrame = 15.0 * 3600.0 / 5280.0;

// n samples from `from`, stepUnits apart, straight along the centre line.
std::unique_ptr<TReplay> Lap(const char* name, int n, int from, int stepUnits,
                             double inchesPerUnit = 12) {
    auto lap = std::make_unique<TReplay>(name, 1);
    lap->ResizeSamples(n);
    for (int k = 0; k < n; ++k) lap->positions[size_t(k)] = from + k * stepUnits;
    lap->startFrame = 0;
    lap->endFrame = n - 1;
    lap->startPosition = from;
    lap->endPosition = from + (n - 1) * stepUnits;
    lap->inchesPerUnit = inchesPerUnit;
    lap->lapLength = 10000;
    return lap;
}

TTrackData Track(double inchesPerUnit) {
    TTrackData t;
    t.name = "Flat";
    t.trackLength = 10000;
    t.inchesPerUnit = inchesPerUnit;
    return t;  // no geometry: Line is the stored offset
}

bool Empty(const TLapValues& v) {
    for (const TLapValue& x : v)
        if (x) return false;
    return true;
}

struct Doc {
    TLapList laps;
    TLapDataTable table;
    void Add(std::unique_ptr<TReplay> lap) {
        table.AddLapColumn(*lap);
        laps.Add(std::move(lap));
    }
};

// Regression: a value of exactly -1 (here a line of -1.00 ft) read as an empty cell.
TEST(LapValues, AValueOfMinusOneIsAValue) {
    const TTrackData track = Track(12);
    Doc doc;
    auto lap = Lap("Left", 100, 0, 100);
    std::fill(lap->lines.begin(), lap->lines.end(), -1);
    doc.Add(std::move(lap));
    doc.table.ShowLapValues(1000, TelemetryChannel::Position,
                            {&doc.laps, &track, std::nullopt, TelemetryChannel::Time});
    EXPECT_EQ(doc.table.At(0).values[ChannelNumber(TelemetryChannel::Line)], -1.0);
    doc.table.ShowLapValues(kPointedAtNothing, TelemetryChannel::Position,
                            {&doc.laps, &track, std::nullopt, TelemetryChannel::Time});
    EXPECT_TRUE(Empty(doc.table.At(0).values));
}

TEST(LapValues, PositionShowsCoveringLapsAndEmptiesTheOthers) {
    const TTrackData track = Track(12);  // a unit is a foot
    Doc doc;
    doc.Add(Lap("Whole", 100, 0, 100));   // 0 .. 9900 ft
    doc.Add(Lap("Late", 50, 2000, 100));  // starts past 1000 ft
    doc.Add(Lap("Short", 6, 0, 100));     // ends at 500 ft
    doc.Add(Lap("Edge", 11, 0, 100));     // ends exactly at 1000 ft: bounds included
    doc.table.ShowLapValues(1000, TelemetryChannel::Position,
                            {&doc.laps, &track, std::nullopt, TelemetryChannel::Time});

    const TLapValues& whole = doc.table.At(0).values;
    EXPECT_DOUBLE_EQ(whole[ChannelNumber(TelemetryChannel::Time)].value(),
                     10.0 / 15.0);  // sample 10 of 15 a second
    EXPECT_DOUBLE_EQ(whole[ChannelNumber(TelemetryChannel::Position)].value(), 1000);
    EXPECT_NEAR(whole[ChannelNumber(TelemetryChannel::Speed)].value(), 100 * kMphPerFootPerFrame,
                1e-9);
    EXPECT_DOUBLE_EQ(whole[ChannelNumber(TelemetryChannel::Line)].value(), 0);
    EXPECT_NEAR(whole[ChannelNumber(TelemetryChannel::InlineForce)].value(), 0, 1e-9);
    EXPECT_NEAR(whole[ChannelNumber(TelemetryChannel::LateralForce)].value(), 0, 1e-9);
    EXPECT_NEAR(whole[ChannelNumber(TelemetryChannel::SlipAngle)].value(), 0, 1e-9);
    EXPECT_TRUE(Empty(doc.table.At(1).values));
    EXPECT_TRUE(Empty(doc.table.At(2).values));
    EXPECT_DOUBLE_EQ(doc.table.At(3).values[ChannelNumber(TelemetryChannel::Time)].value(),
                     10.0 / 15.0);

    // The same point given in another track scale: 2000 units of 6 inches are 1000 ft.
    const TTrackData half = Track(6);
    Doc scaled;
    scaled.Add(Lap("Half", 100, 0, 200, 6));
    scaled.table.ShowLapValues(2000, TelemetryChannel::Position,
                               {&scaled.laps, &half, std::nullopt, TelemetryChannel::Time});
    EXPECT_DOUBLE_EQ(scaled.table.At(0).values[ChannelNumber(TelemetryChannel::Position)].value(),
                     1000);
    EXPECT_DOUBLE_EQ(scaled.table.At(0).values[ChannelNumber(TelemetryChannel::Time)].value(),
                     10.0 / 15.0);
}

TEST(LapValues, TimeReadsEachLapWithinItsOwnDuration) {
    const TTrackData track = Track(12);
    Doc doc;
    doc.Add(Lap("Long", 151, 0, 60));  // 10 s
    doc.Add(Lap("Brief", 31, 0, 60));  // 2 s
    // A lap that starts half a frame before its first sample is read at lap time x, as the
    // graph draws it: the Time row is the pointed-at time.
    auto early = Lap("Early", 151, 30, 60);
    early->startFrame = -0.5;
    early->startPosition = 0;
    doc.Add(std::move(early));

    doc.table.ShowLapValues(3, TelemetryChannel::Time,
                            {&doc.laps, &track, std::nullopt, TelemetryChannel::Position});
    EXPECT_DOUBLE_EQ(doc.table.At(0).values[ChannelNumber(TelemetryChannel::Time)].value(), 3);
    EXPECT_DOUBLE_EQ(doc.table.At(0).values[ChannelNumber(TelemetryChannel::Position)].value(),
                     45 * 60);  // sample 45
    EXPECT_TRUE(Empty(doc.table.At(1).values)) << "past the end of a 2 s lap";
    EXPECT_DOUBLE_EQ(doc.table.At(2).values[ChannelNumber(TelemetryChannel::Time)].value(), 3);
    // Lap time 3 s is frame 44.5 of the early lap: halfway between samples 44 and 45.
    EXPECT_DOUBLE_EQ(doc.table.At(2).values[ChannelNumber(TelemetryChannel::Position)].value(),
                     30 + 44.5 * 60);

    doc.table.ShowLapValues(2, TelemetryChannel::Time,
                            {&doc.laps, &track, std::nullopt, TelemetryChannel::Position});
    EXPECT_DOUBLE_EQ(doc.table.At(1).values[ChannelNumber(TelemetryChannel::Time)].value(), 2)
        << "the last instant is covered";
    doc.table.ShowLapValues(-0.5, TelemetryChannel::Time,
                            {&doc.laps, &track, std::nullopt, TelemetryChannel::Position});
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(Empty(doc.table.At(i).values)) << i;
}

TEST(LapValues, ReservedValuesAndTheDocumentsState) {
    const TTrackData track = Track(12);
    Doc doc;
    doc.Add(Lap("A", 100, 0, 100));
    auto show = [&](double x, TelemetryChannel kind, const TTrackData* t,
                    std::optional<int32_t> cursor, TelemetryChannel xAxis) {
        doc.table.ShowLapValues(x, kind, {&doc.laps, t, cursor, xAxis});
        return doc.table.At(0).values;
    };
    // -2: the shared cursor, in track units, with the x-axis's kind.
    EXPECT_DOUBLE_EQ(show(-2, kPointedKindOfXAxis, &track, 1500,
                          TelemetryChannel::Position)[ChannelNumber(TelemetryChannel::Position)]
                         .value(),
                     1500);
    EXPECT_TRUE(
        Empty(show(-2, kPointedKindOfXAxis, &track, std::nullopt, TelemetryChannel::Position)))
        << "no cursor";
    // A negative kind takes the x-axis: 1.5 is then a time.
    EXPECT_DOUBLE_EQ(show(1.5, kPointedKindOfXAxis, &track, std::nullopt,
                          TelemetryChannel::Time)[ChannelNumber(TelemetryChannel::Time)]
                         .value(),
                     1.5);
    // -1 empties every cell, whatever a lap covers; so does a document without a track.
    EXPECT_TRUE(
        Empty(show(-1, TelemetryChannel::Time, &track, std::nullopt, TelemetryChannel::Time)));
    EXPECT_TRUE(Empty(
        show(1000, TelemetryChannel::Position, nullptr, std::nullopt, TelemetryChannel::Position)));
    EXPECT_TRUE(Empty(show(1000, TelemetryChannel::LateralForce, &track, std::nullopt,
                           TelemetryChannel::Position)))
        << "an unknown kind";
}

TEST(LapValues, DeltaRowIsTheTimeBehindTheReferenceWhereBothCover) {
    const TTrackData track = Track(12);
    Doc doc;
    doc.Add(Lap("Fast", 100, 0, 100));  // 100 ft a frame: 1000 ft at frame 10
    doc.Add(Lap("Slow", 100, 0, 50));   // 50 ft a frame: 1000 ft at frame 20
    doc.Add(Lap("Late", 50, 2000, 100));
    TLapValuesSource source{&doc.laps, &track, std::nullopt, TelemetryChannel::Position};
    source.deltaReference = 0;
    doc.table.ShowLapValues(1000, TelemetryChannel::Position, source);
    EXPECT_TRUE(doc.table.DeltaShown());
    ASSERT_TRUE(doc.table.At(0).delta.has_value());
    EXPECT_EQ(*doc.table.At(0).delta, 0.0);
    ASSERT_TRUE(doc.table.At(1).delta.has_value());
    EXPECT_NEAR(*doc.table.At(1).delta, 10.0 / 15.0, 1e-12);
    EXPECT_FALSE(doc.table.At(2).delta.has_value());  // does not reach 1000 ft

    source.deltaReference = 1;  // ahead of a slower reference is negative
    doc.table.ShowLapValues(1000, TelemetryChannel::Position, source);
    EXPECT_NEAR(*doc.table.At(0).delta, -10.0 / 15.0, 1e-12);

    // Past the reference's end nothing compares; on a time axis neither.
    doc.table.ShowLapValues(9000, TelemetryChannel::Position, source);
    EXPECT_FALSE(doc.table.At(0).delta.has_value());
    doc.table.ShowLapValues(1, TelemetryChannel::Time, source);
    EXPECT_FALSE(doc.table.At(0).delta.has_value());
    EXPECT_TRUE(doc.table.DeltaShown());

    // Without a reference there is no row, and the other values are as before.
    source.deltaReference = -1;
    doc.table.ShowLapValues(1000, TelemetryChannel::Position, source);
    EXPECT_FALSE(doc.table.DeltaShown());
    EXPECT_FALSE(doc.table.At(1).delta.has_value());
    EXPECT_NEAR(doc.table.At(1).values[ChannelNumber(TelemetryChannel::Time)].value(), 20.0 / 15.0,
                1e-9);
}

}  // namespace
