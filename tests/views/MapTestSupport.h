#pragma once
// A straight track for the map tests, worked out by hand: ten segments of 1000 units along
// x, edge 0 at y = 0 and edge 1 at y = 100, one foot per unit, so that positions, feet and
// map units are all the same numbers. Edge 0 is the reference edge at lateral 50, so a lap
// on lateral 0 runs along the middle (y = 50).
#include <memory>
#include <vector>

#include "document/TReplay.h"
#include "track/Geometry.h"
#include "track/TTrackData.h"

inline std::unique_ptr<TTrackData> MakeStraightTrack() {
    auto t = std::make_unique<TTrackData>();
    t->name = "Long Straight";
    t->trackId = 21;
    t->trackLength = 10000;
    t->inchesPerUnit = 12;
    t->pointCount = 10;
    t->sideFlag = 0;
    t->constantWidth = 50;
    for (int i = 0; i <= 10; ++i) {
        t->edgeX[0].push_back(i * 1000);
        t->edgeY[0].push_back(0);
        t->edgeX[1].push_back(i * 1000);
        t->edgeY[1].push_back(100);
    }
    t->mapWidth = 10000;
    t->mapHeight = 100;
    PrepareGeometry(*t);
    return t;
}

// A lap through the given positions, one per frame, starting on sample 0 and ending on the
// last sample; all samples at lateral offset `line`.
inline std::unique_ptr<TReplay> MakeLapThrough(const std::vector<int>& positions, Rgb colour,
                                               int line = 0) {
    auto lap = std::make_unique<TReplay>("Driver", 3);
    const int n = static_cast<int>(positions.size());
    lap->ResizeSamples(n);
    for (int k = 0; k < n; ++k) {
        lap->positions[size_t(k)] = positions[size_t(k)];
        lap->lines[size_t(k)] = line;
    }
    lap->startFrame = 0;
    lap->endFrame = n - 1;
    lap->startPosition = positions.front();
    lap->endPosition = positions.back();
    lap->inchesPerUnit = 12;
    lap->lapLength = 10000;
    lap->colour = colour;
    return lap;
}

// Evenly spaced positions from `from` to `to` in `frames` steps.
inline std::vector<int> Steps(int from, int to, int frames) {
    std::vector<int> p;
    for (int k = 0; k <= frames; ++k) p.push_back(from + (to - from) * k / frames);
    return p;
}
