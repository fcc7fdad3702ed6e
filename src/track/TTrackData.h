#pragma once
// One track of the track database, with its corners and (optional) detailed geometry.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct TTrackOther {
    int32_t colour = 0;  // red + 256 x green + 65536 x blue
    int32_t count = 0;
    std::vector<int32_t> xs;
    std::vector<int32_t> ys;
    int32_t serial = 0;  // from the program-wide extra-line counter

    TTrackOther();  // takes the next serial
    static int32_t Counter();
};

class TTrackData {
  public:
    std::string name;
    std::string pathPattern;
    std::string altPathPattern;
    uint8_t trackId = 0;
    int32_t trackLength = 0;
    int16_t cornerCount = 0;
    std::vector<std::string> cornerNames;
    std::vector<double> cornerPositions;  // feet
    double inchesPerUnit = 0;
    int32_t pointCount = 0;  // 0: no detailed geometry
    int32_t sideFlag = 0;
    std::array<std::vector<int32_t>, 2> edgeX;  // pointCount + 1 each
    std::array<std::vector<int32_t>, 2> edgeY;
    // Derived by PrepareGeometry (track/Geometry.h); empty when not prepared.
    std::vector<int32_t> segMinX, segMinY, segMaxX, segMaxY;
    std::vector<int32_t> pointPositions;
    int32_t widthCount = 0;
    int32_t constantWidth = 0;
    std::vector<int32_t>
        widths;  // widthCount + 1 (last is a copy of the first) when widthCount != 0
    int32_t anchorCount = 0;
    std::vector<int32_t> anchorPoints;
    std::vector<int32_t> anchorPositions;
    std::vector<std::unique_ptr<TTrackOther>> others;
    int32_t mapWidth = 0;
    int32_t mapHeight = 0;

    // Derived, for SegmentAt's binary search: running maximum of pointPositions.
    std::vector<int32_t> pointPositionPrefixMax;

    bool hasGeometry() const { return pointCount != 0; }
    bool geometryPrepared() const { return !pointPositions.empty(); }
};
