#pragma once
// Tracks for the simulator tests, built in code: a road course with detailed geometry
// (a bean-shaped loop with corners of several radii) and a short oval without geometry.

#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numbers>
#include <string>
#include <vector>

#include "track/TTrackData.h"

namespace simtest {

// Centre line counter-clockwise, in feet; edges 30 feet either side. Edge 0 is the left
// edge, edge 1 the right; the reference edge is edge 1 and lateral offsets are 0 on the
// centre line, growing to the left (width value -360 units at one inch per unit).
inline TTrackData RoadCourse() {
    TTrackData t;
    t.name = "Test Road Course";
    t.pathPattern = "testroad";
    t.trackId = 40;
    t.inchesPerUnit = 1.0;
    const int32_t m = 360;
    t.pointCount = m;
    t.sideFlag = 1;
    t.constantWidth = -360;
    std::vector<double> cx, cy;
    for (int32_t i = 0; i <= m; ++i) {
        const double a = 2 * std::numbers::pi * (i % m) / m;
        cx.push_back(1500 * std::cos(a) + 320 * std::cos(3 * a));
        cy.push_back(900 * std::sin(a) + 150 * std::sin(2 * a));
    }
    double centreLength = 0;
    for (int32_t i = 0; i <= m; ++i) {
        const size_t p = static_cast<size_t>(i == 0 ? m - 1 : i - 1),
                     q = static_cast<size_t>(i == m ? 1 : i + 1);
        const double dx = cx[q] - cx[p], dy = cy[q] - cy[p], d = std::hypot(dx, dy);
        const double lx = -dy / d, ly = dx / d;  // left of the direction of travel
        for (int e = 0; e < 2; ++e) {
            const double side = e == 0 ? 30.0 : -30.0;
            t.edgeX[static_cast<size_t>(e)].push_back(
                static_cast<int32_t>((cx[static_cast<size_t>(i)] + side * lx) * 12));
            t.edgeY[static_cast<size_t>(e)].push_back(
                static_cast<int32_t>((cy[static_cast<size_t>(i)] + side * ly) * 12));
        }
        if (i > 0)
            centreLength += std::hypot(cx[static_cast<size_t>(i)] - cx[static_cast<size_t>(i - 1)],
                                       cy[static_cast<size_t>(i)] - cy[static_cast<size_t>(i - 1)]);
    }
    t.trackLength = static_cast<int32_t>(centreLength * 12);
    return t;
}

// Half a mile at three quarters of an inch per unit, no geometry.
inline TTrackData ShortOval() {
    TTrackData t;
    t.name = "Test Oval";
    t.pathPattern = "testoval";
    t.trackId = 41;
    t.trackLength = 42240;
    t.inchesPerUnit = 0.75;
    return t;
}

inline std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A directory of its own for one test, removed afterwards.
struct TempDir {
    std::filesystem::path path;
    TempDir() {
        static int counter = 0;
        path = std::filesystem::temp_directory_path() /
               ("korvale-sim-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        std::filesystem::create_directories(path);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
};

}  // namespace simtest
