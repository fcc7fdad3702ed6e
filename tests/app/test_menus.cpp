// The frame's menus, accelerators, tool bar and status bar against the command table, and
// the enabling of the commands as the document changes.
#include <QAbstractButton>
#include <QAction>
#include <QEnterEvent>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <set>

#include "AppFixture.h"
#include "app/CommandTable.h"
#include "app/HelpWindow.h"
#include "app/ToolBarGadgets.h"
#include "commands/CommandIds.h"
#include "views/graph/TGraphView.h"

using namespace app_test;

namespace {

// What a menu shows, one line per entry: "-" for a separator, "> title" and "<" around a
// sub-menu, otherwise the item's text with its key after a tab.
std::vector<std::string> Describe(const QMenu* menu) {
    std::vector<std::string> out;
    for (QAction* a : menu->actions()) {
        if (a->isSeparator()) {
            out.push_back("-");
        } else if (a->menu() != nullptr) {
            out.push_back("> " + a->text().toStdString());
            for (const std::string& line : Describe(a->menu())) out.push_back(line);
            out.push_back("<");
        } else {
            std::string text = a->text().toStdString();
            if (!a->shortcut().isEmpty()) text += "\t" + a->shortcut().toString().toStdString();
            out.push_back(text);
        }
    }
    return out;
}

std::vector<std::string> Expected(const TMenuLayout& layout) {
    std::vector<std::string> out;
    for (const TMenuEntry& e : layout.entries) {
        switch (e.kind) {
            case TMenuEntry::Separator:
                out.push_back("-");
                break;
            case TMenuEntry::SubMenuBegin:
                out.push_back(std::string("> ") + e.text);
                break;
            case TMenuEntry::SubMenuEnd:
                out.push_back("<");
                break;
            case TMenuEntry::RecentFiles:
                break;
            case TMenuEntry::Command: {
                std::string text = e.text;
                for (const TAccelerator& extra : SecondaryShortcuts())
                    if (extra.id == e.id)
                        text +=
                            "\t" +
                            QKeySequence(QString::fromLatin1(extra.key)).toString().toStdString();
                out.push_back(text);
                break;
            }
        }
    }
    return out;
}

class MenuTest : public AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        NotFirstRun();
        ASSERT_TRUE(Start());
    }
    bool Enabled(int id) { return frame().action(id)->isEnabled(); }
    bool Checked(int id) { return frame().action(id)->isChecked(); }
};

}  // namespace

TEST_F(MenuTest, MenuBarHasTheFourMenusWithEveryItemSeparatorAndKeyOfTheTable) {
    const QList<QAction*> top = frame().menuBar()->actions();
    const auto& layout = MainMenuLayout();
    ASSERT_EQ(top.size(), static_cast<int>(layout.size()));
    for (size_t i = 0; i < layout.size(); ++i) {
        EXPECT_EQ(top[static_cast<int>(i)]->text().toStdString(), layout[i].title);
        EXPECT_EQ(Describe(top[static_cast<int>(i)]->menu()), Expected(layout[i]))
            << layout[i].title;
    }
    // A few lines as the user reads them, so that a wrong table cannot pass for right.
    const auto file = Describe(top[0]->menu());
    ASSERT_EQ(file.size(), 12u);
    EXPECT_EQ(file[0], "&New\tCtrl+N");
    EXPECT_EQ(file[3], "Save &As...");
    EXPECT_EQ(file[4], "-");
    EXPECT_EQ(file[9], "Export I&mage...");
    EXPECT_EQ(file[10], "-");
    EXPECT_EQ(file[11], "E&xit\tAlt+F4");
    const auto view = Describe(top[2]->menu());
    EXPECT_EQ(view[3], "> &X-Axis");
    EXPECT_EQ(view[4], "&Time");
    EXPECT_EQ(view[5], "&Position");
    EXPECT_EQ(view[6], "<");
    EXPECT_EQ(view[7], "> &Y-Axis");
    // Our own keys for Full Size and Zoom Out appear beside the unchanged texts.
    EXPECT_EQ(view[27], "&Full Size\tCtrl+0");
    EXPECT_EQ(view[28], "Zoom &Out\tCtrl+-");
    const auto help = Describe(top[3]->menu());
    EXPECT_EQ(help, (std::vector<std::string>{"&Contents", "&Using help", "-", "&About..."}));
}

TEST_F(MenuTest, EveryCommandHasOneActionWithItsHintAndTheAcceleratorsAreBound) {
    std::map<int, int> seen;
    for (const TMenuEntry& e : AllMenuCommands()) {
        QAction* a = frame().action(e.id);
        ASSERT_NE(a, nullptr) << e.id;
        EXPECT_EQ(a->statusTip().toStdString(), e.hint) << e.id;
        EXPECT_EQ(a->data().toInt(), e.id);
        ++seen[e.id];
    }
    for (const auto& [id, count] : seen) EXPECT_EQ(count, 1) << id;
    EXPECT_EQ(frame().action(cmd::ZoomOut)->statusTip(), QString());
    EXPECT_EQ(frame().action(cmd::FileNew)->statusTip(), QStringLiteral("Creates a new window"));
    EXPECT_EQ(frame().action(cmd::About)->statusTip(),
              QStringLiteral("About the Korvale application"));

    for (const TAccelerator& acc : AcceleratorTable())
        EXPECT_EQ(frame().action(acc.id)->shortcut(), QKeySequence(QString::fromLatin1(acc.key)))
            << acc.key;
    EXPECT_EQ(frame().action(cmd::ImportReplay)->shortcut(),
              QKeySequence(QStringLiteral("Ctrl+I")));
    EXPECT_EQ(frame().action(cmd::Data)->shortcut(), QKeySequence(Qt::Key_F12));
    EXPECT_EQ(frame().action(cmd::FullSize)->shortcuts(),
              QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+0"))});
    EXPECT_EQ(frame().action(cmd::ZoomOut)->shortcuts(),
              QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+-"))});
    // Items without an accelerator have no key.
    EXPECT_TRUE(frame().action(cmd::FileSaveAs)->shortcut().isEmpty());
    EXPECT_TRUE(frame().action(cmd::ImportAverageLap)->shortcut().isEmpty());
}

TEST_F(MenuTest, ToolBarIsAMovableFloatableToolbarOfFlatButtonsInTableOrder) {
    QToolBar* bar = frame().toolBar();
    EXPECT_EQ(bar->windowTitle(), QStringLiteral("Toolbar"));
    EXPECT_TRUE(bar->isMovable());
    EXPECT_TRUE(bar->isFloatable());
    EXPECT_EQ(frame().toolBarArea(bar), Qt::TopToolBarArea);

    std::vector<int> ids, widths;
    for (QAction* a : bar->actions()) {
        QWidget* w = bar->widgetForAction(a);
        if (auto* button = qobject_cast<QToolButton*>(w)) {
            EXPECT_TRUE(button->autoRaise());
            EXPECT_FALSE(button->icon().isNull());
            ids.push_back(button->defaultAction()->data().toInt());
        } else if (auto* sep = dynamic_cast<TNewSeparatorGadget*>(w)) {
            ids.push_back(0);
            widths.push_back(sep->width());
        }
    }
    std::vector<int> expectedIds, expectedWidths;
    for (const TToolBarEntry& e : ToolBarLayout()) {
        expectedIds.push_back(e.id);
        if (e.id == 0) expectedWidths.push_back(e.separatorWidth);
    }
    EXPECT_EQ(ids, expectedIds);
    EXPECT_EQ(widths, expectedWidths);
    EXPECT_EQ(expectedWidths, (std::vector<int>{20, 12, 12, 12, 12}));
    EXPECT_EQ(expectedIds.front(), cmd::FileNew);
    EXPECT_EQ(expectedIds.back(), cmd::HelpContents);
}

TEST_F(MenuTest, StatusBarHasTheTextFieldAndTheLockIndicators) {
    QStatusBar* bar = frame().statusBar();
    ASSERT_NE(frame().statusField(), nullptr);
    EXPECT_EQ(frame().statusField()->parentWidget(), bar);
    for (const char* name : {"capsIndicator", "numIndicator", "scrollIndicator"})
        EXPECT_NE(bar->findChild<QLabel*>(QLatin1String(name)), nullptr) << name;
    // The window's readouts arrive in the text field.
    window().SetStatus(QStringLiteral("Position = 100.00, Speed = 80.00"));
    EXPECT_EQ(frame().statusField()->text(), QStringLiteral("Position = 100.00, Speed = 80.00"));
}

// Guards against a command left shown but never enabled: the exports and the side windows
// were once placeholders, and now follow the document's laps.
TEST_F(MenuTest, ExportsAndSideWindowsAreEnabledByTheLaps) {
    const int followers[] = {cmd::ExportTextData, cmd::ExportToReplay, cmd::Data, cmd::Info};
    for (int id : {cmd::ExportTextData, cmd::ExportToReplay, cmd::Info})
        EXPECT_FALSE(Enabled(id)) << id;
    window().OpenStartupDocument(Sample());
    ASSERT_EQ(window().doc().laps().Count(), 3);
    for (int id : followers) EXPECT_TRUE(Enabled(id)) << id;
    EXPECT_EQ(window().view().viewMode, ViewGraph);
}

TEST_F(MenuTest, EnablingOfAnEmptyDocument) {
    for (int id : {cmd::FileNew, cmd::FileOpen, cmd::ImportReplay, cmd::ImportAverageLap, cmd::Exit,
                   cmd::Graph, cmd::HelpContents, cmd::HelpUsing, cmd::About})
        EXPECT_TRUE(Enabled(id)) << id;
    for (int id : {cmd::FileSave, cmd::FileSaveAs, cmd::EditInfo, cmd::DeleteLap, cmd::FullSize,
                   cmd::ZoomOut, cmd::ExportImage})
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_TRUE(Checked(cmd::Graph));
    EXPECT_TRUE(Checked(cmd::XPosition));
    EXPECT_FALSE(Checked(cmd::XTime));
    EXPECT_TRUE(Checked(cmd::YSpeed));
    EXPECT_TRUE(Checked(cmd::Y2None));
}

TEST_F(MenuTest, AnAxisChangeEnablesSaveAndChoosingItBackDisablesItAgain) {
    frame().action(cmd::YLine)->trigger();
    EXPECT_EQ(window().doc().axes().y, TelemetryChannel::Line);
    EXPECT_TRUE(Checked(cmd::YLine));
    EXPECT_FALSE(Checked(cmd::YSpeed));
    EXPECT_TRUE(Enabled(cmd::FileSave));
    frame().action(cmd::YSpeed)->trigger();
    EXPECT_FALSE(Enabled(cmd::FileSave));
}

TEST_F(MenuTest, AnOpenedDocumentEnablesItsCommandsAndTheZoomCommandsFollowTheGraph) {
    window().OpenStartupDocument(Sample());
    ASSERT_EQ(window().doc().laps().Count(), 3);
    EXPECT_TRUE(Enabled(cmd::FileSaveAs));
    EXPECT_TRUE(Enabled(cmd::EditInfo));
    EXPECT_TRUE(Enabled(cmd::DeleteLap));
    EXPECT_TRUE(Enabled(cmd::ExportImage));
    EXPECT_FALSE(Enabled(cmd::FileSave));
    EXPECT_FALSE(Enabled(cmd::ZoomOut));
    EXPECT_FALSE(Enabled(cmd::FullSize));

    // Zoom into the middle of the x range, as a rubber band would.
    TViewState& view = window().view();
    const double span = view.graph.fullRange.x.max - view.graph.fullRange.x.min;
    view.graph.viewRange.x.min = view.graph.fullRange.x.min + span / 4;
    view.graph.viewRange.x.max = view.graph.fullRange.x.max - span / 4;
    emit window().stateChanged();
    EXPECT_TRUE(Enabled(cmd::ZoomOut));
    EXPECT_TRUE(Enabled(cmd::FullSize));
    frame().action(cmd::FullSize)->trigger();
    EXPECT_EQ(view.graph.viewRange, view.graph.fullRange);
    EXPECT_FALSE(Enabled(cmd::ZoomOut));
    EXPECT_FALSE(Enabled(cmd::FullSize));
}

TEST_F(MenuTest, NewOnAnUnchangedDocumentAsksNothingAndClearsIt) {
    window().OpenStartupDocument(Sample());
    messages.clear();
    frame().action(cmd::FileNew)->trigger();
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(window().doc().laps().Count(), 0);
    EXPECT_TRUE(window().doc().documentPath().empty());
    EXPECT_EQ(frame().windowTitle(), QStringLiteral("Korvale"));
    EXPECT_FALSE(Enabled(cmd::FileSaveAs));
    EXPECT_FALSE(Enabled(cmd::EditInfo));
}

TEST_F(MenuTest, CaptionNamesDocumentAndTrack) {
    window().OpenStartupDocument(Sample("lap.kvl"));
    EXPECT_EQ(frame().windowTitle(), QStringLiteral("Korvale - lap.kvl [Kestrel Ridge Circuit]"));
}

TEST_F(MenuTest, EveryMenuCommandHasAHandler) {
    const std::set<int> frameCommands = {cmd::Exit, cmd::HelpContents, cmd::HelpUsing, cmd::About};
    for (const TMenuEntry& e : AllMenuCommands())
        EXPECT_TRUE(window().HandlesCommand(e.id) != (frameCommands.count(e.id) == 1)) << e.id;
}

TEST_F(MenuTest, AHoveredItemShowsItsHintInTheStatusBar) {
    frame().show();
    frame().action(cmd::ImportReplay)->showStatusText(&frame());
    EXPECT_EQ(frame().statusBar()->currentMessage(), QStringLiteral("Import replay lap"));
    frame().action(cmd::Graph)->showStatusText(&frame());
    EXPECT_EQ(frame().statusBar()->currentMessage(), QStringLiteral("Show the telemetry graph"));
}

TEST_F(MenuTest, AToolButtonRaisesItsBorderOnlyWhileTheMouseIsOverIt) {
    frame().show();
    QApplication::processEvents();
    QToolButton* button =
        frame().findChild<QToolButton*>(QStringLiteral("toolButton%1").arg(cmd::FileNew));
    ASSERT_NE(button, nullptr);
    const QImage flat = button->grab().toImage();
    QEnterEvent enter(QPointF(4, 4), QPointF(4, 4), button->mapToGlobal(QPointF(4, 4)));
    QApplication::sendEvent(button, &enter);
    button->setAttribute(Qt::WA_UnderMouse, true);
    const QImage hot = button->grab().toImage();
    EXPECT_NE(hot, flat);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(button, &leave);
    button->setAttribute(Qt::WA_UnderMouse, false);
    EXPECT_EQ(button->grab().toImage(), flat);
}

TEST_F(MenuTest, ToolButtonsRunTheirCommands) {
    QToolButton* graph =
        frame().findChild<QToolButton*>(QStringLiteral("toolButton%1").arg(cmd::Graph));
    ASSERT_NE(graph, nullptr);
    EXPECT_TRUE(graph->isEnabled());
    QToolButton* map =
        frame().findChild<QToolButton*>(QStringLiteral("toolButton%1").arg(cmd::Map));
    ASSERT_NE(map, nullptr);
    EXPECT_FALSE(map->isEnabled());
    QToolButton* help =
        frame().findChild<QToolButton*>(QStringLiteral("toolButton%1").arg(cmd::HelpContents));
    help->click();
    ASSERT_NE(app->helpWindow(), nullptr);
    EXPECT_EQ(app->helpWindow()->currentTopic(), 0);
}

TEST_F(MenuTest, AboutShowsTheAboutBoxOverTheFrame) {
    QString title, version;
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        version = box->findChild<QLabel*>(QStringLiteral("version"))->text();
        EXPECT_EQ(box->parentWidget(), &frame());
        box->findChild<QAbstractButton*>(QStringLiteral("ok"))->click();
    });
    frame().action(cmd::About)->trigger();
    EXPECT_EQ(title, QStringLiteral("About Korvale"));
    EXPECT_TRUE(version.startsWith(QStringLiteral("Korvale Version ")));
}

TEST_F(MenuTest, ExitAsksAboutUnsavedChangesAndNoClosesTheProgram) {
    frame().show();
    window().OpenStartupDocument(Sample());
    window().doc().SetDirty(true);
    messages.clear();
    answers = {TMsgAnswer::No};
    frame().action(cmd::Exit)->trigger();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "Save File");
    EXPECT_FALSE(frame().isVisible());
    EXPECT_EQ(Settings().ReadText("window", "appmax", ""), "0");
}

TEST_F(MenuTest, LegendIsOffUntilChosenAndItsChoiceIsKeptOnlyOnceMade) {
    EXPECT_FALSE(Checked(cmd::Legend));
    EXPECT_TRUE(Enabled(cmd::Legend));
    EXPECT_FALSE(window().view().graph.legendShown);
    ASSERT_TRUE(frame().close());
    // A run that never touched it leaves the settings file without the key.
    EXPECT_EQ(Settings().ReadInt("view", "legend", -1), -1);
    ASSERT_TRUE(Restart());
    frame().Dispatch(cmd::Legend);
    EXPECT_TRUE(Checked(cmd::Legend));
    EXPECT_EQ(Settings().ReadInt("view", "legend", -1), 1);
    ASSERT_TRUE(Restart());
    EXPECT_TRUE(window().view().graph.legendShown);
    EXPECT_TRUE(Checked(cmd::Legend));
}
