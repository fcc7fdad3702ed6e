#pragma once
// Mapping between (position along the track, lateral offset) and world points on the map.
// Every operation but Prepare/Release needs prepared geometry.

#include <cstdint>

#include "track/TTrackData.h"

struct TrackPoint {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const TrackPoint&, const TrackPoint&) = default;
};

struct SegmentFraction {
    int32_t segment = 0;
    double fraction = 0;
};

struct EdgePoints {
    TrackPoint reference;
    TrackPoint other;
};

struct LocatedPoint {
    bool found = false;
    double positionFeet = 0;
    double lateralFeet = 0;
};

void PrepareGeometry(TTrackData& track);
void ReleaseGeometry(TTrackData& track);
SegmentFraction SegmentAt(const TTrackData& track, int32_t position);
double TrackWidthAt(const TTrackData& track, double position);
EdgePoints EdgePointsAt(const TTrackData& track, int32_t position);
TrackPoint WorldPointAt(const TTrackData& track, int32_t position, int32_t lateral);
LocatedPoint LocatePoint(const TTrackData& track, int32_t x, int32_t y);
