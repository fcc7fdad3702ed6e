// The data window and the lap list in the program: the Data (F12) and Info (F11) commands
// and their enabling, values that follow the pointer over the graph, renaming, recolouring
// and deleting from the list with every window following, and placements kept between runs.
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>
#include <QWheelEvent>

#include "AppFixture.h"
#include "app/MapWindows.h"
#include "app/SideWindows.h"
#include "app/TEditInfoDlg.h"
#include "commands/CommandIds.h"
#include "views/graph/TGraphView.h"
#include "views/windows/TDataWindow.h"
#include "views/windows/TReplayInfo.h"

using namespace app_test;

namespace {

class SideWindowsTest : public AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        NotFirstRun();
        ASSERT_TRUE(Start());
    }
    TDataWindow& data() { return *window().sideWindows().dataWindow(); }
    TReplayInfo& info() { return *window().sideWindows().infoWindow(); }
    bool Enabled(int id) { return window().CommandEnabling(id).enabled; }
    bool Checked(int id) { return window().CommandEnabling(id).checked; }
    void Key(int id) { frame().action(id)->trigger(); }
    QString Header(int section) {
        return data().header()->model()->headerData(section, Qt::Horizontal).toString();
    }
    void MoveOverGraph(int x, int y) {
        TGraphView* graph = window().graph();
        const QPointF local(x, y);
        QMouseEvent move(QEvent::MouseMove, local, graph->mapToGlobal(local), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(graph, &move);
    }
    void ClickRow(int row, Qt::MouseButton button, QEvent::Type type) {
        const QPointF local(30, 16 * row + 8);
        QMouseEvent e(type, local, info().viewport()->mapToGlobal(local), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button),
                      Qt::NoModifier);
        QApplication::sendEvent(info().viewport(), &e);
    }
};

TEST_F(SideWindowsTest, CommandsFollowTheDocument) {
    EXPECT_FALSE(Enabled(cmd::Data));
    EXPECT_FALSE(Enabled(cmd::Info));
    EXPECT_TRUE(data().isHidden());
    EXPECT_TRUE(info().isHidden());

    window().OpenStartupDocument(Sample());
    ASSERT_EQ(window().doc().laps().Count(), 3);
    EXPECT_TRUE(Enabled(cmd::Data));
    EXPECT_TRUE(Enabled(cmd::Info));
    EXPECT_FALSE(Checked(cmd::Data));
    Key(cmd::Data);
    Key(cmd::Info);
    EXPECT_TRUE(Checked(cmd::Data));
    EXPECT_TRUE(Checked(cmd::Info));
    EXPECT_FALSE(data().isHidden());
    EXPECT_FALSE(info().isHidden());
    ASSERT_EQ(data().columns().Count(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Header(i + 1).toStdString(), window().doc().laps().At(i).driverName);
    EXPECT_GT(info().listWidth(), 0);

    // F12 again hides the data window.
    Key(cmd::Data);
    EXPECT_TRUE(data().isHidden());
    EXPECT_FALSE(Checked(cmd::Data));
    // Regression: closing by the window manager's button left the command checked.
    // A close button of the window manager does the same, and F12 opens it again.
    Key(cmd::Data);
    data().close();
    EXPECT_FALSE(Checked(cmd::Data));
    Key(cmd::Data);
    EXPECT_FALSE(data().isHidden());

    // New: the columns go, the list closes with its last lap and its command is disabled.
    Key(cmd::FileNew);
    EXPECT_EQ(data().columns().Count(), 0);
    EXPECT_EQ(data().header()->count(), 1);
    EXPECT_FALSE(Enabled(cmd::Info));
    EXPECT_FALSE(Checked(cmd::Info));
    EXPECT_TRUE(info().isHidden());
    EXPECT_FALSE(window().view().side.infoShown);
    // Regression: the empty data window stayed open with its command disabled.
    EXPECT_FALSE(data().isHidden());
    EXPECT_TRUE(Enabled(cmd::Data));
    Key(cmd::Data);
    EXPECT_TRUE(data().isHidden());
    EXPECT_FALSE(Enabled(cmd::Data));

    // Regression: opening a document closed the lap list during the clear before the load.
    window().OpenStartupDocument(Sample());
    Key(cmd::Info);
    ASSERT_FALSE(info().isHidden());
    window().RecentFileChosen(Sample("other.kvl"));
    ASSERT_EQ(window().doc().laps().Count(), 3);
    EXPECT_FALSE(info().isHidden());
    EXPECT_TRUE(Checked(cmd::Info));
}

TEST_F(SideWindowsTest, ValuesFollowThePointerOverTheGraph) {
    window().OpenStartupDocument(Sample());
    frame().resize(900, 600);
    frame().show();
    QApplication::processEvents();
    Key(cmd::Data);
    TGraphView* graph = window().graph();
    graph->repaint();  // the pointer is ignored until the graph has been drawn
    ASSERT_FALSE(window().view().graph.repaintPending);
    ASSERT_EQ(window().doc().axes().x, TelemetryChannel::Position);
    MoveOverGraph(graph->width() / 2, graph->height() / 2);
    for (int i = 0; i < 3; ++i) {
        const TLapValues& v = data().columns().At(i).values;
        EXPECT_NE(v[ChannelNumber(TelemetryChannel::Time)], kNoLapValue)
            << "every sample lap covers mid-track, lap " << i;
        EXPECT_GT(v[ChannelNumber(TelemetryChannel::Speed)].value(), 0);
    }
    // The same pointed-at position for every lap, as the status line reads it.
    const double feet =
        data().columns().At(0).values[ChannelNumber(TelemetryChannel::Position)].value();
    EXPECT_DOUBLE_EQ(
        data().columns().At(2).values[ChannelNumber(TelemetryChannel::Position)].value(), feet);
    EXPECT_NE(window().statusText().indexOf(QString::asprintf("%7.2f", feet)), -1);

    // Regression: a wheel zoom emptied the data window until the pointer moved, though the
    // zoom keeps the position under the pointer.
    const QPointF middle(graph->width() / 2, graph->height() / 2);
    QWheelEvent wheel(middle, graph->mapToGlobal(middle), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(graph, &wheel);
    ASSERT_NE(window().view().graph.viewRange.x, window().view().graph.fullRange.x);
    EXPECT_NEAR(data().columns().At(0).values[ChannelNumber(TelemetryChannel::Position)].value(),
                feet, 0.01);
    EXPECT_NE(data().columns().At(1).values[ChannelNumber(TelemetryChannel::Speed)], kNoLapValue);
    graph->repaint();

    // Off the plot, every cell empties.
    MoveOverGraph(5, 5);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(data().columns().At(i).values[ChannelNumber(TelemetryChannel::Time)], kNoLapValue)
            << i;

    // The map and the picture-in-picture window feed it the same way.
    const double units = 2000 * 12 / window().doc().Track()->inchesPerUnit;
    emit window().maps().showLapValues(units, TelemetryChannel::Position);
    EXPECT_NEAR(data().columns().At(1).values[ChannelNumber(TelemetryChannel::Position)].value(),
                2000, 1e-9);

    // Regression: the x-axis title stayed highlighted, with its hint, across File > New.
    graph->repaint();
    MoveOverGraph(graph->width() / 2, graph->height() - 12);
    ASSERT_EQ(graph->HighlightedAxis(), TAxisKind::X);
    ASSERT_FALSE(window().statusText().isEmpty());
    Key(cmd::FileNew);
    EXPECT_EQ(graph->HighlightedAxis(), TAxisKind::None);
    EXPECT_TRUE(window().statusText().isEmpty());
}

TEST_F(SideWindowsTest, RenameRecolourAndDeleteFromTheList) {
    window().OpenStartupDocument(Sample());
    Key(cmd::Data);
    Key(cmd::Info);
    const std::string third = window().doc().laps().At(2).driverName;

    // Double-click row 1: the edit dialog renames and recolours it; both windows follow.
    bool edited = false;
    QTimer::singleShot(0, [&edited] {
        auto* dlg = qobject_cast<TEditInfo*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        edited = true;
        auto* name = dlg->findChild<QLineEdit*>(QStringLiteral("nameEdit"));
        name->setText(QStringLiteral("Renamed"));
        name->setModified(true);  // as typing leaves it
        dlg->SetChooseColour([](const QColor&, QWidget*) { return QColor(1, 2, 3); });
        dlg->ChangeColour();
        dlg->accept();
    });
    ClickRow(1, Qt::LeftButton, QEvent::MouseButtonPress);
    ClickRow(1, Qt::LeftButton, QEvent::MouseButtonRelease);
    ClickRow(1, Qt::LeftButton, QEvent::MouseButtonDblClick);
    ASSERT_TRUE(edited);
    EXPECT_STREQ(window().doc().laps().At(1).driverName, "Renamed");
    EXPECT_TRUE(window().doc().dirty());
    EXPECT_EQ(data().columns().At(1).colour, (Rgb{1, 2, 3}));
    EXPECT_EQ(Header(2), QStringLiteral("Renamed"));

    // Regression: while the question was open the row lost its mark, so the user could not
    // see which lap it was about.
    ClickRow(1, Qt::LeftButton, QEvent::MouseButtonRelease);
    QKeyEvent del(QEvent::KeyRelease, Qt::Key_Delete, Qt::NoModifier);
    bool markedWhileAsked = false;
    window().prompts().SetMessageAnswerer(
        [&](const std::string& title, const std::string&, TMsgIcon, TMsgButtons) {
            messages.push_back({title, {}, TMsgIcon::Question, TMsgButtons::YesNo});
            // The question has the focus, as a message box would take it.
            info().clearFocus();
            markedWhileAsked = info().hasFocusHighlight();
            return answers.empty() ? TMsgAnswer::No : answers.front();
        });
    QApplication::sendEvent(&info(), &del);
    EXPECT_TRUE(markedWhileAsked);
    EXPECT_EQ(window().doc().laps().Count(), 3) << "No keeps the lap";
    EXPECT_EQ(info().selectedLap(), 1);

    // Delete the middle lap with the key, after the question: the third column moves left.
    answers = {TMsgAnswer::Yes};
    window().prompts().SetMessageAnswerer(
        [&](const std::string& title, const std::string&, TMsgIcon, TMsgButtons) {
            messages.push_back({title, {}, TMsgIcon::Question, TMsgButtons::YesNo});
            const TMsgAnswer a = answers.front();
            answers.pop_front();
            return a;
        });
    QApplication::sendEvent(&info(), &del);
    ASSERT_TRUE(Shown("Confirm Delete"));
    ASSERT_EQ(window().doc().laps().Count(), 2);
    EXPECT_EQ(data().columns().Count(), 2);
    EXPECT_EQ(Header(2).toStdString(), third);
    EXPECT_EQ(info().selectedLap(), -1);

    // Deleting the last laps through the list's menu closes it.
    answers = {TMsgAnswer::Yes, TMsgAnswer::Yes};
    for (int n = 0; n < 2; ++n) {
        ClickRow(0, Qt::LeftButton, QEvent::MouseButtonRelease);
        QApplication::sendEvent(&info(), &del);
    }
    EXPECT_TRUE(window().doc().laps().Empty());
    EXPECT_TRUE(info().isHidden());
    EXPECT_FALSE(Enabled(cmd::Info));
}

TEST_F(SideWindowsTest, PlacementsSurviveARestart) {
    // Never shown: what was read is written back.
    ProfileFile(paths.settingsFile).WriteInt("window", "datx", 321);
    ASSERT_TRUE(Restart());
    ASSERT_TRUE(window().CanClose());
    EXPECT_EQ(Settings().ReadInt("window", "datx", 0), 321);
    EXPECT_EQ(Settings().ReadInt("window", "infw", 0), 160);

    window().OpenStartupDocument(Sample());
    Key(cmd::Data);
    Key(cmd::Info);
    data().move(200, 150);
    data().resize(420, 250);
    info().move(40, 300);
    info().resize(300, 120);
    QApplication::processEvents();
    const TWindowRect d = window().sideWindows().DataPlacement();
    const TWindowRect i = window().sideWindows().InfoPlacement();
    ASSERT_TRUE(window().CanClose());
    EXPECT_EQ(Settings().ReadInt("window", "datx", 0), d.x);
    EXPECT_EQ(Settings().ReadInt("window", "dath", 0), d.h);
    EXPECT_EQ(Settings().ReadInt("window", "infy", 0), i.y);
    EXPECT_EQ(Settings().ReadInt("window", "infw", 0), i.w);

    ASSERT_TRUE(Restart());
    EXPECT_EQ(data().geometry(), QRect(d.x, d.y, d.w, d.h)) << "no frame offscreen";
    EXPECT_EQ(info().geometry(), QRect(i.x, i.y, i.w, i.h));
}

}  // namespace
