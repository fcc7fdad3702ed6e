#pragma once
// The surface the simulated cars drive on, and the lines they drive along it.
//
// A course holds the facing points of the track's reference edge and other edge (in feet),
// the position along the lap of each point pair and the width values, so that a point
// given by (segment, fraction along it, fraction across from the reference edge) maps both
// to a world point and to the (position, lateral offset) that a replay records, in the
// same frame as the track geometry's WorldPointAt. Tracks without detailed geometry get an
// oval of the track's length.

#include <cstdint>
#include <vector>

#include "track/TTrackData.h"

namespace sim {

struct Course {
    int32_t trackLength = 0;  // track units
    double feetPerUnit = 0;   // inchesPerUnit / 12
    double sideSign =
        1;  // lateral offsets grow from the reference edge toward the other (+1) or away (-1)
    double gripFactor = 1;   // banking of the oval laid out for tracks without geometry
    bool synthetic = false;  // laid out here rather than taken from the track's geometry
    std::vector<double> rx, ry, ox, oy;  // point pairs 0..M, feet
    std::vector<double> positions;       // 0..M, track units, positions[M] = trackLength
    std::vector<double> widthValues;     // 0..M, track units

    int32_t segmentCount() const { return static_cast<int32_t>(positions.size()) - 1; }
};

// Builds the course for a track (its geometry when usable, otherwise an oval).
Course BuildCourse(const TTrackData& track);

// Minimum-curvature style line: per point pair, the fraction across the track from the
// reference edge (0) to the other edge (1), keeping marginFeet from either edge.
std::vector<double> RacingLineFractions(const Course& course, double marginFeet);

// One station of a driving line, stations evenly spaced along the line.
struct Station {
    double position = 0;                        // track units along the lap
    double lateral = 0;                         // track units, the replay's lateral frame
    double x = 0, y = 0;                        // world, feet
    double lateralUnitX = 0, lateralUnitY = 0;  // world direction in which the lateral offset grows
};

struct DrivingLine {
    double length = 0;              // feet along the line for one lap
    double spacing = 0;             // feet between stations
    std::vector<Station> stations;  // count + 1: the last is the first one lap later
    // Per station (count + 1 entries): curvature in 1/feet, positive when the centre of the
    // turn lies toward growing lateral offsets; and the rates of change of position and
    // lateral offset with distance along the line (track units per foot).
    std::vector<double> curvature;
    std::vector<double> positionRate;
    std::vector<double> lateralRate;

    int32_t count() const { return static_cast<int32_t>(stations.size()) - 1; }
};

// Lays a driving line through the given fractions (one per point pair, M + 1 with the
// last equal to the first), with stations about spacingFeet apart.
DrivingLine BuildDrivingLine(const Course& course, const std::vector<double>& fractions,
                             double spacingFeet);

}  // namespace sim
