#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "../sim/SimTracks.h"
#include "channels/Channels.h"
#include "support/LapBuilder.h"
#include "track/Geometry.h"

namespace {

constexpr double kMphPerFootPerFrame = 15.0 * 3600.0 / 5280.0;
constexpr double kGPerMphPerFrame = 5280.0 * 15.0 / 3600.0 / 32.2;

// A lap at 12 inches per unit, so that a track unit is a foot and expected values read
// directly off the samples.
std::unique_ptr<TReplay> MakeLap(std::vector<int32_t> positions, std::vector<int32_t> lines = {},
                                 std::vector<int16_t> headings = {}) {
    const auto n = static_cast<int32_t>(positions.size());
    const int32_t last = n > 0 ? positions.back() : 0;
    return TLapBuilder("Test", 7)
        .Positions(std::move(positions), std::move(lines), std::move(headings))
        .Scale(12.0)
        .Frames(0, n - 1)
        .Span(0, last)
        .Length(last)
        .Build();
}

// Time at a position exactly as the linear search over the samples defines it.
double LinearTimeAtPosition(const TReplay& lap, double feet) {
    const double p = feet * 12.0 / lap.inchesPerUnit;
    const auto& P = lap.positions;
    const int32_t n = lap.sampleCount;
    double offset;
    if (P[0] > p) {
        offset = -lap.startFrame * p / P[0];
    } else if (P[n - 1] < p) {
        const double frame =
            (n - 1) + (lap.endFrame - (n - 1)) * (p - P[n - 1]) / (lap.endPosition - P[n - 1]);
        offset = frame - lap.startFrame;
    } else {
        int32_t i = 0;
        while (i < n - 1 && !(P[i + 1] > p)) ++i;
        const double frame = i == n - 1 ? n - 1 : i + (p - P[i]) / (P[i + 1] - P[i]);
        offset = frame - lap.startFrame;
    }
    return offset / 15.0;
}

}  // namespace

TEST(Channels, PositionAndLineFollowTheThreeRulesAndTheEndClamp) {
    auto lap = MakeLap({10, 20, 30, 40}, {5, 7, 11, 17});
    lap->startFrame = -0.5;
    lap->endFrame = 3.5;
    lap->endPosition = 44;

    // Before sample 0: a straight line from 0 at the start to P[0] at sample 0.
    EXPECT_DOUBLE_EQ(PositionAt(*lap, 0), 0.0);
    EXPECT_DOUBLE_EQ(PositionAt(*lap, 0.25 / 15), 5.0);
    // Between samples: linear interpolation; the last sample exactly.
    EXPECT_DOUBLE_EQ(PositionAt(*lap, 2.0 / 15), 25.0);
    EXPECT_DOUBLE_EQ(PositionAt(*lap, 3.5 / 15), 40.0);
    // After it: straight to endPosition at endFrame, and no further (the clamp).
    EXPECT_DOUBLE_EQ(PositionAt(*lap, 3.75 / 15), 42.0);
    EXPECT_DOUBLE_EQ(PositionAt(*lap, 4.0 / 15), 44.0);
    EXPECT_DOUBLE_EQ(PositionAt(*lap, 100.0), 44.0);

    // The line before sample 0 is extended by one whole sample step whatever startFrame is.
    EXPECT_DOUBLE_EQ(RawLineAt(*lap, 0), 5.0 + (5.0 - 7.0) * -0.5 / -0.5);
    EXPECT_DOUBLE_EQ(RawLineAt(*lap, 2.0 / 15), 9.0);
    // After the last sample: the slope of the last two samples.
    EXPECT_DOUBLE_EQ(RawLineAt(*lap, 4.0 / 15), 17.0 + 6.0 * 0.5);

    // Feet from track units.
    lap->inchesPerUnit = 6.0;
    EXPECT_DOUBLE_EQ(PositionAt(*lap, 2.0 / 15), 12.5);
}

TEST(Channels, HeadingsInterpolateAsPlainSignedNumbersAcrossTheWrap) {
    auto lap = MakeLap({0, 10, 20}, {}, {32767, -32768, 0});
    EXPECT_DOUBLE_EQ(HeadingAt(*lap, 0.5 / 15), -0.5);
    EXPECT_DOUBLE_EQ(HeadingAt(*lap, 0.25 / 15), 32767 * 0.75 - 32768 * 0.25);
}

TEST(Channels, SpeedUsesForwardCentralAndBackwardDifferences) {
    // Positions i*i*10 feet: the three stencils give different per-frame changes.
    auto lap = MakeLap({0, 10, 40, 90, 160, 250, 360, 490});
    EXPECT_NEAR(SpeedAt(*lap, 0), 10 * kMphPerFootPerFrame, 1e-9);          // forward
    EXPECT_NEAR(SpeedAt(*lap, 1.0 / 15), 30 * kMphPerFootPerFrame, 1e-9);   // still the first frame
    EXPECT_NEAR(SpeedAt(*lap, 2.0 / 15), 40 * kMphPerFootPerFrame, 1e-9);   // central
    EXPECT_NEAR(SpeedAt(*lap, 7.0 / 15), 130 * kMphPerFootPerFrame, 1e-9);  // backward
    EXPECT_NEAR(SpeedAt(*lap, 50.0), 130 * kMphPerFootPerFrame, 1e-9);      // clamped
    // Constant acceleration of 20 feet per frame per frame away from the ends.
    EXPECT_NEAR(InlineForceAt(*lap, 3.0 / 15), 20 * kMphPerFootPerFrame * kGPerMphPerFrame, 1e-9);
    // Next to the first frame the central difference meets the forward one: (60 - 30) / 2.
    EXPECT_NEAR(InlineForceAt(*lap, 2.0 / 15), 15 * kMphPerFootPerFrame * kGPerMphPerFrame, 1e-9);
}

TEST(Channels, SlipAngleIsZeroAtRestAndAlwaysWithinAHalfTurn) {
    auto still = MakeLap({100, 100, 100, 100});
    EXPECT_EQ(SlipAngleAt(*still, 1.0 / 15), 0.0);

    std::mt19937 rng(7);
    std::uniform_int_distribution<int32_t> step(-40, 400);
    std::uniform_int_distribution<int32_t> heading(-32768, 32767);
    std::vector<int32_t> pos{0}, line{0};
    std::vector<int16_t> head{0};
    for (int i = 1; i < 200; ++i) {
        pos.push_back(pos.back() + step(rng));
        line.push_back(line.back() + step(rng) / 4);
        head.push_back(static_cast<int16_t>(heading(rng)));
    }
    auto lap = MakeLap(pos, line, head);
    for (int k = 0; k < 199 * 4; ++k) {
        const double s = SlipAngleAt(*lap, k / 60.0);
        EXPECT_GE(s, -180.0);
        EXPECT_LT(s, 180.0);
    }
    // Driving straight along the track with the heading a quarter turn off.
    auto side = MakeLap({0, 10, 20, 30}, {0, 0, 0, 0}, {16384, 16384, 16384, 16384});
    EXPECT_NEAR(SlipAngleAt(*side, 1.0 / 15), 90.0, 1e-9);
}

TEST(Channels, TimeAtPositionMatchesTheLinearSearchEvenWhereTheCarGoesBack) {
    std::mt19937 rng(11);
    std::uniform_int_distribution<int32_t> step(-30, 120);
    std::vector<int32_t> pos{3};
    for (int i = 1; i < 500; ++i) pos.push_back(pos.back() + step(rng));
    auto lap = MakeLap(pos);
    lap->startFrame = -0.4;
    lap->endFrame = 499.6;
    lap->endPosition = pos.back() + 50;
    int32_t maxPos = 0;
    for (int32_t p : pos) maxPos = std::max(maxPos, p);
    for (double feet = 0; feet < maxPos + 60; feet += 0.75) {
        ASSERT_EQ(TimeAtPosition(*lap, feet), LinearTimeAtPosition(*lap, feet)) << feet;
    }
    for (int32_t p : pos) {
        ASSERT_EQ(TimeAtPosition(*lap, p), LinearTimeAtPosition(*lap, p)) << p;
    }

    auto simple = MakeLap({0, 15, 30, 45});
    EXPECT_EQ(TimeAtPosition(*simple, 0), 0.0);
    EXPECT_DOUBLE_EQ(TimeAtPosition(*simple, 45), 3.0 / 15);
    simple->endFrame = 4;
    simple->endPosition = 65;
    EXPECT_DOUBLE_EQ(TimeAtPosition(*simple, 55), 3.5 / 15);
}

// Stored numbers become channels only inside the range an axis can hold; the name tables
// answer for every channel and for nothing outside them.
TEST(Channels, StoredNumbersAndNames) {
    EXPECT_EQ(ChannelFromNumber(0, TelemetryChannel::Position), TelemetryChannel::Time);
    EXPECT_EQ(ChannelFromNumber(1, TelemetryChannel::Position), TelemetryChannel::Position);
    EXPECT_EQ(ChannelFromNumber(2, TelemetryChannel::Position), std::nullopt);
    EXPECT_EQ(ChannelFromNumber(6, TelemetryChannel::SlipAngle), TelemetryChannel::SlipAngle);
    EXPECT_EQ(ChannelFromNumber(7, TelemetryChannel::SlipAngle), std::nullopt);
    EXPECT_EQ(ChannelFromNumber(7, TelemetryChannel::None), TelemetryChannel::None);
    EXPECT_EQ(ChannelFromNumber(-1, TelemetryChannel::None), std::nullopt);
    EXPECT_EQ(ChannelFromNumber(int64_t{1} << 32, TelemetryChannel::None), std::nullopt);
    EXPECT_EQ(ChannelNumber(TelemetryChannel::LateralForce), 5);

    EXPECT_STREQ(ChannelName(TelemetryChannel::Time), "Time");
    EXPECT_STREQ(ChannelName(TelemetryChannel::InlineForce), "In-line Force");
    EXPECT_STREQ(ChannelName(TelemetryChannel::None), "None");
    EXPECT_STREQ(ChannelUnit(TelemetryChannel::Speed), "mph");
    EXPECT_STREQ(ChannelUnit(TelemetryChannel::SlipAngle), "degrees");
    EXPECT_STREQ(ChannelUnit(TelemetryChannel::None), "--");
    EXPECT_STREQ(ChannelName(static_cast<TelemetryChannel>(8)), "");
    EXPECT_STREQ(ChannelUnit(static_cast<TelemetryChannel>(-1)), "");
}

TEST(Channels, DegenerateLapsNeverDivideByZero) {
    auto empty = MakeLap({});
    for (int c = 0; c < ChannelCount; ++c)
        EXPECT_EQ(ChannelValue(*empty, 1.0, TelemetryChannel::Position,
                               static_cast<TelemetryChannel>(c), nullptr),
                  0.0);
    EXPECT_EQ(TimeAtPosition(*empty, 10), 0.0);
    EXPECT_EQ(AverageLapSpeed(*empty), 0.0);

    // One sample, a lap starting exactly on sample 0, a zero-length lap.
    auto one = MakeLap({50});
    EXPECT_TRUE(std::isfinite(SpeedAt(*one, 0)));
    EXPECT_TRUE(std::isfinite(TimeAtPosition(*one, 20)));
    EXPECT_TRUE(std::isfinite(TimeAtPosition(*one, 80)));
    EXPECT_EQ(AverageLapSpeed(*one), 0.0);
    auto flat = MakeLap({10, 10, 10});
    flat->endPosition = 10;
    for (double feet : {0.0, 10.0, 20.0}) EXPECT_TRUE(std::isfinite(TimeAtPosition(*flat, feet)));
    // Regression: damaged laps hung the channels or indexed past their samples.
    // A damaged document: the heading extrapolated far past the samples, or not a number.
    auto damaged = MakeLap({0, 10}, {0, 0}, {0, 30000});
    damaged->endFrame = 1e15;
    const double s = SlipAngleAt(*damaged, 1e13);
    EXPECT_GE(s, -180.0);
    EXPECT_LT(s, 180.0);
    // A start that is not a number must not index the samples (the sanitizers watch this).
    damaged->startFrame = std::nan("");
    EXPECT_EQ(PositionAt(*damaged, 1), 0.0);
    EXPECT_EQ(RawLineAt(*damaged, 1), 0.0);
    (void)ChannelValue(*damaged, 5, TelemetryChannel::Position, TelemetryChannel::SlipAngle,
                       nullptr);
    auto zeroScale = MakeLap({0, 10});
    zeroScale->inchesPerUnit = 0;
    EXPECT_EQ(TimeAtPosition(*zeroScale, 5), 0.0);
}

TEST(Channels, LapSpeedIsTheNominalLengthOverTheLapTime) {
    auto lap = MakeLap({0, 5280});
    lap->lapLength = 5280;    // one mile
    lap->endFrame = 15 * 60;  // in one minute
    lap->startFrame = 0;
    EXPECT_DOUBLE_EQ(AverageLapSpeed(*lap), 60.0);
    // A whole lap whose start was placed on the line in floating point keeps that figure.
    lap->startPosition = 1e-9;
    EXPECT_EQ(AverageLapSpeed(*lap), 60.0);
}

// Regression: a partial lap's average speed took the whole track's length.
TEST(Channels, PartialLapSpeedIsTheDistanceCoveredOverItsTime) {
    // The recording began 5000 ft before the line: half a mile of a two-mile lap in 30 s.
    auto lap = MakeLap({0, 2640});
    lap->lapLength = 10560;
    lap->startPosition = 7920;
    lap->endPosition = 10560;
    lap->startFrame = 0;
    lap->endFrame = 15 * 30;
    EXPECT_DOUBLE_EQ(AverageLapSpeed(*lap), 60.0);
    // Or it ended before the line.
    lap->startPosition = 0;
    lap->endPosition = 2640;
    EXPECT_DOUBLE_EQ(AverageLapSpeed(*lap), 60.0);
    // A damaged document whose lap runs backwards or has no positions gets no speed.
    lap->endPosition = -100;
    EXPECT_EQ(AverageLapSpeed(*lap), 0.0);
    lap->endPosition = std::nan("");
    EXPECT_EQ(AverageLapSpeed(*lap), 0.0);
}

TEST(Channels, LineMeasuresFromTheOtherWallOnTracksWithGeometry) {
    TTrackData road = simtest::RoadCourse();
    PrepareGeometry(road);
    ASSERT_TRUE(road.hasGeometry());
    auto lap = MakeLap({1000, 1100, 1200}, {-20, -30, -40});
    lap->inchesPerUnit = road.inchesPerUnit;
    const double t = 1.0 / 15;
    const double raw = RawLineAt(*lap, t);
    const double width = TrackWidthAt(road, 1100) * road.inchesPerUnit / 12.0;
    road.sideFlag = 1;
    EXPECT_DOUBLE_EQ(LineAt(*lap, t, &road), raw - width);
    road.sideFlag = 0;
    EXPECT_DOUBLE_EQ(LineAt(*lap, t, &road), width - raw);

    TTrackData plain;
    plain.inchesPerUnit = 12;
    EXPECT_DOUBLE_EQ(LineAt(*lap, t, &plain), raw);
    EXPECT_DOUBLE_EQ(LineAt(*lap, t, nullptr), raw);
}

TEST(Channels, ChannelValueAddressesByTimeOrPosition) {
    auto lap = MakeLap({0, 10, 40, 90, 160, 250, 360}, {0, 3, 4, 9, 20, 22, 21});
    const double t = 3.0 / 15;
    EXPECT_DOUBLE_EQ(ChannelValue(*lap, t, TelemetryChannel::Time, TelemetryChannel::Time, nullptr),
                     t);
    EXPECT_DOUBLE_EQ(
        ChannelValue(*lap, t, TelemetryChannel::Time, TelemetryChannel::Position, nullptr), 90.0);
    EXPECT_DOUBLE_EQ(
        ChannelValue(*lap, 90.0, TelemetryChannel::Position, TelemetryChannel::Position, nullptr),
        90.0);
    EXPECT_DOUBLE_EQ(
        ChannelValue(*lap, 90.0, TelemetryChannel::Position, TelemetryChannel::Time, nullptr), t);
    EXPECT_DOUBLE_EQ(
        ChannelValue(*lap, 90.0, TelemetryChannel::Position, TelemetryChannel::Speed, nullptr),
        60 * kMphPerFootPerFrame);  // (160 - 40) / 2 feet a frame at frame 3

    EXPECT_EQ(ChannelValue(*lap, t, TelemetryChannel::Time, TelemetryChannel::None, nullptr), 0.0);
}

TEST(Channels, ForcesOfASteadilyAcceleratingCarAndTheirSmoothing) {
    // 0.12 inches per unit: a unit is 0.01 ft. Along the track p = 100k + 7k^2 units and
    // across it l = 7k^2 units at frame k: both accelerate by 14 units = 0.14 ft per frame
    // per frame, 0.14 * 15^2 = 31.5 ft/s^2 = 31.5 / 32.2 g.
    auto lap = TLapBuilder("Test", 7)
                   .Samples(11,
                            [](int32_t k) {
                                return TLapSample{100 * k + 7 * k * k, 7 * k * k};
                            })
                   .Scale(0.12)
                   .Frames(0, 10)
                   .Span(0, 1700)
                   .Length(1700)
                   .Build();
    constexpr double kG = 31.5 / 32.2;
    const double f5 = 5.0 / 15;
    // Speed at frame 5, central: (p6 - p4) / 2 = 170 units = 1.7 ft per frame.
    EXPECT_NEAR(SpeedAt(*lap, f5), 1.7 * 15 * 3600 / 5280, 1e-9);
    // Frames 3 to 7 difference speeds that are central differences themselves.
    for (int k = 3; k <= 7; ++k) {
        EXPECT_NEAR(InlineForceAt(*lap, k / 15.0), kG, 1e-9) << k;
        EXPECT_NEAR(LateralForceAt(*lap, k / 15.0), kG, 1e-9) << k;
    }
    EXPECT_NEAR(
        ChannelValue(*lap, f5, TelemetryChannel::Time, TelemetryChannel::LateralForce, nullptr), kG,
        1e-9);
    EXPECT_NEAR(
        ChannelValue(*lap, f5, TelemetryChannel::Time, TelemetryChannel::InlineForce, nullptr), kG,
        1e-9);
    // At the lap's start the first two frames take forward differences: across, speeds of
    // 7 and 21 units per frame at frames 0 and 1 and a central 28 at frame 2 give forces of
    // 14 and 7 units per frame per frame; plotted, (2 * 14 + 7) / 3 = 35/3 units.
    EXPECT_NEAR(
        ChannelValue(*lap, 0, TelemetryChannel::Time, TelemetryChannel::LateralForce, nullptr),
        35.0 / 3 * 0.01 * 225 / 32.2, 1e-9);
    // Along, the steady 100 units a frame adds nothing to a difference of speeds.
    EXPECT_NEAR(
        ChannelValue(*lap, 0, TelemetryChannel::Time, TelemetryChannel::InlineForce, nullptr),
        35.0 / 3 * 0.01 * 225 / 32.2, 1e-9);
}

TEST(Channels, ExtentsStartFromTheirSeedsAndWidenOverEveryFrame) {
    TTrackData track;
    track.trackLength = 6000;
    track.inchesPerUnit = 6;

    auto shortLap = MakeLap({0, 1});
    shortLap->endFrame = 0;  // no time at all: nothing is sampled
    ChannelRange r = ChannelExtents({shortLap.get()}, &track);
    EXPECT_DOUBLE_EQ(r.Max(TelemetryChannel::Position), 3000.0);
    EXPECT_DOUBLE_EQ(r.Max(TelemetryChannel::Time), 0.0);
    EXPECT_EQ(r.Min(TelemetryChannel::Speed), 500.0);
    EXPECT_EQ(r.Max(TelemetryChannel::Speed), -500.0);
    EXPECT_EQ(r.Min(TelemetryChannel::SlipAngle), 1000.0);

    auto lap = MakeLap({0, 10, 40, 90, 160, 250});
    lap->endFrame = 5.5;
    lap->endPosition = 300;
    r = ChannelExtents({shortLap.get(), lap.get()}, &track);
    EXPECT_DOUBLE_EQ(r.Max(TelemetryChannel::Time), 5.5 / 15);
    EXPECT_NEAR(r.Min(TelemetryChannel::Speed), 10 * kMphPerFootPerFrame,
                1e-6);  // forward at frame 0
    EXPECT_NEAR(r.Max(TelemetryChannel::Speed), 90 * kMphPerFootPerFrame,
                1e-6);  // backward at frame 5
    EXPECT_EQ(r.Min(TelemetryChannel::Line), 0.0);
    EXPECT_EQ(r.Max(TelemetryChannel::Line), 0.0);
    EXPECT_EQ(r.Max(TelemetryChannel::None), 0.0) << "None has no extent";
    EXPECT_EQ(r.Min(static_cast<TelemetryChannel>(-1)), 0.0);
}

// Regression: the frame bound covered only laps ending within 30 frames of their last sample.
TEST(Channels, ExtentsCoverALapWhoseRecordingEndsCrawlingShortOfTheLine) {
    // The recording stops 600 units short of the line at one unit per frame: the lap's end
    // lies 600 frames past its last sample, and the drifting line keeps widening out there.
    std::vector<int32_t> pos, line;
    for (int32_t k = 0; k < 20; ++k) {
        pos.push_back(k < 19 ? 100 * k : 100 * 18 + 1);
        line.push_back(k < 19 ? 0 : 1);
    }
    auto lap = MakeLap(pos, line);
    lap->endFrame = 19 + 600;
    lap->endPosition = pos.back() + 600;
    TTrackData track;
    track.trackLength = lap->endPosition;
    track.inchesPerUnit = 12;

    ChannelRange expected;
    expected.minimum = {0, 0, 500, 1000, 1000, 1000, 1000};
    expected.maximum = {0, 0, -500, -1000, -1000, -1000, -1000};
    const double duration = LapDuration(*lap);
    for (double t = 0; t < duration; t += 1.0 / 15) {
        const double v[] = {SpeedAt(*lap, t), LineAt(*lap, t, &track), InlineForceAt(*lap, t),
                            LateralForceAt(*lap, t), SlipAngleAt(*lap, t)};
        for (int c = 0; c < 5; ++c) {
            expected.minimum[size_t(c + 2)] = std::min(expected.minimum[size_t(c + 2)], v[c]);
            expected.maximum[size_t(c + 2)] = std::max(expected.maximum[size_t(c + 2)], v[c]);
        }
    }
    const ChannelRange r = ChannelExtents({lap.get()}, &track);
    EXPECT_GT(r.Max(TelemetryChannel::Line), 500.0);
    for (int c = ChannelNumber(TelemetryChannel::Speed); c < ChannelCount; ++c) {
        EXPECT_EQ(r.minimum[size_t(c)], expected.minimum[size_t(c)]) << c;
        EXPECT_EQ(r.maximum[size_t(c)], expected.maximum[size_t(c)]) << c;
    }
}

// The series form gives TimeAtPosition's very values: rising positions over a lap that rolls
// back for a while, before its first and past its last sample, then falling and odd ones.
TEST(TimesAtPositions, SameValuesAsOneCallEach) {
    TReplay lap("Series", 1);
    lap.ResizeSamples(9);
    lap.positions = {40, 100, 250, 240, 230, 400, 400, 700, 900};
    lap.startFrame = -0.4;
    lap.endFrame = 8.6;
    lap.startPosition = 0;
    lap.endPosition = 1000;
    lap.inchesPerUnit = 6;  // two units to the foot
    std::vector<double> feet;
    for (double f = -5; f <= 520; f += 2.5) feet.push_back(f);
    for (double f : {300.0, 10.0, 125.0, 125.0, std::nan(""), 200.0, 1e9}) feet.push_back(f);
    std::vector<double> times(feet.size(), -1);
    TimesAtPositions(lap, feet.data(), feet.size(), times.data());
    for (size_t k = 0; k < feet.size(); ++k)
        EXPECT_EQ(times[k], TimeAtPosition(lap, feet[k])) << feet[k];

    TReplay empty("Empty", 1);
    TimesAtPositions(empty, feet.data(), 3, times.data());
    EXPECT_EQ(times[0], 0.0);
    EXPECT_EQ(times[2], 0.0);
}

// Regression: a car that rolled back over the line just after it started its lap recorded
// positions near the lap's length between positions near 0, and the channels read the wrap
// as a whole lap driven in a frame (tens of thousands of mph).
TEST(Channels, ALapThatRollsBackOverTheLineReadsThePositionsAsDriven) {
    // One foot per unit on a lap of 10000: out to 60, back to 15 behind the line, on again.
    auto lap = TLapBuilder("Test", 7)
                   .Positions({30, 60, 40, 9995, 9985, 9995, 10, 30, 60, 90})
                   .Scale(12.0)
                   .Frames(-1, 9)
                   .Span(0, 120)
                   .Length(10000)
                   .Build();
    const std::vector<int32_t> stored = lap->positions;
    // Central differences of the positions as driven, in feet per frame: (-5 - 60) / 2 at
    // sample 2, (-5 - -5) / 2 at sample 4, (30 - -5) / 2 at sample 6.
    EXPECT_DOUBLE_EQ(SpeedAt(*lap, 3 / 15.0), -32.5 * kMphPerFootPerFrame);
    EXPECT_NEAR(SpeedAt(*lap, 5 / 15.0), 0.0, 1e-9);
    EXPECT_DOUBLE_EQ(SpeedAt(*lap, 7 / 15.0), 17.5 * kMphPerFootPerFrame);
    EXPECT_DOUBLE_EQ(PositionAt(*lap, 4.5 / 15.0), -10.0);
    // A position is reached when the car first gets there: 50 feet between samples 0 and 1,
    // 75 feet only after the roll back, between samples 8 and 9.
    EXPECT_DOUBLE_EQ(TimeAtPosition(*lap, 50), (1 + 20.0 / 30) / 15);
    EXPECT_DOUBLE_EQ(TimeAtPosition(*lap, 75), (1 + 8.5) / 15);
    const ChannelRange r = ChannelExtents({lap.get()}, nullptr);
    EXPECT_LT(r.maximum[ChannelNumber(TelemetryChannel::Speed)], 40 * kMphPerFootPerFrame);
    EXPECT_GT(r.minimum[ChannelNumber(TelemetryChannel::Speed)], -40 * kMphPerFootPerFrame);
    // What the lap stores is untouched.
    EXPECT_EQ(lap->positions, stored);
    EXPECT_TRUE(lap->RolledOverLine());
    EXPECT_FALSE(MakeLap({0, 15, 30, 45})->RolledOverLine());
}
