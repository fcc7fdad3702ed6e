#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "export/TextExport.h"
#include "support/Golden.h"
#include "support/LapBuilder.h"

namespace {

// A lap at a steady 30 feet per frame (12 inches per unit), 10 samples.
std::unique_ptr<TReplay> SteadyLap(const char* name) {
    return TLapBuilder(name, 3)
        .Steady(10, 0, 30, 5)
        .Scale(12)
        .Frames(0, 9)
        .Span(0, 270)
        .Length(270)
        .Build();
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

// The goldens were written by the export and checked by hand: a steady 30 ft per frame is
// 306.8182 mph throughout, the line stays 5 ft out, and the forces are zero.
TEST(TextExport, BlocksHeaderRowsAndFixedWidthFormat) {
    auto a = SteadyLap("Ann Lee");
    auto b = SteadyLap("Bo");
    TextExportChoices choices;
    choices.resolution = 100;
    ExpectMatchesGolden(Export({a.get(), b.get()}, choices),
                        "export/golden/two-laps-by-position.txt");
}

TEST(TextExport, CommaModeChannelOrderAndNoTrailingComma) {
    auto a = SteadyLap("Ann");
    TextExportChoices choices;
    choices.xIsPosition = false;
    choices.resolution = 0.2;
    choices.comma = true;
    choices.channels = {true, true, true, true, true, true, true};
    const std::string text = Export({a.get()}, choices);
    // Nine frames are 0.6 s: rows at 0, 0.2 and 0.4, every channel in the menu's order.
    ExpectMatchesGolden(text, "export/golden/one-lap-by-time-comma.txt");
    for (const std::string& line : Lines(text))
        if (!line.empty()) {
            EXPECT_NE(line.back(), ',') << line;
        }
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
