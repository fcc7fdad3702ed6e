#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "channels/Channels.h"
#include "export/TextExport.h"

namespace {

// A lap at a steady 30 feet per frame (12 inches per unit), 10 samples.
std::unique_ptr<TReplay> SteadyLap(const char* name) {
    auto lap = std::make_unique<TReplay>(name, 3);
    lap->ResizeSamples(10);
    for (int32_t i = 0; i < 10; ++i) {
        lap->positions[size_t(i)] = 30 * i;
        lap->lines[size_t(i)] = 5;
    }
    lap->inchesPerUnit = 12;
    lap->startFrame = 0;
    lap->endFrame = 9;
    lap->startPosition = 0;
    lap->endPosition = 270;
    lap->lapLength = 270;
    return lap;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
}

std::string Export(const std::vector<const TReplay*>& laps, const TextExportChoices& choices) {
    std::ostringstream out;
    EXPECT_EQ(WriteTextExport(out, laps, "Kestrel Ridge", nullptr, choices), nullptr);
    return out.str();
}

}  // namespace

TEST(TextExport, BlocksHeaderRowsAndFixedWidthFormat) {
    auto a = SteadyLap("Ann Lee");
    auto b = SteadyLap("Bo");
    TextExportChoices choices;
    choices.resolution = 100;
    const auto lines = Lines(Export({a.get(), b.get()}, choices));
    ASSERT_EQ(lines.size(), 2u + 2 * (2 + 3 + 1));
    EXPECT_EQ(lines[0], "Track : Kestrel Ridge");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "Driver : Ann Lee");
    EXPECT_EQ(lines[3], "  Pos (ft)     Speed");
    char expected[64];
    std::snprintf(expected, sizeof expected, "%10.4f%10.4f", 100.0,
                  SpeedAt(*a, TimeAtPosition(*a, 100)));
    EXPECT_EQ(lines[5], expected);
    EXPECT_EQ(lines[4].substr(0, 10), "    0.0000");
    EXPECT_EQ(lines[6].substr(0, 10), "  200.0000");
    EXPECT_EQ(lines[7], "");
    EXPECT_EQ(lines[8], "Driver : Bo");
}

TEST(TextExport, CommaModeChannelOrderAndNoTrailingComma) {
    auto a = SteadyLap("Ann");
    TextExportChoices choices;
    choices.xIsPosition = false;
    choices.resolution = 0.2;
    choices.comma = true;
    choices.channels = {true, true, true, true, true, true, true};
    const auto lines = Lines(Export({a.get()}, choices));
    EXPECT_EQ(lines[3], "Time (s),Time,Pos,Speed,Line,In-line Force,Lateral Force,Slip Angle");
    // Nine frames are 0.6 s: rows at 0, 0.2 and 0.4.
    ASSERT_EQ(lines.size(), 4u + 3 + 1);
    for (size_t i = 3; i < lines.size(); ++i)
        if (!lines[i].empty()) {
            EXPECT_NE(lines[i].back(), ',') << lines[i];
        }
    EXPECT_EQ(lines[5].substr(0, lines[5].find(',')), "0.200000");
    EXPECT_EQ(lines[5].substr(9, 9), "0.200000,");  // the Time channel at x = 0.2 s
}

TEST(TextExport, ShortRangesNoChannelsAndFailures) {
    auto a = SteadyLap("Ann");
    TextExportChoices choices;
    choices.channels.fill(false);
    choices.resolution = 1000;  // longer than the lap: one row at the start
    a->startPosition = 12;
    auto lines = Lines(Export({a.get()}, choices));
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[3], "  Pos (ft)");
    EXPECT_EQ(lines[4], "   12.0000");

    EXPECT_EQ(WriteTextExport("/nonexistent-dir/x.txt", {a.get()}, "T", nullptr, choices),
              std::string(kMsgCannotCreateExport));
    choices.resolution = 0;
    std::ostringstream out;
    EXPECT_NE(WriteTextExport(out, {a.get()}, "T", nullptr, choices), nullptr);

    // A damaged lap claiming a range no replay can give is refused before any row, where
    // its rows would never end.
    auto damaged = SteadyLap("Damaged");
    damaged->endPosition = 1e15;
    choices.resolution = 1;
    std::ostringstream refused;
    EXPECT_EQ(WriteTextExport(refused, {damaged.get()}, "T", nullptr, choices),
              std::string(kMsgErrorExportingData));
}

TEST(TextExport, ResolutionTextAndTheUnusualRange) {
    EXPECT_EQ(ParseExportResolution("1e1"), 10.0);
    EXPECT_EQ(ParseExportResolution("2.5"), 2.5);
    for (const char* bad : {"", "5-", "0", "-1", "abc", "1 "})
        EXPECT_FALSE(ParseExportResolution(bad)) << bad;
    EXPECT_FALSE(ExportResolutionUnusual(1, true));
    EXPECT_FALSE(ExportResolutionUnusual(10, true));
    EXPECT_TRUE(ExportResolutionUnusual(0.5, true));
    EXPECT_TRUE(ExportResolutionUnusual(10.5, true));
    EXPECT_FALSE(ExportResolutionUnusual(0.1, false));
    EXPECT_FALSE(ExportResolutionUnusual(1, false));
    EXPECT_TRUE(ExportResolutionUnusual(2, false));
    EXPECT_TRUE(ExportResolutionUnusual(0.05, false));
}
