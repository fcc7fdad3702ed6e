#pragma once
// The seven telemetry channels, computed on demand from a lap's samples and the
// document's current track. Nothing is cached except what gives identical results.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "document/TReplay.h"
#include "track/TTrackData.h"

enum class TelemetryChannel : int {
    Time = 0,
    Position,
    Speed,
    Line,
    InlineForce,
    LateralForce,
    SlipAngle,
    None = 7,  // second y-axis only
};
constexpr int ChannelCount = 7;  // real channels, 0..6

// The number documents and settings store for a channel, and an index into the tables below.
constexpr int ChannelNumber(TelemetryChannel c) {
    return static_cast<int>(c);
}
// The channel a stored number names, or nothing when it lies outside 0..highest.
constexpr std::optional<TelemetryChannel> ChannelFromNumber(int64_t number,
                                                            TelemetryChannel highest) {
    if (number < 0 || number > ChannelNumber(highest)) return std::nullopt;
    return static_cast<TelemetryChannel>(number);
}

extern const char* const ChannelNames[8];  // "Time" ... "None"
extern const char* const ChannelUnits[8];  // "sec" ... "--"
// The tables' entries for a channel; "" for a value outside them.
const char* ChannelName(TelemetryChannel c);
const char* ChannelUnit(TelemetryChannel c);

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
double ChannelValue(const TReplay& lap, double x, TelemetryChannel xChannel,
                    TelemetryChannel yChannel, const TTrackData* track);

struct ChannelRange {
    std::array<double, ChannelCount> minimum{};
    std::array<double, ChannelCount> maximum{};
    // A real channel's entries (Time .. SlipAngle); 0 for None or a value outside them.
    double Min(TelemetryChannel c) const { return Real(c) ? minimum[size_t(ChannelNumber(c))] : 0; }
    double Max(TelemetryChannel c) const { return Real(c) ? maximum[size_t(ChannelNumber(c))] : 0; }
    static bool Real(TelemetryChannel c) {
        return ChannelNumber(c) >= 0 && ChannelNumber(c) < ChannelCount;
    }
};
ChannelRange ChannelExtents(const std::vector<const TReplay*>& laps, const TTrackData* track);
