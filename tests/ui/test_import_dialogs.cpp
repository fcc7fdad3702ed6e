// The Import Lap and Import Average Lap dialogs driven through their controls.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>

#include "FakeLapSource.h"
#include "UiTestSupport.h"
#include "replay/ui/TImportAvgLaps.h"
#include "replay/ui/TImportLap.h"
#include "replay/ui/TPropListBox.h"

using namespace ui_test;

namespace {

QStringList ToQ(const std::vector<std::string>& v) {
    QStringList out;
    for (const auto& s : v) out << Q(s);
    return out;
}

struct Warning {
    std::string title, text;
    std::vector<int> selectedWhileShown;  // the lap rows selected while the message is up
};

}  // namespace

TEST(PropListBox, FontIsFixedPitchCourierNewEightPointsFromTheScreenDpi) {
    EXPECT_EQ(TPropListBox::FontPixelHeight(8, 96), 11);  // 10.67 rounds up
    EXPECT_EQ(TPropListBox::FontPixelHeight(12, 96), 16);
    EXPECT_EQ(TPropListBox::FontPixelHeight(8, 120), 13);  // 13.33 rounds down
    EXPECT_EQ(TPropListBox::FontPixelHeight(8, 144), 16);
    EXPECT_EQ(TPropListBox::FontPixelHeight(8, 72), 8);

    TPropListBox list;
    const QFont f = list.font();
    EXPECT_EQ(f.family(), QStringLiteral("Courier New"));
    EXPECT_EQ(f.pixelSize(), TPropListBox::FontPixelHeight(8, list.logicalDpiY()));
    EXPECT_EQ(f.weight(), QFont::Normal);
    EXPECT_TRUE(f.fixedPitch());
}

TEST(ImportLap, OpensOnTheFirstDriverWithTheStoredModeStandingAndItsIds) {
    for (const bool times : {true, false}) {
        FakeLapSource fake{{4, 1, 3}};
        TImportLap dlg(ThreeDrivers(times), fake.Source());
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Import Lap"));
        auto* drivers = Find<QListWidget>(&dlg, "driverList");
        auto* laps = Find<QListWidget>(&dlg, "lapList");
        auto* mode = Find<QPushButton>(&dlg, "modeButton");
        ASSERT_TRUE(drivers && laps && mode);
        EXPECT_EQ(drivers->property("controlId").toInt(), 102);
        EXPECT_EQ(laps->property("controlId").toInt(), 101);
        EXPECT_EQ(mode->property("controlId").toInt(), 103);
        EXPECT_EQ(laps->selectionMode(), QAbstractItemView::ExtendedSelection);
        auto* label = Find<QLabel>(&dlg, "driversLabel");
        EXPECT_EQ(label->text(), QStringLiteral("&Drivers"));
        EXPECT_EQ(label->buddy(), drivers);

        EXPECT_EQ(Texts(drivers), ToQ(ThreeDrivers().driverTexts));
        EXPECT_EQ(SelectedRows(drivers), std::vector<int>{0});
        EXPECT_EQ(Texts(laps), ToQ(fake.Expected(0, times)));
        EXPECT_EQ(SelectedRows(laps), std::vector<int>{0});
        EXPECT_EQ(mode->text(), times ? QStringLiteral("Lap Times") : QStringLiteral("Lap Speeds"));
        // Set-up goes through the button's action twice, so the stored value is written back.
        EXPECT_EQ(fake.storedModes, (std::vector<bool>{!times, times}));
        EXPECT_EQ(dlg.LapTimes(), times);
    }
}

TEST(ImportLap, ModeButtonSwitchesTextsStoresTheChoiceAndReselectsTheFirstLap) {
    FakeLapSource fake{{5, 1, 3}};
    TImportLap dlg(ThreeDrivers(true), fake.Source());
    auto* laps = Find<QListWidget>(&dlg, "lapList");
    auto* mode = Find<QPushButton>(&dlg, "modeButton");
    laps->setCurrentRow(2);
    fake.storedModes.clear();

    mode->click();
    EXPECT_EQ(fake.storedModes, std::vector<bool>{false});
    EXPECT_EQ(mode->text(), QStringLiteral("Lap Speeds"));
    EXPECT_EQ(Texts(laps), ToQ(fake.Expected(0, false)));
    EXPECT_TRUE(Texts(laps)[1].endsWith(QStringLiteral(" mph")));
    EXPECT_EQ(SelectedRows(laps), std::vector<int>{0});
    EXPECT_FALSE(dlg.LapTimes());

    mode->click();
    EXPECT_EQ(fake.storedModes, (std::vector<bool>{false, true}));
    EXPECT_EQ(mode->text(), QStringLiteral("Lap Times"));
    EXPECT_EQ(Texts(laps), ToQ(fake.Expected(0, true)));
    EXPECT_EQ(dlg.Result().lapTimes, true);
}

TEST(ImportLap, ChoosingAnotherDriverRefillsTheLapsAndTheRecordCarriesBothSelections) {
    FakeLapSource fake{{4, 1, 3}};
    TImportLap dlg(ThreeDrivers(true), fake.Source());
    auto* drivers = Find<QListWidget>(&dlg, "driverList");
    auto* laps = Find<QListWidget>(&dlg, "lapList");

    MouseOnRow(drivers, 1);
    EXPECT_EQ(SelectedRows(drivers), std::vector<int>{1});
    EXPECT_EQ(Texts(laps), QStringList{QStringLiteral("(partial)")});
    TImportLapXfer out = dlg.Result();
    EXPECT_EQ(out.selectedDriver, 1);
    EXPECT_EQ(out.selectedLaps, std::vector<int32_t>{0});
    EXPECT_EQ(out.driverTexts, ThreeDrivers().driverTexts);

    MouseOnRow(drivers, 2);
    MouseOnRow(laps, 1);
    out = dlg.Result();
    EXPECT_EQ(out.selectedDriver, 2);
    EXPECT_EQ(out.selectedLaps, std::vector<int32_t>{1});
    EXPECT_EQ(fake.textCalls.back(), std::make_pair(2, true));
}

TEST(ImportLap, DoubleClickOnALapClosesAsOkAndCancelRejects) {
    FakeLapSource fake{{4, 1, 3}};
    {
        TImportLap dlg(ThreeDrivers(true), fake.Source());
        dlg.show();
        auto* laps = Find<QListWidget>(&dlg, "lapList");
        MouseOnRow(laps, 2, true);
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(dlg.Result().selectedLaps, std::vector<int32_t>{2});
    }
    {
        TImportLap dlg(ThreeDrivers(true), fake.Source());
        dlg.show();
        Click(&dlg, "cancel");
        EXPECT_EQ(dlg.result(), QDialog::Rejected);
    }
    {
        TImportLap dlg(ThreeDrivers(true), fake.Source());
        dlg.show();
        Click(&dlg, "ok");
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
        EXPECT_EQ(dlg.Result().selectedDriver, 0);
        EXPECT_EQ(dlg.Result().selectedLaps, std::vector<int32_t>{0});
    }
}

TEST(ImportLap, AReplayWithoutDriversGivesEmptyListsAndNoSelections) {
    FakeLapSource fake{{}};
    TImportLapXfer in;
    in.driverTexts = {};
    TImportLap dlg(in, fake.Source());
    EXPECT_TRUE(fake.textCalls.empty());  // no chain of a driver -1 is walked
    EXPECT_EQ(Find<QListWidget>(&dlg, "lapList")->count(), 0);
    const TImportLapXfer out = dlg.Result();
    EXPECT_EQ(out.selectedDriver, -1);
    EXPECT_TRUE(out.selectedLaps.empty());
}

TEST(ImportLap, HelpOpensTopicOneAndIsDisabledWithoutHelp) {
    FakeLapSource fake{{3}};
    TImportLap dlg(ThreeDrivers(), fake.Source());
    auto* help = Find<QPushButton>(&dlg, "help");
    EXPECT_FALSE(help->isEnabled());
    std::vector<int> topics;
    dlg.SetHelpHandler([&](int t) { topics.push_back(t); });
    EXPECT_TRUE(help->isEnabled());
    help->click();
    EXPECT_EQ(topics, std::vector<int>{1});
}

// A plain click still selects one lap; Ctrl-click adds one, Shift-click a range, in list order.
TEST(ImportLap, CtrlAndShiftClickSelectAStintAndAPlainClickOneLap) {
    FakeLapSource fake{{6, 1, 4}};
    TImportLap dlg(ThreeDrivers(true), fake.Source());
    auto* laps = Find<QListWidget>(&dlg, "lapList");
    MouseOnRow(laps, 1);
    MouseOnRow(laps, 4, false, Qt::ShiftModifier);
    MouseOnRow(laps, 0, false, Qt::ControlModifier);
    EXPECT_EQ(dlg.Result().selectedLaps, (std::vector<int32_t>{0, 1, 2, 3, 4}));
    MouseOnRow(laps, 2, false, Qt::ControlModifier);
    EXPECT_EQ(dlg.Result().selectedLaps, (std::vector<int32_t>{0, 1, 3, 4}));
    MouseOnRow(laps, 3);
    EXPECT_EQ(dlg.Result().selectedLaps, (std::vector<int32_t>{3}));
}

class ImportAvgLapsTest : public ::testing::Test {
  protected:
    FakeLapSource fake{{6, 1, 4}};
    std::vector<Warning> warnings;
    std::unique_ptr<TImportAvgLaps> dlg;
    QListWidget* drivers = nullptr;
    QListWidget* laps = nullptr;

    void SetUp() override {
        dlg = std::make_unique<TImportAvgLaps>(ThreeDrivers(true), fake.Source());
        dlg->SetWarn([this](const std::string& t, const std::string& x) {
            warnings.push_back({t, x, SelectedRows(laps)});
        });
        drivers = Find<QListWidget>(dlg.get(), "driverList");
        laps = Find<QListWidget>(dlg.get(), "lapList");
    }
};

TEST_F(ImportAvgLapsTest, HasNoTitleTheVariantIdsAndStartsWithNoLapSelected) {
    EXPECT_TRUE(dlg->windowTitle().isEmpty());
    EXPECT_EQ(drivers->property("controlId").toInt(), 101);
    EXPECT_EQ(laps->property("controlId").toInt(), 103);
    EXPECT_EQ(Find<QPushButton>(dlg.get(), "modeButton")->property("controlId").toInt(), 102);
    EXPECT_EQ(laps->selectionMode(), QAbstractItemView::MultiSelection);
    EXPECT_EQ(Texts(laps), ToQ(fake.Expected(0, true)));
    EXPECT_TRUE(SelectedRows(laps).empty());
    EXPECT_TRUE(warnings.empty());
}

TEST_F(ImportAvgLapsTest, SeveralFullLapsAreTakenInListOrder) {
    MouseOnRow(laps, 3);
    MouseOnRow(laps, 1);
    MouseOnRow(laps, 4);
    MouseOnRow(laps, 4);  // a second click takes it back
    EXPECT_TRUE(warnings.empty());
    dlg->show();
    Click(dlg.get(), "ok");
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    const TImportLapXfer out = dlg->Result();
    EXPECT_EQ(out.selectedDriver, 0);
    EXPECT_EQ(out.selectedLaps, (std::vector<int32_t>{1, 3}));
}

TEST_F(ImportAvgLapsTest, SelectingAPartialLapIsRefusedAndBothEndsDeselected) {
    MouseOnRow(laps, 2);
    MouseOnRow(laps, 0);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].title, "Import Average Lap");
    EXPECT_EQ(warnings[0].text, "Partial laps may not be used in averaging");
    // Regression: the refused laps were deselected before the partial-lap message showed.
    // The message shows the refused lap still selected; it goes only afterwards.
    EXPECT_EQ(warnings[0].selectedWhileShown, (std::vector<int>{0, 2}));
    EXPECT_EQ(SelectedRows(laps), std::vector<int>{2});

    MouseOnRow(laps, 5);
    EXPECT_EQ(warnings.size(), 2u);
    EXPECT_EQ(warnings[1].selectedWhileShown, (std::vector<int>{2, 5}));
    EXPECT_EQ(SelectedRows(laps), std::vector<int>{2});

    // The single lap of a driver who never crossed the line is both first and last.
    MouseOnRow(drivers, 1);
    MouseOnRow(laps, 0);
    EXPECT_EQ(warnings.size(), 3u);
    EXPECT_TRUE(SelectedRows(laps).empty());
}

// Shift-click takes the range from the lap clicked before, leaving the partial laps out
// without a message.
TEST_F(ImportAvgLapsTest, ShiftClickSelectsARangeWithoutThePartialLaps) {
    MouseOnRow(laps, 2);
    MouseOnRow(laps, 5, false, Qt::ShiftModifier);
    EXPECT_EQ(SelectedRows(laps), (std::vector<int>{2, 3, 4}));
    MouseOnRow(laps, 0, false, Qt::ShiftModifier);
    EXPECT_EQ(SelectedRows(laps), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_TRUE(warnings.empty());
    Click(dlg.get(), "ok");
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(dlg->Result().selectedLaps, (std::vector<int32_t>{1, 2, 3, 4}));
}

TEST_F(ImportAvgLapsTest, OkWithAPartialLapStillSelectedWarnsAndStaysOpen) {
    dlg->show();
    laps->item(1)->setSelected(true);
    {
        // A selection that bypassed the check, as a programmatic one can.
        const QSignalBlocker block(laps);
        laps->item(5)->setSelected(true);
    }
    Click(dlg.get(), "ok");
    EXPECT_TRUE(dlg->isVisible());
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].text, "Partial laps may not be used in averaging");
    EXPECT_EQ(SelectedRows(laps), std::vector<int>{1});

    Click(dlg.get(), "ok");
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(dlg->Result().selectedLaps, std::vector<int32_t>{1});
}

TEST_F(ImportAvgLapsTest, ModeSwitchStoresTheChoiceAndClearsTheLapSelection) {
    MouseOnRow(laps, 2);
    fake.storedModes.clear();
    Click(dlg.get(), "modeButton");
    EXPECT_EQ(fake.storedModes, std::vector<bool>{false});
    EXPECT_EQ(Find<QPushButton>(dlg.get(), "modeButton")->text(), QStringLiteral("Lap Speeds"));
    EXPECT_EQ(Texts(laps), ToQ(fake.Expected(0, false)));
    EXPECT_TRUE(SelectedRows(laps).empty());
    EXPECT_TRUE(warnings.empty());
}

TEST_F(ImportAvgLapsTest, HelpOpensTopicSeven) {
    std::vector<int> topics;
    dlg->SetHelpHandler([&](int t) { topics.push_back(t); });
    Click(dlg.get(), "help");
    EXPECT_EQ(topics, std::vector<int>{7});
}
