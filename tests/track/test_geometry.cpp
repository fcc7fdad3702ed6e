#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "track/Geometry.h"
#include "track/TrackDataFile.h"

namespace {

// A straight track along x: reference edge on y = 0, other edge on y = 500, points every
// 100 units, no anchors, constant width 40.
TTrackData Straight(int32_t m, int32_t sideFlag = 0) {
    TTrackData t;
    t.trackLength = 100 * m;
    t.inchesPerUnit = 6;
    t.pointCount = m;
    t.sideFlag = sideFlag;
    t.constantWidth = 40;
    const size_t r = sideFlag != 0 ? 1 : 0, o = 1 - r;
    for (int32_t i = 0; i <= m; ++i) {
        t.edgeX[r].push_back(100 * i);
        t.edgeY[r].push_back(0);
        t.edgeX[o].push_back(100 * i);
        t.edgeY[o].push_back(500);
    }
    return t;
}

// The segment search as the track data describes it: from segment 0 upward while the
// next point position lies below the position.
SegmentFraction LinearSegmentAt(const TTrackData& t, int32_t a) {
    if (a < 0 || a > t.trackLength) return {};
    const auto& p = t.pointPositions;
    size_t s = 0;
    while (p[s + 1] < a) ++s;
    const double span = static_cast<double>(p[s + 1]) - p[s];
    return {static_cast<int32_t>(s), span == 0 ? 0.0 : (static_cast<double>(a) - p[s]) / span};
}

void ExpectSameAsLinear(const TTrackData& t, int32_t a) {
    const SegmentFraction fast = SegmentAt(t, a), slow = LinearSegmentAt(t, a);
    ASSERT_EQ(fast.segment, slow.segment) << "position " << a;
    ASSERT_EQ(fast.fraction, slow.fraction) << "position " << a;
}

TEST(Geometry, NoAnchorsSpreadsEvenlyAndOutOfRangeGivesFirstSegment) {
    TTrackData t = Straight(4);
    PrepareGeometry(t);
    EXPECT_EQ(t.pointPositions, (std::vector<int32_t>{0, 100, 200, 300, 400}));
    EXPECT_EQ(t.segMinX, (std::vector<int32_t>{0, 100, 200, 300}));
    EXPECT_EQ(t.segMaxY, (std::vector<int32_t>{500, 500, 500, 500}));

    for (int32_t a : {-1, 401}) {
        const SegmentFraction sf = SegmentAt(t, a);
        EXPECT_EQ(sf.segment, 0);
        EXPECT_EQ(sf.fraction, 0.0);
        const EdgePoints e = EdgePointsAt(t, a);
        EXPECT_EQ(e.reference, (TrackPoint{0, 0}));
        EXPECT_EQ(e.other, (TrackPoint{0, 500}));
    }
    const SegmentFraction end = SegmentAt(t, 400);
    EXPECT_EQ(end.segment, 3);
    EXPECT_EQ(end.fraction, 1.0);
    const SegmentFraction mid = SegmentAt(t, 250);
    EXPECT_EQ(mid.segment, 2);
    EXPECT_EQ(mid.fraction, 0.5);
    EXPECT_EQ(SegmentAt(t, 200).segment, 1);  // a position on a point belongs to the segment before
    EXPECT_EQ(SegmentAt(t, 200).fraction, 1.0);
}

TEST(Geometry, WidthsInterpolateAndTruncate) {
    TTrackData t = Straight(2);
    t.widthCount = 2;
    t.widths = {10, 30, 10};
    PrepareGeometry(t);
    EXPECT_EQ(TrackWidthAt(t, 50.9), 20.0);  // truncated to 50
    EXPECT_EQ(TrackWidthAt(t, 150), 20.0);
    EXPECT_EQ(TrackWidthAt(t, 100), 30.0);
    EXPECT_EQ(TrackWidthAt(t, -5), 10.0);
}

TEST(Geometry, NegativeAnchorsPinAndSpreadBetweenThem) {
    TTrackData t = Straight(6);
    t.trackLength = 1000;
    t.anchorCount = -2;
    t.anchorPoints = {2, 4};
    t.anchorPositions = {50, 700};
    PrepareGeometry(t);
    EXPECT_EQ(t.pointPositions, (std::vector<int32_t>{0, 25, 50, 375, 700, 850, 1000}));

    // Positive anchors take the positions as given; the last is the track length.
    TTrackData q = Straight(3);
    q.anchorCount = 3;
    q.anchorPositions = {0, 120, 120};
    PrepareGeometry(q);
    EXPECT_EQ(q.pointPositions, (std::vector<int32_t>{0, 120, 120, 300}));
    // Equal consecutive positions: the position on them gives fraction 0, not 0/0.
    const SegmentFraction sf = SegmentAt(q, 120);
    EXPECT_EQ(sf.segment, 0);
    EXPECT_EQ(sf.fraction, 1.0);
    q.anchorPositions = {120, 120, 120};
    PrepareGeometry(q);
    const SegmentFraction flat = SegmentAt(q, 120);
    EXPECT_EQ(flat.segment, 0);
    EXPECT_EQ(flat.fraction, 0.0);
}

TEST(Geometry, HostileAnchorsAndShortWidthTablesStayInBounds) {
    TTrackData t = Straight(4);
    t.anchorCount = -3;
    t.anchorPoints = {-7, 99, 2};
    t.anchorPositions = {10, 20, 30};
    t.widthCount = 1;
    t.widths = {5, 5};
    PrepareGeometry(t);
    ASSERT_EQ(t.pointPositions.size(), 5u);
    EXPECT_EQ(t.pointPositions.back(), 400);
    for (int32_t a = -2; a <= 402; ++a) {
        ExpectSameAsLinear(t, a);
        EXPECT_NEAR(TrackWidthAt(t, a), 5.0, 1e-9);  // fractions outside 0..1 round
    }
}

TEST(Geometry, PrepareTwiceGivesTheSameArraysAndReleaseFreesThem) {
    TTrackData t = Straight(5);
    PrepareGeometry(t);
    const auto p = t.pointPositions;
    const auto box = t.segMaxX;
    PrepareGeometry(t);
    EXPECT_EQ(t.pointPositions, p);
    EXPECT_EQ(t.segMaxX, box);
    ReleaseGeometry(t);
    EXPECT_FALSE(t.geometryPrepared());
    EXPECT_TRUE(t.segMinX.empty() && t.segMaxY.empty() && t.pointPositionPrefixMax.empty());
    // Without prepared geometry the mappings answer zeros rather than reading nothing.
    EXPECT_EQ(WorldPointAt(t, 50, 0), (TrackPoint{0, 0}));
    EXPECT_FALSE(LocatePoint(t, 50, 50).found);
}

TEST(Geometry, WorldPointAtWidthValueLiesOnTheEdges) {
    for (int32_t side : {0, 1}) {
        TTrackData t = Straight(4, side);
        PrepareGeometry(t);
        // Reference at y = 0, other at y = 500: |o - r| = 500.
        EXPECT_EQ(WorldPointAt(t, 150, 40), (TrackPoint{150, 0})) << side;
        const int32_t other = side != 0 ? 40 + 500 : 40 - 500;
        EXPECT_EQ(WorldPointAt(t, 150, other), (TrackPoint{150, 500})) << side;
        // Off the track is drawn off the track.
        const int32_t beyond = side != 0 ? 40 + 1000 : 40 - 1000;
        EXPECT_EQ(WorldPointAt(t, 150, beyond), (TrackPoint{150, 1000})) << side;
    }
}

TEST(Geometry, LocatePointOnEdgesBoxesAndOverlaps) {
    TTrackData t = Straight(4);
    PrepareGeometry(t);
    // inchesPerUnit 6: feet are half the units.
    LocatedPoint onRef = LocatePoint(t, 150, 0);
    ASSERT_TRUE(onRef.found);
    EXPECT_EQ(onRef.positionFeet, 75.0);
    EXPECT_EQ(onRef.lateralFeet, 0.0);
    LocatedPoint inside = LocatePoint(t, 250, 100);
    ASSERT_TRUE(inside.found);
    EXPECT_EQ(inside.positionFeet, 125.0);
    EXPECT_EQ(inside.lateralFeet, 50.0);
    EXPECT_FALSE(LocatePoint(t, 150, 500).found);  // u = 1: the other edge
    EXPECT_FALSE(LocatePoint(t, 400, 200).found);  // v = 1 of the last segment
    const LocatedPoint outside = LocatePoint(t, 150, 501);
    EXPECT_FALSE(outside.found);
    EXPECT_EQ(outside.positionFeet, 0.0);
    EXPECT_EQ(outside.lateralFeet, 0.0);

    // Segment 2 folds back over segment 1: a point in both is located in segment 1.
    TTrackData fold = Straight(3);
    fold.edgeX[0] = {0, 100, 200, 100};
    fold.edgeX[1] = {0, 100, 200, 100};
    PrepareGeometry(fold);
    const LocatedPoint in1 = LocatePoint(fold, 150, 250);
    ASSERT_TRUE(in1.found);
    EXPECT_EQ(in1.positionFeet, 75.0);
}

TEST(Geometry, DegenerateSegmentIsNotFoundInsteadOfDividingByZero) {
    // Both edges on one line: I = 0 and H = 0 for every point of that line.
    TTrackData t = Straight(2);
    t.edgeY[1] = {0, 0, 0};
    PrepareGeometry(t);
    EXPECT_FALSE(LocatePoint(t, 50, 0).found);
    EXPECT_FALSE(LocatePoint(t, 150, 0).found);
    // Touching edges: the world point is the edge point, whatever the lateral value.
    EXPECT_EQ(WorldPointAt(t, 50, 1000), (TrackPoint{50, 0}));
}

TEST(Geometry, FastSegmentAtMatchesLinearSearchOnAnyPositions) {
    std::mt19937 rng(1234);
    for (int round = 0; round < 40; ++round) {
        const int32_t m = 1 + static_cast<int32_t>(rng() % 30);
        TTrackData t = Straight(m);
        t.trackLength = 1000;
        if (round % 2 == 0) {
            // Positive anchors in any order, with repeats: the prefix maximum must still
            // find the first segment whose end reaches the position.
            t.anchorCount = m;
            t.anchorPositions.resize(static_cast<size_t>(m));
            for (auto& p : t.anchorPositions) p = static_cast<int32_t>(rng() % 1200) - 100;
        } else {
            t.anchorCount = -1;
            t.anchorPoints = {static_cast<int32_t>(rng() % static_cast<uint32_t>(m + 1))};
            t.anchorPositions = {static_cast<int32_t>(rng() % 1000)};
        }
        PrepareGeometry(t);
        for (int32_t a = -3; a <= 1003; ++a) ExpectSameAsLinear(t, a);
    }
}

TEST(Geometry, SampleTracksRoundTripAndMatchLinearSearch) {
    TTrackDataFile file;
    ASSERT_EQ(ReadTrackDataFile(std::string(KORVALE_BIN_DIR) + "/tracks.dat", file),
              TrackReadStatus::Ok);
    int withGeometry = 0;
    for (auto& track : file.records) {
        TTrackData& t = *track;
        PrepareGeometry(t);
        if (!t.hasGeometry()) {
            EXPECT_FALSE(t.geometryPrepared());
            continue;
        }
        ++withGeometry;
        ASSERT_EQ(t.pointPositions.back(), t.trackLength);
        for (int32_t a = -1; a <= t.trackLength + 1; a += 7) ExpectSameAsLinear(t, a);
        // A point a third of the way across the track is found again where it was put.
        int located = 0, tried = 0;
        for (int32_t a = 0; a < t.trackLength; a += t.trackLength / 200) {
            const EdgePoints e = EdgePointsAt(t, a);
            const double dx = e.other.x - e.reference.x, dy = e.other.y - e.reference.y;
            const double across = std::sqrt(dx * dx + dy * dy);
            const double w = TrackWidthAt(t, a);
            const auto lateral =
                static_cast<int32_t>(t.sideFlag != 0 ? w + across / 3 : w - across / 3);
            const TrackPoint p = WorldPointAt(t, a, lateral);
            const LocatedPoint found = LocatePoint(t, p.x, p.y);
            ++tried;
            if (!found.found) continue;
            ++located;
            const double feetPerUnit = t.inchesPerUnit / 12;
            EXPECT_NEAR(found.lateralFeet, across / 3 * feetPerUnit, 3 * feetPerUnit + 0.5)
                << t.name << " at " << a;
            // Overlapping boxes on a course may give a different place at the same spot;
            // on a plausible track the first hit is the place itself.
            EXPECT_NEAR(found.positionFeet, a * feetPerUnit, 30) << t.name << " at " << a;
        }
        EXPECT_GT(located, tried * 9 / 10) << t.name;
    }
    EXPECT_GE(withGeometry, 2);
}

}  // namespace
