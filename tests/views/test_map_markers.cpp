// The speed comparison's winners and colours, the cursor's pen, and the laps' world points.
#include <gtest/gtest.h>

#include "views/MapTestSupport.h"
#include "views/map/LapLine.h"
#include "views/map/MapMarkers.h"

namespace {

const Rgb kYellow{255, 255, 0};
const Rgb kBlue{0, 0, 255};

TEST(PaleColour, LightensDarkColoursTowardASumOf660AndKeepsWhite) {
    EXPECT_EQ(PaleColour({0, 0, 0}), (Rgb{220, 220, 220}));
    EXPECT_EQ(PaleColour({255, 255, 255}), (Rgb{255, 255, 255}));
    EXPECT_EQ(PaleColour(kYellow), (Rgb{255, 255, 150}));
    // S = 255: f = 405 / 510; 255 * f = 202.5 -> 202.
    EXPECT_EQ(PaleColour(kBlue), (Rgb{202, 202, 255}));
    // Brighter than 660 is darkened: S = 705, f = -0.75, 195 * 1.75 - 191.25 = 150.
    EXPECT_EQ(PaleColour({255, 255, 195}), (Rgb{255, 255, 150}));
}

// Lap A covers the first half of the track faster, lap B the second half.
struct Race {
    std::unique_ptr<TTrackData> track = MakeStraightTrack();
    std::unique_ptr<TReplay> a, b;
    Race() {
        std::vector<int> pa = Steps(0, 5000, 50), pb = Steps(0, 5000, 100);
        const std::vector<int> ra = Steps(5000, 10000, 100), rb = Steps(5000, 10000, 50);
        pa.insert(pa.end(), ra.begin() + 1, ra.end());
        pb.insert(pb.end(), rb.begin() + 1, rb.end());
        a = MakeLapThrough(pa, kYellow);
        b = MakeLapThrough(pb, kBlue);
    }
};

TEST(SegmentWinners, CompleteLapsGetEverySegmentTheLastIncluded) {
    Race r;
    const std::vector<uint8_t> w = SegmentWinners(*r.track, *r.a, *r.b);
    EXPECT_EQ(w, (std::vector<uint8_t>{1, 1, 1, 1, 1, 2, 2, 2, 2, 2}));
}

TEST(SegmentWinners, EqualTimesGoToTheSecondLap) {
    Race r;
    const std::vector<uint8_t> w = SegmentWinners(*r.track, *r.a, *r.a);
    EXPECT_EQ(w, std::vector<uint8_t>(10, 2));
}

TEST(SegmentWinners, DifferentEndsStopAtTheFirstSegmentBeyondEither) {
    Race r;
    // B stops at 9500: segment 9 (9000..10000) ends beyond it.
    auto shortB = MakeLapThrough(Steps(0, 9500, 95), kBlue);
    std::vector<uint8_t> w = SegmentWinners(*r.track, *r.a, *shortB);
    EXPECT_EQ(w[8], 2);
    EXPECT_EQ(w[9], 0);
    // Both cover the last segment, but their ends differ: it stays uncoloured.
    auto longB = MakeLapThrough(Steps(0, 10050, 201), kBlue);
    w = SegmentWinners(*r.track, *r.a, *longB);
    EXPECT_NE(w[8], 0);
    EXPECT_EQ(w[9], 0);
}

TEST(SegmentWinners, StartFromTheSegmentWhereTheLaterLapStarts) {
    Race r;
    // A lap picked up part way round, at 3500: segments 0 to 2 lie before it.
    auto late = MakeLapThrough(Steps(3500, 10000, 65), kBlue);
    EXPECT_EQ(FirstComparedSegment(*r.track, *r.a, *late), 3);
    const std::vector<uint8_t> w = SegmentWinners(*r.track, *r.a, *late);
    EXPECT_EQ(w[0], 0);
    EXPECT_EQ(w[2], 0);
    EXPECT_NE(w[3], 0);
    EXPECT_NE(w[9], 0);
    // Starts on the line (a hair either side of it from the crossing's arithmetic) give 0.
    r.b->startPosition = 1e-9;
    EXPECT_EQ(FirstComparedSegment(*r.track, *r.a, *r.b), 0);
    r.b->startPosition = -0.3;
    EXPECT_EQ(FirstComparedSegment(*r.track, *r.a, *r.b), 0);
}

TEST(SegmentWinners, NothingWithoutPreparedGeometry) {
    Race r;
    ReleaseGeometry(*r.track);
    EXPECT_TRUE(SegmentWinners(*r.track, *r.a, *r.b).empty());
}

TEST(MapCursorColour, GreenWithoutTheComparisonAndTheWinnersPaleColourWithGreenFlipped) {
    Race r;
    const std::vector<uint8_t> w = SegmentWinners(*r.track, *r.a, *r.b);
    EXPECT_EQ(MapCursorColour(*r.track, 1500, false, w, kYellow, kBlue), (Rgb{0, 192, 0}));
    // Segment 1 went to the yellow lap: pale (255, 255, 150) -> (255, 255 ^ 192, 150).
    EXPECT_EQ(MapCursorColour(*r.track, 1500, true, w, kYellow, kBlue), (Rgb{255, 63, 150}));
    // Segment 7 to the blue one: pale (202, 202, 255).
    EXPECT_EQ(MapCursorColour(*r.track, 7500, true, w, kYellow, kBlue), (Rgb{202, 10, 255}));
    // No winner: white with green flipped.
    const std::vector<uint8_t> none(10, 0);
    EXPECT_EQ(MapCursorColour(*r.track, 7500, true, none, kYellow, kBlue), (Rgb{255, 63, 255}));
}

TEST(LapLine, OnePointPerFrameFromTheStartToTheDuration) {
    auto track = MakeStraightTrack();
    // 11 frames from 0 to 1000 at lateral 30: 20 units in from the centre line toward edge 0.
    auto lap = MakeLapThrough(Steps(0, 1000, 10), kBlue, 30);
    const std::vector<TrackPoint> p = LapLinePoints(*track, *lap);
    // Start, t = 0 .. 9/15 (ten points below the duration of 10/15), the end.
    ASSERT_EQ(p.size(), 12u);
    EXPECT_EQ(p.front(), (TrackPoint{0, 20}));
    EXPECT_EQ(p[1], (TrackPoint{0, 20}));
    EXPECT_EQ(p[6], (TrackPoint{500, 20}));
    EXPECT_EQ(p.back(), (TrackPoint{1000, 20}));
}

TEST(LapLine, ADamagedEndFrameCannotRunAway) {
    auto track = MakeStraightTrack();
    auto lap = MakeLapThrough(Steps(0, 1000, 10), kBlue);
    lap->endFrame = 1e12;
    EXPECT_LT(LapLinePoints(*track, *lap).size(), 2000u);
    lap->endFrame = std::numeric_limits<double>::quiet_NaN();
    EXPECT_LE(LapLinePoints(*track, *lap).size(), 2u);
}

TEST(LapLineCache, KeepsPointsPerLapAndForgetsRemovedLaps) {
    auto track = MakeStraightTrack();
    auto lap = MakeLapThrough(Steps(0, 1000, 10), kBlue);
    auto other = MakeLapThrough(Steps(0, 2000, 10), kYellow);
    TLapLineCache cache;
    const auto* first = &cache.Points(*track, *lap);
    EXPECT_EQ(&cache.Points(*track, *lap), first);
    EXPECT_EQ(cache.Points(*track, *lap), LapLinePoints(*track, *lap));
    cache.Points(*track, *other);
    EXPECT_EQ(cache.Size(), 2u);
    cache.Prune({lap.get()});
    EXPECT_EQ(cache.Size(), 1u);
    // Another track: computed again for it.
    auto moved = MakeStraightTrack();
    for (auto& y : moved->edgeY[0]) y += 50;
    for (auto& y : moved->edgeY[1]) y += 50;
    PrepareGeometry(*moved);
    EXPECT_EQ(cache.Points(*moved, *lap)[1], (TrackPoint{0, 100}));
}

}  // namespace
