#pragma once
// The seven telemetry channels, computed on demand from a lap's samples and the
// document's current track. Nothing is cached except what gives identical results.

#include <array>
#include <cstddef>
#include <vector>

#include "document/TReplay.h"
#include "track/TTrackData.h"

enum TelemetryChannel : int {
    ChannelTime = 0,
    ChannelPosition = 1,
    ChannelSpeed = 2,
    ChannelLine = 3,
    ChannelInlineForce = 4,
    ChannelLateralForce = 5,
    ChannelSlipAngle = 6,
    ChannelNone = 7,  // second y-axis only
};
constexpr int ChannelCount = 7;  // real channels, 0..6

extern const char* const ChannelNames[8];  // "Time" ... "None"
extern const char* const ChannelUnits[8];  // "sec" ... "--"

constexpr double FrameRate = 15.0;

// Lap time t is seconds from the lap's start; each call clamps t to the lap's duration.
double LapDuration(const TReplay& lap);
double PositionAt(const TReplay& lap, double t);
double RawLineAt(const TReplay& lap, double t);
double HeadingAt(const TReplay& lap, double t);
// track: the document's current track (nullptr is treated as a track without geometry).
double LineAt(const TReplay& lap, double t, const TTrackData* track);
double SpeedAt(const TReplay& lap, double t);
double LateralSpeedAt(const TReplay& lap, double t);
double InlineForceAt(const TReplay& lap, double t);
double LateralForceAt(const TReplay& lap, double t);
double SlipAngleAt(const TReplay& lap, double t);
double TimeAtPosition(const TReplay& lap, double feet);
// TimeAtPosition at count positions (feet) into times, with the very same values; meant for
// rising positions (the graph's columns), for which it walks the samples once.
void TimesAtPositions(const TReplay& lap, const double* feet, size_t count, double* times);
double AverageLapSpeed(const TReplay& lap);
double ChannelValue(const TReplay& lap, double x, int xChannel, int yChannel,
                    const TTrackData* track);

struct ChannelRange {
    std::array<double, ChannelCount> minimum{};
    std::array<double, ChannelCount> maximum{};
};
ChannelRange ChannelExtents(const std::vector<const TReplay*>& laps, const TTrackData* track);
