// The Sectors window's cells: each sector's time, the lap time and the gap to the ideal lap
// for every lap, and the "Ideal" row, worked out by hand; and the same cells after a lap is
// edited or deleted.
#include <gtest/gtest.h>

#include <QTableWidget>

#include "views/GraphTestSupport.h"
#include "views/MapTestSupport.h"
#include "views/windows/TSectorsWindow.h"

namespace {

// The straight track has no corners: three sectors of 10000/3 ft. Ann runs 20 ft a frame
// throughout, 11.111 s a sector and 33.333 s a lap. Bo runs 25 ft a frame to 5000 ft and 10
// after: S1 in 133.33 frames (8.889 s), S2 in 66.67 + 166.67 frames (15.556 s), S3 in 333.33
// frames (22.222 s), the lap in 700 frames (46.667 s). The ideal lap takes Bo's S1 and Ann's
// S2 and S3: 466.67 frames, 31.111 s.
class SectorsWindowTest : public ::testing::Test, public TGraphFixtureState {
  protected:
    std::unique_ptr<TSectorsWindow> window;
    void SetUp() override {
        tracks.Clear();
        doc.SetCurrentTrack(tracks.Insert(MakeStraightTrack()));
        auto ann = MakeLapThrough(Steps(0, 10000, 500), kLapA);
        ann->SetDriverName("Ann");
        std::vector<int> b = Steps(0, 5000, 200);
        const std::vector<int> slow = Steps(5000, 10000, 500);
        b.insert(b.end(), slow.begin() + 1, slow.end());
        auto bo = MakeLapThrough(b, kLapB);
        bo->SetDriverName("Bo");
        AddLap(std::move(ann));
        AddLap(std::move(bo));
        window = std::make_unique<TSectorsWindow>(ctx, nullptr);
        window->show();
    }
    // The texts of one row, from the lap's name to the gap, looked up by the headers.
    std::vector<std::string> Row(int r) {
        QTableWidget& t = *window->table();
        std::vector<std::string> texts;
        for (const char* h : {"Lap", "S1", "S2", "S3", "Lap time", "Gap"}) {
            int c = 0;
            while (c < t.columnCount() && t.horizontalHeaderItem(c)->text() != h) ++c;
            EXPECT_LT(c, t.columnCount()) << h;
            const QTableWidgetItem* item = c < t.columnCount() ? t.item(r, c) : nullptr;
            texts.push_back(item != nullptr ? item->text().toStdString() : "<none>");
        }
        return texts;
    }
    using Texts = std::vector<std::string>;
};

TEST_F(SectorsWindowTest, CellsGapsAndTheIdealRow) {
    ASSERT_EQ(window->table()->rowCount(), 3);
    // Ann's lap is the fastest, so it is the reference the other laps are compared with.
    EXPECT_EQ(Row(0),
              (Texts{"Ann  (reference)", "11.111", "11.111", "11.111", "33.333", "+2.222"}));
    EXPECT_EQ(Row(1), (Texts{"Bo", "8.889", "15.556", "22.222", "46.667", "+15.556"}));
    EXPECT_EQ(Row(2), (Texts{"Ideal", "8.889", "11.111", "11.111", "31.111", ""}));
}

TEST_F(SectorsWindowTest, AnEditedOrDeletedLapChangesTheCellsAtOnce) {
    ASSERT_TRUE(doc.EditLap(1, "Bo Renamed", kLapB));
    EXPECT_EQ(Row(1)[0], "Bo Renamed");
    // Without Ann, Bo's own sectors are the ideal lap and his gap is nothing.
    ASSERT_TRUE(doc.RemoveLap(0));
    ASSERT_EQ(window->table()->rowCount(), 2);
    EXPECT_EQ(Row(0),
              (Texts{"Bo Renamed  (reference)", "8.889", "15.556", "22.222", "46.667", "+0.000"}));
    EXPECT_EQ(Row(1), (Texts{"Ideal", "8.889", "15.556", "22.222", "46.667", ""}));
}

}  // namespace
