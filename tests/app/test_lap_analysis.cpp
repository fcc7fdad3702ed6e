// View > Time Delta, View > Sectors and Lap > Set Reference Lap in the whole program on the
// sample document: enabling, the sectors table and its header click, and the settings they
// keep (none while they are not used).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include <QApplication>
#include <QHeaderView>
#include <QTableWidget>

#include "AppFixture.h"
#include "app/SideWindows.h"
#include "commands/CommandIds.h"
#include "views/graph/TGraphView.h"
#include "views/windows/TDataWindow.h"
#include "views/windows/TSectorsWindow.h"

namespace app_test {
namespace {

class LapAnalysisApp : public AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        NotFirstRun();
        ASSERT_TRUE(Start());
    }
    bool Enabled(int id) { return frame().action(id)->isEnabled(); }
    bool Checked(int id) { return frame().action(id)->isChecked(); }
};

TEST_F(LapAnalysisApp, UnusedTheyStoreNothingAndAreOffAtStart) {
    EXPECT_FALSE(Enabled(cmd::TimeDelta));  // no track yet
    EXPECT_FALSE(Enabled(cmd::Sectors));
    EXPECT_FALSE(Enabled(cmd::SetReferenceLap));
    window().OpenStartupDocument(Sample());
    EXPECT_TRUE(Enabled(cmd::TimeDelta));
    EXPECT_FALSE(Checked(cmd::TimeDelta));
    EXPECT_TRUE(Enabled(cmd::SetReferenceLap));
    EXPECT_EQ(window().graph()->StripHeight(), 0);
    EXPECT_TRUE(frame().close());
    ProfileFile s = Settings();
    EXPECT_EQ(s.ReadText("view", "timedelta", "<none>"), "<none>");
    EXPECT_EQ(s.ReadText("window", "secx", "<none>"), "<none>");
}

TEST_F(LapAnalysisApp, TimeDeltaFollowsTheXAxisAndIsKeptForTheNextStart) {
    window().OpenStartupDocument(Sample());
    frame().show();
    frame().resize(1000, 800);
    QApplication::processEvents();
    frame().action(cmd::TimeDelta)->trigger();
    EXPECT_TRUE(Checked(cmd::TimeDelta));
    EXPECT_TRUE(window().view().analysis.deltaShown);
    EXPECT_GT(window().graph()->StripHeight(), 0);

    frame().action(cmd::XTime)->trigger();  // hidden and disabled on a time axis
    EXPECT_FALSE(Enabled(cmd::TimeDelta));
    EXPECT_EQ(window().graph()->StripHeight(), 0);
    frame().action(cmd::XPosition)->trigger();
    EXPECT_TRUE(Enabled(cmd::TimeDelta));
    EXPECT_GT(window().graph()->StripHeight(), 0);

    EXPECT_TRUE(frame().close());
    EXPECT_EQ(Settings().ReadInt("view", "timedelta", 0), 1);
    ASSERT_TRUE(Restart());
    EXPECT_TRUE(window().view().analysis.deltaShown);
}

TEST_F(LapAnalysisApp, DataWindowHasADeltaRowWhileTheStripShows) {
    window().OpenStartupDocument(Sample());
    frame().show();
    frame().resize(1000, 800);
    frame().action(cmd::Data)->trigger();
    QApplication::processEvents();
    TDataWindow& data = *window().sideWindows().dataWindow();
    window().ShowLapValues(1000, TelemetryChannel::Position);
    EXPECT_EQ(data.RowCount(), TDataWindow::kTableRows);

    frame().action(cmd::TimeDelta)->trigger();  // the row appears at once
    ASSERT_EQ(data.RowCount(), TDataWindow::kTableRows + 1);
    window().ShowLapValues(1000, TelemetryChannel::Position);
    ASSERT_EQ(data.columns().Count(), 3);
    int zeros = 0;  // the fastest lap, the reference, lies on zero
    for (int32_t i = 0; i < data.columns().Count(); ++i)
        if (data.columns().At(i).delta == 0.0) ++zeros;
    EXPECT_EQ(zeros, 1);
    EXPECT_EQ(TDataWindow::DeltaText(0.25), QStringLiteral(" +0.250"));
    EXPECT_EQ(TDataWindow::DeltaText(std::nullopt), QString());

    frame().action(cmd::XTime)->trigger();  // no strip on a time axis, no row
    EXPECT_EQ(data.RowCount(), TDataWindow::kTableRows);
    frame().action(cmd::XPosition)->trigger();
    EXPECT_EQ(data.RowCount(), TDataWindow::kTableRows + 1);
    frame().action(cmd::TimeDelta)->trigger();
    EXPECT_EQ(data.RowCount(), TDataWindow::kTableRows);
}

TEST_F(LapAnalysisApp, SectorsTableMarksTheBestTimesAndAHeaderClickZoomsToTheSector) {
    window().OpenStartupDocument(Sample());
    ASSERT_EQ(window().doc().laps().Count(), 3);
    frame().action(cmd::XTime)->trigger();
    frame().action(cmd::Sectors)->trigger();
    EXPECT_TRUE(Checked(cmd::Sectors));
    TSectorsWindow& sectors = *window().sectorsWindow();
    ASSERT_TRUE(sectors.isVisible());
    QTableWidget& table = *sectors.table();
    const TSectorTable& data = sectors.sectorTable();
    // The road course has 12 named corners: colour, name, 12 sectors and their differences,
    // lap time and its difference, gap.
    ASSERT_EQ(data.sectors.size(), 12u);
    ASSERT_EQ(table.columnCount(), 29);
    ASSERT_EQ(table.rowCount(), 4);
    EXPECT_EQ(table.horizontalHeaderItem(2)->text().toStdString(), data.sectors[0].name);
    EXPECT_EQ(table.horizontalHeaderItem(3)->text(), QStringLiteral("+/-"));
    EXPECT_EQ(table.horizontalHeaderItem(26)->text(), QStringLiteral("Lap time"));
    EXPECT_EQ(table.item(3, 1)->text(), QStringLiteral("Ideal"));
    ASSERT_TRUE(data.ideal.has_value());
    for (int s = 0; s < 12; ++s) {
        const int best = data.bestLap[size_t(s)];
        ASSERT_GE(best, 0);
        for (int r = 0; r < 3; ++r) {
            const QTableWidgetItem* cell = table.item(r, TSectorsWindow::SectorColumn(s));
            EXPECT_EQ(cell->font().bold(), r == best) << r << "/" << s;
            EXPECT_EQ(cell->background().color() == QColor(128, 0, 160), r == best);
        }
    }

    // The fastest lap is the reference and says so; every other lap's differences are its
    // sector times less the reference's, a loss red and a gain green.
    const int ref = data.reference;
    ASSERT_EQ(ref, data.fastestLap);
    EXPECT_TRUE(table.item(ref, 1)->text().endsWith(QStringLiteral("  (reference)")));
    int losses = 0, gains = 0;
    for (int r = 0; r < 3; ++r)
        for (int s = 0; s < 12; ++s) {
            const QTableWidgetItem* cell = table.item(r, TSectorsWindow::DifferenceColumn(s));
            if (r == ref) {
                EXPECT_TRUE(cell->text().isEmpty());
                continue;
            }
            const double d =
                *data.rows[size_t(r)].times[size_t(s)] - *data.rows[size_t(ref)].times[size_t(s)];
            char text[32];
            std::snprintf(text, sizeof text, "%+.3f", d);
            if (std::fabs(d) >= 0.0005) {
                EXPECT_EQ(cell->text(), QString::fromLatin1(text));
            }
            const QColor colour = cell->foreground().color();
            if (d >= 0.0005) {
                EXPECT_EQ(colour, TSectorsWindow::LossColour());
                ++losses;
            }
            if (d <= -0.0005) {
                EXPECT_EQ(colour, TSectorsWindow::GainColour());
                ++gains;
            }
        }
    EXPECT_GT(losses, 0);
    EXPECT_GT(gains, 0);  // the fastest lap is not the fastest in every sector

    // The second page: a row per corner and lap, the best minimum speed of each corner marked.
    QTableWidget& corners = *sectors.cornerTable();
    ASSERT_EQ(corners.rowCount(), 36);
    for (int c = 0; c < 12; ++c) {
        const int best = sectors.corners().best[size_t(c)][size_t(TCornerColumn::Minimum)];
        for (int n = 0; n < 3; ++n)
            EXPECT_EQ(corners.item(c * 3 + n, TSectorsWindow::kMinimum)->font().bold(), n == best);
    }

    // Sector 5's header: x switches to Position and shows the sector.
    emit table.horizontalHeader()->sectionClicked(TSectorsWindow::SectorColumn(4));
    EXPECT_EQ(window().doc().axes().x, TelemetryChannel::Position);
    const TRange& x = window().view().graph.viewRange.x;
    EXPECT_DOUBLE_EQ(x.min, data.sectors[4].from);
    EXPECT_DOUBLE_EQ(x.max, data.sectors[4].to);
    EXPECT_TRUE(Enabled(cmd::FullSize));

    // Closing it with its own close button unchecks the command; the placement is kept.
    sectors.move(210, 220);
    sectors.close();
    EXPECT_FALSE(Checked(cmd::Sectors));
    window().doc().SetDirty(false);
    EXPECT_TRUE(frame().close());
    EXPECT_EQ(Settings().ReadInt("window", "secx", 0), sectors.pos().x());
    EXPECT_EQ(Settings().ReadInt("window", "secw", 0), sectors.width());
}

}  // namespace
}  // namespace app_test
