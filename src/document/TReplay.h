#pragma once
// One lap of one car: the raw samples the simulation recorded, 15 per second, plus the
// numbers that place the lap's start and end between samples. Every channel the user
// sees is computed from these on demand (channels/Channels.h).

#include <cstdint>
#include <vector>

#include "document/Rgb.h"

class TReplay {
  public:
    // name: the driver entry's name (first 31 characters kept), or nullptr for "<Unknown>".
    // Takes the next serial from the program-wide lap counter.
    TReplay(const char* driverEntryName, int32_t carNumber);

    TReplay(const TReplay&) = delete;
    TReplay& operator=(const TReplay&) = delete;

    // Allocates all four arrays to exactly n samples (0 releases them).
    void ResizeSamples(int32_t n);

    // Sets driverName from text, keeping at most 31 characters.
    void SetDriverName(const char* text);

    char driverName[32] = {};
    int32_t carNumber = 0;
    std::vector<int32_t> positions;
    std::vector<int32_t> lines;
    int32_t sampleCount = 0;
    std::vector<int16_t> headings;
    std::vector<uint8_t> auxBytes;
    double startFrame = 0;
    double endFrame = 0;
    double startPosition = 0;
    double endPosition = 0;
    double inchesPerUnit = 0;
    int32_t lapLength = 0;
    Rgb colour{0, 0, 0};
    int32_t serial = 0;

    // Derived, never stored: running maximum of positions, so that "first sample past a
    // position" is a binary search with the linear search's answer. Rebuilt by
    // PositionIndex() whenever its size no longer matches sampleCount; whoever rewrites
    // positions in place must call InvalidatePositionIndex().
    const std::vector<int32_t>& PositionIndex() const;
    void InvalidatePositionIndex() {
        positionPrefixMax_.clear();
        drivenPositions_.clear();
        rolledOverLine_ = false;
    }

    // Derived, never stored: the positions as the car drove them, which the channels and
    // the map read. A lap runs from the line to the line, but a car that rolls back over
    // the line just after it started (or runs on past it) records positions that wrapped
    // round: a jump of more than half a lap between two samples is such a crossing, and the
    // samples after it are read with the lap length taken away (or added). A lap without
    // such a jump reads its positions as they are stored.
    const std::vector<int32_t>& DrivenPositions() const;
    // True when DrivenPositions differs from positions.
    bool RolledOverLine() const;

    // The program-wide lap counter (next serial to hand out).
    static int32_t LapCounter();
    static void ResetLapCounter();

  private:
    void BuildDerived() const;
    mutable std::vector<int32_t> positionPrefixMax_;
    mutable std::vector<int32_t> drivenPositions_;  // only when rolledOverLine_
    mutable bool rolledOverLine_ = false;
};
