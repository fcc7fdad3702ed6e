#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "document/LapList.h"
#include "document/LapPalette.h"
#include "document/TReplay.h"
#include "support/LapBuilder.h"

namespace {

std::unique_ptr<TReplay> LapWithColour(TLapList& laps) {
    TLapBuilder lap("Driver", 7);
    return lap.Colour(ChooseLapColour(laps)).Build();
}

TEST(TReplay, ConstructionNamesAndSerials) {
    TReplay::ResetLapCounter();
    TReplay unknown(nullptr, 0);
    EXPECT_STREQ(unknown.driverName, "<Unknown>");
    EXPECT_EQ(unknown.serial, 0);
    EXPECT_EQ(unknown.sampleCount, 0);
    EXPECT_TRUE(unknown.positions.empty());
    EXPECT_EQ(unknown.colour, (Rgb{0, 0, 0}));

    const std::string name32(32, 'x');
    TReplay longName(name32.c_str(), 105);
    EXPECT_EQ(std::strlen(longName.driverName), 31u);
    EXPECT_EQ(longName.driverName[31], '\0');
    EXPECT_EQ(longName.carNumber, 105);
    EXPECT_EQ(longName.serial, 1);
    EXPECT_EQ(TReplay::LapCounter(), 2);

    // A 32-byte driver entry name without a terminator keeps its first 31 bytes.
    char unterminated[32];
    std::memset(unterminated, 'y', sizeof unterminated);
    TReplay raw(unterminated, 1);
    EXPECT_EQ(std::string(raw.driverName), std::string(31, 'y'));
}

TEST(TReplay, ResizeKeepsArraysTogetherAndRebuildsPositionIndex) {
    TReplay lap("A", 1);
    lap.ResizeSamples(5);
    EXPECT_EQ(lap.sampleCount, 5);
    EXPECT_EQ(lap.positions.size(), 5u);
    EXPECT_EQ(lap.lines.size(), 5u);
    EXPECT_EQ(lap.headings.size(), 5u);
    EXPECT_EQ(lap.auxBytes.size(), 5u);
    lap.positions = {10, 30, 20, 40, 5};
    EXPECT_EQ(lap.PositionIndex(), (std::vector<int32_t>{10, 30, 30, 40, 40}));
    lap.positions[0] = 50;
    lap.InvalidatePositionIndex();
    EXPECT_EQ(lap.PositionIndex(), (std::vector<int32_t>{50, 50, 50, 50, 50}));
    lap.ResizeSamples(0);
    EXPECT_EQ(lap.sampleCount, 0);
    EXPECT_TRUE(lap.positions.empty() && lap.lines.empty() && lap.headings.empty() &&
                lap.auxBytes.empty());
    EXPECT_TRUE(lap.PositionIndex().empty());
}

TEST(LapPalette, SevenLapsCycleAndADeletedColourIsReused) {
    TLapList laps;
    std::vector<int32_t> serials;
    for (int i = 0; i < 7; ++i) {
        auto lap = LapWithColour(laps);
        EXPECT_EQ(lap->colour, LapPalette[static_cast<size_t>(i % 6)]) << i;
        serials.push_back(lap->serial);
        laps.Add(std::move(lap));
    }
    ASSERT_TRUE(laps.RemoveBySerial(serials[2]));
    EXPECT_EQ(ChooseLapColour(laps), LapPalette[2]);
}

TEST(LapPalette, FallsBackToFirstColourWhenEveryColourIsUsedAHundredTimes) {
    TLapList laps;
    for (int i = 0; i < 600; ++i) {
        auto lap = std::make_unique<TReplay>("x", 0);
        lap->colour = LapPalette[static_cast<size_t>(i % 6)];
        laps.Add(std::move(lap));
    }
    // Colour 3 used once more: the least used ones are then 100 each, still >= 100.
    auto extra = std::make_unique<TReplay>("x", 0);
    extra->colour = LapPalette[3];
    laps.Add(std::move(extra));
    EXPECT_EQ(ChooseLapColour(laps), LapPalette[0]);

    // Laps of colours outside the palette count for nothing.
    TLapList custom;
    auto odd = std::make_unique<TReplay>("x", 0);
    odd->colour = Rgb{1, 2, 3};
    custom.Add(std::move(odd));
    EXPECT_EQ(ChooseLapColour(custom), LapPalette[0]);
}

TEST(LapList, RemoveBySerialNotByContents) {
    TLapList laps;
    auto a = std::make_unique<TReplay>("Same", 3);
    auto b = std::make_unique<TReplay>("Same", 3);
    const int32_t serialA = a->serial;
    const int32_t serialB = b->serial;
    laps.Add(std::move(a));
    laps.Add(std::move(b));
    EXPECT_EQ(laps.Count(), 2);
    EXPECT_TRUE(laps.RemoveBySerial(serialB));
    ASSERT_EQ(laps.Count(), 1);
    EXPECT_EQ(laps.At(0).serial, serialA);
    EXPECT_FALSE(laps.RemoveBySerial(serialB));
    EXPECT_EQ(laps.FindBySerial(serialA), &laps.At(0));
    EXPECT_EQ(laps.IndexOfSerial(serialB), -1);
}

TEST(LapList, ClearResetsCounterOnlyWhenLapsWereHeld) {
    TLapList laps;
    laps.Add(std::make_unique<TReplay>("a", 1));
    laps.Add(std::make_unique<TReplay>("b", 2));
    laps.Clear();
    EXPECT_EQ(laps.Count(), 0);
    EXPECT_EQ(TReplay(nullptr, 0).serial, 0);  // counter is now 1
    laps.Clear();                              // empty: counter stays
    EXPECT_EQ(TReplay::LapCounter(), 1);
    EXPECT_EQ(TReplay(nullptr, 0).serial, 1);
}

}  // namespace
