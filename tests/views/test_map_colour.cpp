// The map coloured by a channel: the colour map's table, the values and extremes of the
// coloured lap, its three-pixel line in the map layer, and the legend in the corner.
#include <gtest/gtest.h>

#include <QScrollBar>

#include "views/GraphTestSupport.h"
#include "views/MapTestSupport.h"
#include "views/map/MapColouring.h"
#include "views/map/TTrackMapView.h"
#include "views/map/Viridis.h"

namespace {

// The table's first, middle (entry 128) and last entries at 8 bits.
const QRgb kLowest = qRgb(68, 1, 84);
const QRgb kMiddle = qRgb(33, 145, 140);
const QRgb kHighest = qRgb(253, 231, 37);

// 200 frames at 11 ft a frame (112.5 mph), then 200 at 22 ft (225 mph).
std::vector<int> SlowThenFast() {
    std::vector<int> p;
    for (int k = 0; k <= 200; ++k) p.push_back(11 * k);
    for (int k = 1; k <= 200; ++k) p.push_back(2200 + 22 * k);
    return p;
}

TEST(MapColourTable, EndsAndMiddleAreTheTablesEntries) {
    ASSERT_EQ(ViridisTable().size(), 256u);
    EXPECT_EQ(ViridisColour(0), kLowest);
    EXPECT_EQ(ViridisColour(0.5), kMiddle);
    EXPECT_EQ(ViridisColour(1), kHighest);
    // Out of range and NaN stay on the table.
    EXPECT_EQ(ViridisColour(-3), kLowest);
    EXPECT_EQ(ViridisColour(7), kHighest);
    EXPECT_EQ(ViridisColour(std::nan("")), kLowest);
    EXPECT_EQ(ColourForValue(5, 5, 5), kMiddle);  // a channel that does not vary
}

// Same straight track and client as the map rendering tests: track x maps to column
// (x + 80) / 10 and the middle of the track to row 13.
class MapColour : public ::testing::Test, public TGraphFixtureState {
  protected:
    TLapLineCache lines;
    void SetUp() override {
        tracks.Clear();
        doc.SetCurrentTrack(tracks.Insert(MakeStraightTrack()));
    }
    const TTrackData& Track() { return tracks.At(doc.currentTrack()); }
    QImage ShowMap(TTrackMapView& view) {
        view.resize(1016 + view.verticalScrollBar()->sizeHint().width(),
                    116 + view.horizontalScrollBar()->sizeHint().height());
        view.show();
        viewState.viewMode = ViewMap;
        view.Enter();
        return Render(*view.viewport());
    }
};

TEST_F(MapColour, TheLegendsValuesAreTheChannelsExtremesAlongTheLap) {
    const auto lap = MakeLapThrough(SlowThenFast(), kLapB);
    const TLapColouring speed = LapColouring(&Track(), *lap, TMapColour::Speed, nullptr);
    ASSERT_TRUE(speed.any);
    EXPECT_NEAR(speed.min, 112.5, 1e-9);
    EXPECT_NEAR(speed.max, 225.0, 1e-9);
    EXPECT_EQ(LegendValueText(TMapColour::Speed, speed.min), "112.5");
    EXPECT_EQ(LegendValueText(TMapColour::Speed, speed.max), "225.0");

    // A lap at 20 ft a frame against a reference at 10: it gains 100 / 150 - 100 / 300 s per
    // 100 feet everywhere, a third of a second; the range is symmetric about zero.
    const auto reference = MakeLapThrough(Steps(0, 3000, 300), kLapB);
    const auto quick = MakeLapThrough(Steps(0, 3000, 150), kLapB);
    const TLapColouring delta =
        LapColouring(&Track(), *quick, TMapColour::TimeDelta, reference.get());
    ASSERT_TRUE(delta.any);
    ASSERT_TRUE(delta.diverging);
    for (double v : delta.values)
        if (!std::isnan(v)) {
            EXPECT_NEAR(v, -1.0 / 3, 1e-9);
        }
    EXPECT_NEAR(delta.min, -1.0 / 3, 1e-9);
    EXPECT_NEAR(delta.max, 1.0 / 3, 1e-9);
    // A gain at the limit is green, a loss red, nothing grey.
    EXPECT_EQ(ColouringColour(delta, -1.0 / 3), qRgb(0, 160, 0));
    EXPECT_EQ(ColouringColour(delta, 1.0 / 3), qRgb(220, 0, 0));
    EXPECT_EQ(ColouringColour(delta, 0), qRgb(200, 200, 200));
    // Without a lap to compare with there is nothing to colour.
    EXPECT_FALSE(LapColouring(&Track(), *quick, TMapColour::TimeDelta, nullptr).any);
}

TEST_F(MapColour, TheReferenceLapIsThreePixelsWideInTheColourOfItsSpeedWithALegend) {
    AddLap(MakeLapThrough(SlowThenFast(), kLapB));
    viewState.map.colour = TMapColour::Speed;
    TTrackMapView view(ctx, lines);
    const QImage img = ShowMap(view);
    // Slow at 1000 ft (column 108), fast at 5000 ft (column 508): three rows, 12 to 14.
    for (const auto& [column, colour] : {std::pair{108, kLowest}, std::pair{508, kHighest}}) {
        EXPECT_EQ(img.pixel(column, 11), kWhite) << column;
        EXPECT_EQ(img.pixel(column, 12), colour) << column;
        EXPECT_EQ(img.pixel(column, 13), colour) << column;
        EXPECT_EQ(img.pixel(column, 14), colour) << column;
        EXPECT_EQ(img.pixel(column, 15), kWhite) << column;
    }
    // The legend's bar runs from the lowest colour to the highest, inside its box.
    const TLegendBox box = MapLegendBox(QSize(1016, 116));
    EXPECT_EQ(box.left + box.width, 1016 - 8);
    EXPECT_EQ(img.pixel(box.left, box.top + 1), kBlack);
    EXPECT_EQ(img.pixel(box.barLeft, box.barTop + 2), kLowest);
    EXPECT_EQ(img.pixel(box.barLeft + box.barWidth - 1, box.barTop + 2), kHighest);
}

TEST_F(MapColour, LapColoursDrawsTheMapAsItAlwaysWasAndComesBackAfterAChannel) {
    AddLap(MakeLapThrough(SlowThenFast(), kLapB));
    TTrackMapView view(ctx, lines);
    const QImage before = ShowMap(view);
    viewState.map.colour = TMapColour::Speed;
    view.FullRepaint();
    const QImage coloured = Render(*view.viewport());
    EXPECT_NE(coloured, before);
    viewState.map.colour = TMapColour::Laps;
    view.FullRepaint();
    EXPECT_EQ(Render(*view.viewport()), before);
    EXPECT_EQ(before.pixel(108, 13), Of(kLapB));  // the lap's own one-pixel line
    EXPECT_EQ(before.pixel(108, 12), kWhite);
}

// Three full laps on their own rows: A at 20 ft a frame, B (the fastest) at 20 then 50, and
// C at 10 then 20. Which row a lateral offset lands on is found from the picture.
class MapColourOfSeveral : public MapColour {
  protected:
    const Rgb kLapC{0, 128, 0};
    void SetUp() override {
        MapColour::SetUp();
        std::vector<int> b = Steps(0, 5000, 250);
        const std::vector<int> fast = Steps(5000, 10000, 100);
        b.insert(b.end(), fast.begin() + 1, fast.end());
        std::vector<int> c = Steps(0, 5000, 500);
        const std::vector<int> quicker = Steps(5000, 10000, 250);
        c.insert(c.end(), quicker.begin() + 1, quicker.end());
        AddLap(MakeLapThrough(Steps(0, 10000, 500), kLapA, 40));
        AddLap(MakeLapThrough(b, kLapB, 0));
        AddLap(MakeLapThrough(c, kLapC, -40));
    }
    // The rows of column x that hold colour c.
    static std::vector<int> RowsOf(const QImage& img, int x, QRgb c) {
        std::vector<int> rows;
        for (int y = 0; y < img.height(); ++y)
            if (img.pixel(x, y) == c) rows.push_back(y);
        return rows;
    }
    int32_t Serial(int i) { return doc.laps().At(i).serial; }
};

TEST_F(MapColourOfSeveral, OnlyTheReferenceLapIsColouredTheOthersKeepTheirLines) {
    viewState.map.colour = TMapColour::Speed;
    TTrackMapView view(ctx, lines);
    QImage img = ShowMap(view);
    // B, the fastest, is the reference: three rows around the middle, slow (lowest colour)
    // at 1000 ft, fast (highest) at 8000 ft.
    EXPECT_EQ(RowsOf(img, 108, kLowest), (std::vector<int>{12, 13, 14}));
    EXPECT_EQ(RowsOf(img, 808, kHighest), (std::vector<int>{12, 13, 14}));
    // A and C one pixel wide in their own colours, 40 ft either side of the middle.
    const std::vector<int> rowA = RowsOf(img, 508, Of(kLapA));
    const std::vector<int> rowC = RowsOf(img, 508, Of(kLapC));
    ASSERT_EQ(rowA.size(), 1u);
    ASSERT_EQ(rowC.size(), 1u);
    EXPECT_EQ(std::abs(rowA[0] - 13), 4);
    EXPECT_EQ(rowA[0] + rowC[0], 26);

    // C picked as the reference: coloured by its own speeds, and B is back to its own
    // one-pixel line.
    viewState.analysis.referenceSerial = Serial(2);
    view.FullRepaint();
    img = Render(*view.viewport());
    const std::vector<int> aroundC{rowC[0] - 1, rowC[0], rowC[0] + 1};
    EXPECT_EQ(RowsOf(img, 108, kLowest), aroundC);
    EXPECT_EQ(RowsOf(img, 808, kHighest), aroundC);
    EXPECT_EQ(RowsOf(img, 108, Of(kLapB)), (std::vector<int>{13}));
    EXPECT_EQ(RowsOf(img, 108, Of(kLapA)), rowA);
}

TEST_F(MapColourOfSeveral, AHiddenLapLeavesNoLineColouredOrNot) {
    TTrackMapView view(ctx, lines);
    QImage img = ShowMap(view);
    const std::vector<int> rowA = RowsOf(img, 508, Of(kLapA));
    ASSERT_EQ(rowA.size(), 1u);
    ASSERT_EQ(RowsOf(img, 508, Of(kLapB)), (std::vector<int>{13}));

    viewState.hiddenLaps = {Serial(0)};
    view.FullRepaint();
    img = Render(*view.viewport());
    EXPECT_TRUE(RowsOf(img, 508, Of(kLapA)).empty());
    EXPECT_EQ(img.pixel(508, rowA[0]), kWhite);
    EXPECT_EQ(RowsOf(img, 508, Of(kLapB)), (std::vector<int>{13}));
    EXPECT_EQ(RowsOf(img, 508, Of(kLapC)).size(), 1u);

    // Coloured by speed with the reference hidden: neither its colours nor its own line.
    viewState.map.colour = TMapColour::Speed;
    viewState.hiddenLaps = {Serial(1)};
    view.FullRepaint();
    img = Render(*view.viewport());
    for (int x : {108, 808}) {
        for (int y = 12; y <= 14; ++y) EXPECT_EQ(img.pixel(x, y), kWhite) << x << "," << y;
    }
    EXPECT_EQ(RowsOf(img, 508, Of(kLapA)), rowA);
}

}  // namespace
