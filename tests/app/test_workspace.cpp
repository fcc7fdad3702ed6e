// The workspace's View choices: each off until chosen and kept only once chosen; side
// windows that fit their content when no placement is stored; docking into the frame and
// back; the stacked channels' dialog.
#include <QDockWidget>
#include <QHeaderView>
#include <QListWidget>
#include <QPushButton>

#include "app/AppFixture.h"
#include "app/DockedWindows.h"
#include "app/RenderOptions.h"
#include "app/SideWindows.h"
#include "app/TStackedChannelsDlg.h"
#include "commands/CommandIds.h"
#include "views/graph/TGraphView.h"
#include "views/windows/TDataWindow.h"
#include "views/windows/TReplayInfo.h"

namespace app_test {
namespace {

class WorkspaceTest : public AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        NotFirstRun();
        ASSERT_TRUE(Start());
    }
    bool Checked(int id) { return frame().action(id)->isChecked(); }
};

struct TChoice {
    int id;
    const char* key;
    bool (*on)(const TViewState&);
};
const TChoice kChoices[] = {
    {cmd::Grid, "grid", [](const TViewState& v) { return v.graph.gridShown; }},
    {cmd::CursorLine, "cursorline", [](const TViewState& v) { return v.graph.cursorLineShown; }},
    {cmd::MapCornerNames, "mapcorners", [](const TViewState& v) { return v.map.cornerNamesShown; }},
    {cmd::StackedChannels, "stacked", [](const TViewState& v) { return v.graph.stacked; }},
    {cmd::DockSideWindows, "docked", [](const TViewState& v) { return v.side.docked; }},
};

TEST_F(WorkspaceTest, EachChoiceIsOffUntilChosenAndKeptOnlyOnceChosen) {
    window().OpenStartupDocument(Sample());
    for (const TChoice& c : kChoices) {
        EXPECT_FALSE(c.on(window().view())) << c.key;
        EXPECT_FALSE(Checked(c.id)) << c.key;
    }
    ASSERT_TRUE(frame().close());
    // A run that chose none of them leaves the settings without their keys.
    for (const TChoice& c : kChoices) EXPECT_EQ(Settings().ReadInt("view", c.key, -1), -1) << c.key;
    EXPECT_EQ(Settings().ReadText("view", "stackchannels", "-"), "-");
    EXPECT_EQ(Settings().ReadText("window", "dockstate", "-"), "-");
    for (const TChoice& c : kChoices) {
        ASSERT_TRUE(Restart(Sample()));
        frame().Dispatch(c.id);
        EXPECT_TRUE(c.on(window().view())) << c.key;
        EXPECT_TRUE(Checked(c.id)) << c.key;
        EXPECT_EQ(Settings().ReadInt("view", c.key, -1), 1) << c.key;
        ASSERT_TRUE(frame().close());
    }
    ASSERT_TRUE(Restart(Sample()));
    for (const TChoice& c : kChoices) {
        EXPECT_TRUE(c.on(window().view())) << c.key;
        EXPECT_TRUE(Checked(c.id)) << c.key;
    }
    // Docked at the start: the frame holds the docks, as the layout was stored.
    EXPECT_TRUE(window().docks().Docked());
    EXPECT_NE(Settings().ReadText("window", "dockstate", ""), "");
}

TEST_F(WorkspaceTest, SideWindowsFitTheirContentOnlyWithoutAStoredPlacement) {
    frame().show();
    window().OpenStartupDocument(Sample());
    TDataWindow& data = *window().sideWindows().dataWindow();
    frame().Dispatch(cmd::Data);
    frame().Dispatch(cmd::Info);
    QApplication::processEvents();
    // Every lap's column and every row fit; the old default was 160 x 160.
    const QHeaderView& header = *data.findChild<QHeaderView*>();
    EXPECT_GE(data.viewport()->width(), header.length());
    EXPECT_GT(data.width(), 160);
    TReplayInfo& info = *window().sideWindows().infoWindow();
    EXPECT_GE(info.viewport()->width(), info.ContentSize().width() - 40);
    ASSERT_TRUE(frame().close());
    const int fitted = Settings().ReadInt("window", "datw", 0);
    EXPECT_GT(fitted, 200);

    // A stored placement is honoured exactly, however small.
    {
        ProfileFile s = Settings();
        s.WriteInt("window", "datw", 170);
        s.WriteInt("window", "dath", 150);
    }
    ASSERT_TRUE(Restart(Sample()));
    frame().show();
    frame().Dispatch(cmd::Data);
    QApplication::processEvents();
    // (Without a window manager the frame is guessed from the main window's: a few pixels.)
    const TWindowRect r = window().SideWindowPlacement(static_cast<int>(TSideWindow::DataWindow));
    EXPECT_NEAR(r.w, 170, 8);
    EXPECT_NEAR(r.h, 150, 8);
    EXPECT_LT(r.w, fitted);

    // A run that never opens the windows stores their default placement, as always; the
    // next run still fits them, since that placement was never the user's.
    ASSERT_TRUE(frame().close());
    fs::remove(paths.settingsFile);
    NotFirstRun();
    ASSERT_TRUE(Restart(Sample()));
    ASSERT_TRUE(frame().close());
    EXPECT_EQ(Settings().ReadInt("window", "datw", -1), 160);
    EXPECT_EQ(Settings().ReadInt("window", "infw", -1), 160);
    ASSERT_TRUE(Restart(Sample()));
    frame().show();
    frame().Dispatch(cmd::Data);
    QApplication::processEvents();
    EXPECT_GT(window().sideWindows().dataWindow()->width(), 200);
}

TEST_F(WorkspaceTest, DockedWindowsFollowTheirCommandsAndFloatAgainWhereTheyWere) {
    frame().show();
    window().OpenStartupDocument(Sample());
    TDataWindow& data = *window().sideWindows().dataWindow();
    frame().Dispatch(cmd::DockSideWindows);
    QApplication::processEvents();
    auto* dock = qobject_cast<QDockWidget*>(data.parentWidget());
    ASSERT_NE(dock, nullptr);
    EXPECT_EQ(frame().dockWidgetArea(dock), Qt::BottomDockWidgetArea);
    EXPECT_FALSE(dock->isVisible());
    frame().Dispatch(cmd::Data);
    QApplication::processEvents();
    EXPECT_TRUE(dock->isVisible());
    EXPECT_TRUE(data.isVisible());
    frame().Dispatch(cmd::Data);
    EXPECT_FALSE(dock->isVisible());
    frame().Dispatch(cmd::Data);
    // Off: a floating tool window again, still shown.
    frame().Dispatch(cmd::DockSideWindows);
    QApplication::processEvents();
    EXPECT_TRUE(data.isWindow());
    EXPECT_TRUE(data.isVisible());
    EXPECT_TRUE(frame().findChildren<QDockWidget*>().isEmpty());
}

TEST(StackedChannelsDialog, ChosenChannelsComeFirstAndKeepTheOrderGiven) {
    TStackedChannelsDlg dialog({{TelemetryChannel::LateralForce, TelemetryChannel::Speed}});
    auto* list = dialog.findChild<QListWidget*>(QStringLiteral("stackedChannelList"));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), 7);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("Lateral Force"));
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("Speed"));
    EXPECT_EQ(list->item(2)->text(), QStringLiteral("Time"));
    EXPECT_EQ(dialog.Result().channels,
              (std::vector{TelemetryChannel::LateralForce, TelemetryChannel::Speed}));
    // Tick Time and move it to the top.
    list->item(2)->setCheckState(Qt::Checked);
    list->setCurrentRow(2);
    auto* up = dialog.findChild<QPushButton*>(QStringLiteral("upButton"));
    up->click();
    up->click();
    EXPECT_FALSE(up->isEnabled());
    EXPECT_EQ(dialog.Result().channels,
              (std::vector{TelemetryChannel::Time, TelemetryChannel::LateralForce,
                           TelemetryChannel::Speed}));
    // Nothing ticked: OK cannot be chosen.
    for (int i = 0; i < list->count(); ++i) list->item(i)->setCheckState(Qt::Unchecked);
    EXPECT_FALSE(dialog.findChild<QPushButton*>(QStringLiteral("ok"))->isEnabled());
}

TEST(RenderStacked, ChannelsByTheirMenuOrShortNamesOnceEachAndOnlyOnTheGraph) {
    auto parse = [](const QStringList& extra) {
        return ParseRenderOptions(QStringList{QStringLiteral("korvale"), QStringLiteral("--render"),
                                              QStringLiteral("out.png")} +
                                  extra + QStringList{QStringLiteral("doc.kvl")});
    };
    TRenderOptions o =
        parse({QStringLiteral("--stacked"), QStringLiteral("speed,Line,inline,lateral-force")});
    EXPECT_EQ(o.error, "");
    EXPECT_EQ(o.stacked,
              (std::vector{TelemetryChannel::Speed, TelemetryChannel::Line,
                           TelemetryChannel::InlineForce, TelemetryChannel::LateralForce}));
    EXPECT_EQ(parse({QStringLiteral("--stacked"), QStringLiteral("speed,wind")}).error,
              "--stacked: no such channel: \"wind\"");
    EXPECT_EQ(parse({QStringLiteral("--stacked"), QStringLiteral("speed,speed")}).error,
              "--stacked: \"speed\" is named twice");
    EXPECT_EQ(parse({QStringLiteral("--view"), QStringLiteral("map"), QStringLiteral("--stacked"),
                     QStringLiteral("speed")})
                  .error,
              "--stacked goes with --view graph");
}

}  // namespace
}  // namespace app_test
