#pragma once
// Every stored field of two laps (the serial aside, which a read gives afresh).
#include <gtest/gtest.h>

#include "document/TReplay.h"

inline void ExpectSameLap(const TReplay& a, const TReplay& b) {
    EXPECT_STREQ(a.driverName, b.driverName);
    EXPECT_EQ(a.carNumber, b.carNumber);
    EXPECT_EQ(a.sampleCount, b.sampleCount);
    EXPECT_EQ(a.positions, b.positions);
    EXPECT_EQ(a.lines, b.lines);
    EXPECT_EQ(a.headings, b.headings);
    EXPECT_EQ(a.auxBytes, b.auxBytes);
    EXPECT_EQ(a.startFrame, b.startFrame);
    EXPECT_EQ(a.endFrame, b.endFrame);
    EXPECT_EQ(a.startPosition, b.startPosition);
    EXPECT_EQ(a.endPosition, b.endPosition);
    EXPECT_EQ(a.inchesPerUnit, b.inchesPerUnit);
    EXPECT_EQ(a.lapLength, b.lapLength);
    EXPECT_EQ(a.colour, b.colour);
}
