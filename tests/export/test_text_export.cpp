#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
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

namespace {

// A lap of 30 samples 600 feet apart (600 units of 12 inches): 17,400 feet at some
// 6,136 mph, so that positions pass 10000 feet and speeds stay within their ten places.
std::unique_ptr<TReplay> LongLap() {
    auto lap = std::make_unique<TReplay>("Far", 3);
    lap->ResizeSamples(30);
    for (int32_t i = 0; i < 30; ++i) {
        lap->positions[size_t(i)] = 600 * i;
        lap->lines[size_t(i)] = 5;
    }
    lap->inchesPerUnit = 12;
    lap->endFrame = 29;
    lap->endPosition = 17400;
    lap->lapLength = 17400;
    return lap;
}

std::vector<std::string> Fields(const std::string& row) {
    std::istringstream in(row);
    std::vector<std::string> fields;
    for (std::string f; in >> f;) fields.push_back(f);
    return fields;
}

}  // namespace

TEST(TextExport, FieldsThatFillTheirWidthNeverTouch) {
    constexpr double kMph = 9000.0 * 3600 / 5280;
    auto lap = LongLap();
    TextExportChoices choices;
    choices.resolution = 2500;
    choices.channels = {true, true, true, false, false, false, false};
    const auto lines = Lines(Export({lap.get()}, choices));
    ASSERT_GE(lines.size(), 4u + 7);
    size_t wide = 0;
    for (size_t i = 4; i < lines.size() && !lines[i].empty(); ++i) {
        const auto fields = Fields(lines[i]);
        ASSERT_EQ(fields.size(), 4u) << lines[i];
        const double x = 2500.0 * double(i - 4);
        // 600 feet a frame: 9000 ft/s, x / 9000 seconds in, 9000 x 3600 / 5280 mph.
        const double expected[4] = {x, x / 9000, x, kMph};
        for (size_t c = 0; c < 4; ++c) EXPECT_NEAR(std::stod(fields[c]), expected[c], 5e-5);
        wide += x >= 10000;
    }
    EXPECT_GT(wide, 0u);
    // Below 10000 feet the row is exactly as before: right-aligned fields of ten.
    char row[64];
    std::snprintf(row, sizeof row, "%10.4f%10.4f%10.4f%10.4f", 2500.0, 2500 / 9000.0, 2500.0, kMph);
    EXPECT_EQ(lines[5], row);
    // Past it, a space keeps the fields apart.
    std::snprintf(row, sizeof row, "%.4f%10.4f %.4f%10.4f", 10000.0, 10000 / 9000.0, 10000.0, kMph);
    EXPECT_EQ(lines[8], row);
    // Comma mode is as it was.
    choices.comma = true;
    EXPECT_EQ(Lines(Export({lap.get()}, choices))[3], "Pos (ft),Time,Pos,Speed");
}

TEST(TextExport, ADamagedScaleIsRefusedAndAnEarlierExportKept) {
    auto lap = SteadyLap("Scaled");
    lap->inchesPerUnit = 1e300;  // 270 units: an extent of some 1e301 feet
    TextExportChoices choices;
    std::ostringstream out;
    EXPECT_STREQ(WriteTextExport(out, {lap.get()}, "T", nullptr, choices), kMsgErrorExportingData);
    EXPECT_LT(out.str().size(), 200u);
    choices.xIsPosition = false;  // time has its own bound: the lap's samples
    lap->endFrame = 1e12;
    EXPECT_STREQ(WriteTextExport(out, {lap.get()}, "T", nullptr, choices), kMsgErrorExportingData);

    const std::string path = testing::TempDir() + "korvale-export-" + std::to_string(getpid());
    { std::ofstream(path) << "earlier export\n"; }
    EXPECT_STREQ(WriteTextExport(path, {lap.get()}, "T", nullptr, choices), kMsgErrorExportingData);
    std::ifstream in(path);
    std::string first;
    std::getline(in, first);
    EXPECT_EQ(first, "earlier export");
    auto good = SteadyLap("Good");
    EXPECT_EQ(WriteTextExport(path, {good.get()}, "T", nullptr, choices), nullptr);
    std::ifstream again(path);
    std::getline(again, first);
    EXPECT_EQ(first, "Track : T");
    std::remove(path.c_str());
}
