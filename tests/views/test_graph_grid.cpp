// View > Grid: round tick values, their labels, and the grid drawn behind the curves in
// place of the quarter ticks and their labels.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>
#include <set>

#include "views/GraphTestSupport.h"
#include "views/graph/GraphGrid.h"
#include "views/graph/GraphTicks.h"

namespace {

TEST(RoundTicks, WorkedExamples) {
    // 10000 ft over 920 columns, labels 70 px apart: 761 ft at least, so steps of 1000.
    TRoundTicks t = RoundTicks(0, 10000, 920, 70);
    EXPECT_EQ(t.mantissa, 1);
    EXPECT_EQ(t.exponent, 3);
    EXPECT_EQ(t.count, 11);
    EXPECT_EQ(t.decimals, 0);
    EXPECT_EQ(TickLabel(t.At(3), t.decimals), "3000");
    // A speed range with its margins, 92.4 to 163.7 mph over 200 rows, 28 rows apart:
    // at least 9.98 mph, so 10 mph steps from 100 to 160.
    t = RoundTicks(92.4, 163.7, 200, 28);
    EXPECT_EQ(t.Step(), 10);
    EXPECT_EQ(t.count, 7);
    EXPECT_EQ(TickLabel(t.At(0), t.decimals), "100");
    // g's from -0.86 to 1.24 over 200 rows: at least 0.294, so 0.5 with one decimal.
    t = RoundTicks(-0.86, 1.24, 200, 28);
    EXPECT_EQ(t.mantissa, 5);
    EXPECT_EQ(t.exponent, -1);
    ASSERT_EQ(t.count, 4);
    EXPECT_EQ(TickLabel(t.At(0), t.decimals), "-0.5");
    EXPECT_EQ(TickLabel(t.At(1), t.decimals), "0.0");
    EXPECT_EQ(TickLabel(t.At(3), t.decimals), "1.0");
    // Tenths land on their decimal values, not a binary neighbour.
    t = RoundTicks(0.05, 0.35, 300, 100);
    EXPECT_EQ(t.Step(), 0.1);
    EXPECT_EQ(t.At(2), 0.3);
    // A zero that rounding left negative loses its sign.
    EXPECT_EQ(TickLabel(-0.0001, 2), "0.00");
}

TEST(RoundTicks, BrokenRangesGiveNoTicks) {
    EXPECT_EQ(RoundTicks(5, 5, 100, 20).count, 0);
    EXPECT_EQ(RoundTicks(6, 5, 100, 20).count, 0);
    EXPECT_EQ(RoundTicks(0, NAN, 100, 20).count, 0);
    EXPECT_EQ(RoundTicks(0, INFINITY, 100, 20).count, 0);
    EXPECT_EQ(RoundTicks(0, 1, 0, 20).count, 0);
    EXPECT_EQ(RoundTicks(-1e308, 1e308, 100, 20).count, 0);
    // A range far narrower than its magnitude still gives a handful of ticks, never millions.
    EXPECT_LE(RoundTicks(1e12, 1e12 + 1e-3, 1000, 20).count, 51);
}

// Over many generated ranges: every step is round and the smallest that keeps labels
// apart, every round value inside the range is a tick, and the labels read back as the
// ticks and tell them apart.
TEST(RoundTicks, GeneratedRangesGiveRoundSpacedReadableTicks) {
    std::mt19937 rng(25);
    std::uniform_real_distribution<double> mag(-3, 6), frac(0, 1);
    std::uniform_int_distribution<int> px(40, 2000), gap(10, 90);
    for (int n = 0; n < 20000; ++n) {
        const double scale = std::pow(10.0, mag(rng));
        const double lo = (frac(rng) * 2 - 1) * scale;
        const double hi = lo + scale * (0.01 + frac(rng));
        const int pixels = px(rng), minPixels = gap(rng);
        const TRoundTicks t = RoundTicks(lo, hi, pixels, minPixels);
        SCOPED_TRACE(testing::Message()
                     << lo << " .. " << hi << " over " << pixels << "/" << minPixels);
        ASSERT_TRUE(t.mantissa == 1 || t.mantissa == 2 || t.mantissa == 5);
        const double step = t.Step(), least = (hi - lo) * minPixels / pixels;
        ASSERT_GE(step, least * (1 - 1e-12));
        // The round step below this one would bring labels too close.
        const double smaller = t.mantissa == 1 ? step / 2 : t.mantissa == 2 ? step / 2 : step * 0.4;
        ASSERT_LT(smaller, least * (1 + 1e-12));
        ASSERT_LE(t.count, pixels / minPixels + 2);
        if (t.count == 0) {
            ASSERT_LT(std::floor(hi / step + 1e-9), std::ceil(lo / step - 1e-9));
            continue;
        }
        const double eps = step * 1e-6;
        ASSERT_GE(t.At(0), lo - eps);
        ASSERT_LE(t.At(t.count - 1), hi + eps);
        ASSERT_LT(t.At(0) - step, lo + eps);
        ASSERT_GT(t.At(t.count - 1) + step, hi - eps);
        std::set<std::string> labels;
        for (int i = 0; i < t.count; ++i) {
            const std::string label = TickLabel(t.At(i), t.decimals);
            ASSERT_NEAR(std::strtod(label.c_str(), nullptr), t.At(i), eps) << label;
            ASSERT_TRUE(labels.insert(label).second) << label;
        }
    }
}

using GraphGrid = TGraphRenderTest;

// 0 to 10000 ft (the track's length) over 920 columns: grid lines every 1000 ft, at
// 60 + trunc(v * 920 / 10000).
int GridColumn(double feet) {
    return 60 + static_cast<int>(feet * 920 / 10000);
}

TEST_F(GraphGrid, RoundGridBehindTheCurvesInPlaceOfTheQuarterLabels) {
    AddLap(MakeLinearLap(1000, 0, 10, kLapA));
    TGraphView view(ctx);
    const QImage plain = RenderAt(view, 1000, 500);
    viewState.graph.gridShown = true;
    view.FullRepaint();
    const QImage grid = Render(view);
    const QRgb light = kGridColour.rgb();
    // Off, no grid; on, light lines at the round columns, clear of the curve near the top.
    EXPECT_EQ(CountIn(plain, QRect(61, 41, 918, 418), [&](QRgb c) { return c == light; }), 0);
    for (double feet : {1000.0, 4000.0, 9000.0})
        EXPECT_EQ(grid.pixel(GridColumn(feet), 50), light) << feet;
    EXPECT_NE(grid.pixel(GridColumn(4000) + 2, 50), light);
    // The curve lies over the grid where it crosses a line.
    EXPECT_TRUE(HasColourInColumn(grid, GridColumn(5000), Of(kLapA)));
    // The label 4000 is centred under its line, where the quarter labels have nothing.
    const QRect label4000(GridColumn(4000) - 16, 464, 33, 12);
    auto black = [](QRgb c) { return c == kBlack; };
    EXPECT_EQ(CountIn(plain, label4000, black), 0);
    EXPECT_GT(CountIn(grid, label4000, black), 10);
    // The quarter ticks are gone from the frame: the top edge's tick at a quarter of it.
    const int quarter = static_cast<int>(0.75 * 60 + 0.25 * 980);
    EXPECT_EQ(plain.pixel(quarter, 43), kBlack);
    EXPECT_NE(grid.pixel(quarter, 43), kBlack);
}

}  // namespace
