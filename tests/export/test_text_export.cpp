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

// A lap that speeds up while it drifts across the track and turns, so that every channel
// has a value of its own: at 1.2 inches (0.1 ft) per unit, frame k lies 300k + 2k^2 units
// along and 50 + k^2 units across with heading 200k, 16 samples. It accelerates along the
// track by 0.4 ft per frame per frame (90 ft/s^2, 2.795031 g) and across it by half that.
std::unique_ptr<TReplay> CorneringLap(const char* name) {
    return TLapBuilder(name, 4)
        .Samples(16,
                 [](int32_t k) {
                     return TLapSample{300 * k + 2 * k * k, 50 + k * k, int16_t(200 * k)};
                 })
        .Scale(1.2)
        .Frames(0, 15)
        .Span(0, 4950)
        .Length(4950)
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
    EXPECT_EQ(WriteTextExport(out, laps, "Kestrel Ridge", nullptr, choices), TTextExportStatus::Ok);
    return out.str();
}

}  // namespace

// The goldens were written by the export and checked by hand. A steady 30 ft per frame is
// 306.8182 mph throughout. The cornering lap at 0.4 s (frame 6): 187.2 ft along, speed
// (2198 - 1550) / 2 units = 32.4 ft a frame = 331.363636 mph, line 8.6 ft, forces 2.795031
// and 1.397516 g, slip angle 1200 / 65536 turns less atan(1.2 / 32.4) = 6.591797 - 2.121096
// = 4.470701 degrees. At 200 ft (frame 6 + 128/326) its speed lies between the 331.36 and
// 335.45 of frames 6 and 7.
TEST(TextExport, BlocksHeaderRowsAndFixedWidthFormat) {
    auto a = SteadyLap("Ann Lee");
    auto b = CorneringLap("Bo");
    TextExportChoices choices;
    choices.resolution = 100;
    ExpectMatchesGolden(Export({a.get(), b.get()}, choices),
                        "export/golden/two-laps-by-position.txt");
}

TEST(TextExport, CommaModeChannelOrderAndNoTrailingComma) {
    auto a = CorneringLap("Ann");
    TextExportChoices choices;
    choices.xIsPosition = false;
    choices.resolution = 0.2;
    choices.comma = true;
    choices.channels = {true, true, true, true, true, true, true};
    const std::string text = Export({a.get()}, choices);
    // Fifteen frames are 1 s: rows at 0 to 0.8, every channel in the menu's order.
    ExpectMatchesGolden(text, "export/golden/one-lap-by-time-comma.txt");
    for (const std::string& line : Lines(text))
        if (!line.empty()) {
            EXPECT_NE(line.back(), ',') << line;
        }
}

// Regression: names went into the export as the file's 8-bit bytes, not as text.
TEST(TextExport, NamesAreWrittenAsUtf8) {
    auto lap = SteadyLap("J\xF6rg \x80");
    const auto lines = Lines(Export({lap.get()}, TextExportChoices{}));
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[2], "Driver : J\xC3\xB6rg \xE2\x82\xAC");
}

// For tools that read tables: one header row of names with units, the lap and its name on
// every row, names in UTF-8 (the file's 8-bit names read as Windows-1252) and quoted.
// Regression: "-0.0000" was written for values that round to zero from below.
TEST(TextExport, TheTableFormIsOneCsvTableInUtf8) {
    auto a = SteadyLap("J\xF6rg \"Jo\" M\x9Aller");
    auto b = SteadyLap("Bo");
    TextExportChoices choices;
    choices.resolution = 100;
    choices.table = true;
    choices.channels = {false, false, true, true, true, false, false};
    ExpectMatchesGolden(Export({a.get(), b.get()}, choices), "export/golden/two-laps-table.csv");

    // A steady lap's in-line force comes out a hair below zero between the samples.
    choices.table = false;
    choices.xIsPosition = false;
    choices.resolution = 0.2;
    choices.channels = {false, false, false, false, true, false, false};
    for (const bool comma : {false, true}) {
        choices.comma = comma;
        const std::string text = Export({b.get()}, choices);
        EXPECT_EQ(text.find("-0.0"), std::string::npos) << text;
        EXPECT_NE(text.find("0.0000"), std::string::npos) << text;
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
              TTextExportStatus::CannotCreate);
    choices.resolution = 0;
    std::ostringstream out;
    EXPECT_EQ(WriteTextExport(out, {a.get()}, "T", nullptr, choices),
              TTextExportStatus::ResolutionNotNumber);

    // Regression: a row cap meant to stop damaged laps cut off a real lap at a tiny resolution.
    // A damaged lap claiming a range no replay can give is refused before any row, where
    // its rows would never end.
    auto damaged = SteadyLap("Damaged");
    damaged->endPosition = 1e15;
    choices.resolution = 1;
    std::ostringstream refused;
    EXPECT_EQ(WriteTextExport(refused, {damaged.get()}, "T", nullptr, choices),
              TTextExportStatus::WriteFailed);
}

// The texts the export has always shown, one per way it can end.
TEST(TextExport, EachStatusHasItsMessage) {
    EXPECT_STREQ(TextExportMessage(TTextExportStatus::Ok), "");
    EXPECT_STREQ(TextExportMessage(TTextExportStatus::CannotCreate),
                 "Unable to create export file");
    EXPECT_STREQ(TextExportMessage(TTextExportStatus::WriteFailed), "Error exporting data");
    EXPECT_STREQ(TextExportMessage(TTextExportStatus::ResolutionNotNumber),
                 "Resolution must be a number");
    EXPECT_STREQ(TextExportMessage(TTextExportStatus::Cancelled), "Export cancelled");
}

// A progress that answers false stops the table there, reported as cancelled, not as done.
TEST(TextExport, AProgressAnsweringFalseStopsTheExport) {
    auto lap = SteadyLap("Long");
    TextExportChoices choices;
    choices.resolution = 0.01;  // 270 ft in steps of 0.01 ft: about 27000 rows
    int64_t seenDone = 0, seenTotal = 0;
    std::ostringstream out;
    EXPECT_EQ(WriteTextExport(out, {lap.get()}, "T", nullptr, choices,
                              [&](int64_t done, int64_t total) {
                                  seenDone = done;
                                  seenTotal = total;
                                  return false;
                              }),
              TTextExportStatus::Cancelled);
    EXPECT_GT(seenDone, 0);
    EXPECT_NEAR(double(seenTotal), 27000.0, 2.0);
    EXPECT_LT(Lines(out.str()).size(), 27000u / 2);
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

// Regression: numbers that filled their column ran into the next one.
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
    EXPECT_EQ(WriteTextExport(out, {lap.get()}, "T", nullptr, choices),
              TTextExportStatus::WriteFailed);
    EXPECT_LT(out.str().size(), 200u);
    choices.xIsPosition = false;  // time has its own bound: the lap's samples
    lap->endFrame = 1e12;
    EXPECT_EQ(WriteTextExport(out, {lap.get()}, "T", nullptr, choices),
              TTextExportStatus::WriteFailed);

    const std::string path = testing::TempDir() + "korvale-export-" + std::to_string(getpid());
    { std::ofstream(path) << "earlier export\n"; }
    EXPECT_EQ(WriteTextExport(path, {lap.get()}, "T", nullptr, choices),
              TTextExportStatus::WriteFailed);
    std::ifstream in(path);
    std::string first;
    std::getline(in, first);
    EXPECT_EQ(first, "earlier export");
    auto good = SteadyLap("Good");
    EXPECT_EQ(WriteTextExport(path, {good.get()}, "T", nullptr, choices), TTextExportStatus::Ok);
    std::ifstream again(path);
    std::getline(again, first);
    EXPECT_EQ(first, "Track : T");
    std::remove(path.c_str());
}
