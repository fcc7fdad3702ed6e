// The help file format, the shipped help file's topics, and the help commands: contents,
// help on help, F1, and context help choosing a command's topic instead of running it.
#include <QAction>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QTextBrowser>
#include <QToolButton>
#include <QWhatsThis>

#include "AppFixture.h"
#include "app/CommandTable.h"
#include "app/HelpFile.h"
#include "app/HelpWindow.h"
#include "commands/CommandIds.h"

using namespace app_test;

TEST(HelpFileFormat, TopicsCommentsParagraphsAndLineEnds) {
    HelpFile help;
    help.Parse(
        "preamble is ignored\n"
        "## a comment\r\n"
        "@topic 0 Contents\r\n"
        "First paragraph.\r\n"
        "\r\n"
        "## not part of the text\n"
        "Second paragraph.\n"
        "\n\n"
        "@topic 24331   New\n"
        "Starts an empty document.\n"
        "@topic x Broken\n"
        "lost text\n"
        "@topic 12x Glued\n"
        "lost as well\n"
        "@topic 7\n"
        "Untitled.\n");
    ASSERT_EQ(help.topics().size(), 3u);
    const HelpTopic* contents = help.Find(0);
    ASSERT_NE(contents, nullptr);
    EXPECT_EQ(contents->title, "Contents");
    EXPECT_EQ(contents->text, "First paragraph.\n\nSecond paragraph.");
    ASSERT_NE(help.Find(24331), nullptr);
    EXPECT_EQ(help.Find(24331)->title, "New");
    EXPECT_EQ(help.Find(24331)->text, "Starts an empty document.");
    ASSERT_NE(help.Find(7), nullptr);
    EXPECT_EQ(help.Find(7)->title, "");
    EXPECT_EQ(help.Find(99), nullptr);
    // Regression: a topic number glued to other text ("12x") was taken as topic 12.
    EXPECT_EQ(help.Find(12), nullptr);
    EXPECT_EQ(help.order(), (std::vector<int>{0, 24331, 7}));
}

TEST(HelpFileFormat, ARepeatedTopicNumberKeepsTheLaterTopicAndAMissingFileFails) {
    HelpFile help;
    help.Parse("@topic 5 Old\nold\n@topic 2 Two\n@topic 5 New\nnew\n");
    ASSERT_NE(help.Find(5), nullptr);
    EXPECT_EQ(help.order(), (std::vector<int>{5, 2}));
    EXPECT_EQ(help.Find(5)->text, "new");
    EXPECT_FALSE(help.Load("/nonexistent/Korvale.hlp"));
}

TEST(ShippedHelpFile, HasRealTextForEveryTopicTheProgramOpens) {
    HelpFile help;
    ASSERT_TRUE(help.Load(std::string(KORVALE_SOURCE_DIR) + "/data/help/Korvale.hlp"));
    std::vector<int> needed = {HelpFile::kContents,    HelpFile::kHelpOnHelp, topic::FirstRun,
                               topic::ImportLapDialog, topic::EditInfoDialog, topic::ExportDialogs,
                               topic::AverageLapDialog};
    for (const TMenuEntry& e : AllMenuCommands()) needed.push_back(e.id);
    for (int n : needed) {
        const HelpTopic* t = help.Find(n);
        ASSERT_NE(t, nullptr) << "topic " << n;
        EXPECT_FALSE(t->title.empty()) << n;
        EXPECT_GT(t->text.size(), 40u) << "topic " << n << " is too short to help";
    }
    // The build puts the same file beside the program.
    HelpFile copied;
    ASSERT_TRUE(copied.Load(std::string(KORVALE_BIN_DIR) + "/Korvale.hlp"));
    EXPECT_EQ(copied.topics().size(), help.topics().size());
}

namespace {
class HelpTest : public AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        NotFirstRun();
        ASSERT_TRUE(Start());
    }
    int ShownTopic() { return app->helpWindow() ? app->helpWindow()->currentTopic() : -1; }
};
}  // namespace

TEST_F(HelpTest, ContentsAndUsingHelpOpenTheirTopicsInTheHelpWindow) {
    EXPECT_FALSE(app->helpOpened());
    frame().action(cmd::HelpUsing)->trigger();
    EXPECT_EQ(ShownTopic(), HelpFile::kHelpOnHelp);
    EXPECT_TRUE(app->helpOpened());
    EXPECT_TRUE(app->helpWindow()->isVisible());
    frame().action(cmd::HelpContents)->trigger();
    EXPECT_EQ(ShownTopic(), HelpFile::kContents);
    auto* text = app->helpWindow()->findChild<QTextBrowser*>(QStringLiteral("helpText"));
    EXPECT_TRUE(text->toPlainText().contains(QStringLiteral("Import Replay")));
    auto* list = app->helpWindow()->findChild<QListWidget*>(QStringLiteral("helpTopics"));
    EXPECT_EQ(list->count(), static_cast<int>(app->helpFile().topics().size()));
    // Regression: the help window listed the topics by number, not in the file's order.
    // Listed as the file orders them: the contents first, then the welcome and help on help.
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("Contents"));
    EXPECT_EQ(list->item(0)->data(Qt::UserRole).toInt(), HelpFile::kContents);
    EXPECT_EQ(list->item(1)->data(Qt::UserRole).toInt(), HelpFile::kHelpOnHelp);
    // Closing the program closes the help window it opened.
    EXPECT_TRUE(frame().close());
    EXPECT_FALSE(app->helpWindow()->isVisible());
}

TEST_F(HelpTest, F1OpensTheContents) {
    QAction* f1 = frame().findChild<QAction*>(QStringLiteral("helpKey"));
    ASSERT_NE(f1, nullptr);
    EXPECT_EQ(f1->shortcut(), QKeySequence(Qt::Key_F1));
    f1->trigger();
    EXPECT_EQ(ShownTopic(), HelpFile::kContents);
}

TEST_F(HelpTest, ContextHelpOpensTheNextCommandsTopicInsteadOfRunningIt) {
    QAction* shiftF1 = frame().findChild<QAction*>(QStringLiteral("contextHelpKey"));
    ASSERT_NE(shiftF1, nullptr);
    EXPECT_EQ(shiftF1->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F1));
    shiftF1->trigger();
    EXPECT_TRUE(app->inContextHelp());
    EXPECT_TRUE(QWhatsThis::inWhatsThisMode());

    frame().action(cmd::YLine)->trigger();
    EXPECT_EQ(ShownTopic(), cmd::YLine);
    EXPECT_EQ(window().doc().axes().y, TelemetryChannel::Speed)
        << "the command itself must not run";
    EXPECT_FALSE(app->inContextHelp());
    QApplication::processEvents();
    EXPECT_FALSE(QWhatsThis::inWhatsThisMode());

    // Out of the mode, commands run again.
    frame().action(cmd::YLine)->trigger();
    EXPECT_EQ(window().doc().axes().y, TelemetryChannel::Line);
}

TEST_F(HelpTest, EscapeLeavesContextHelpWithoutATopic) {
    app->EnterContextHelp();
    ASSERT_TRUE(QWhatsThis::inWhatsThisMode());
    QWhatsThis::leaveWhatsThisMode();  // what Escape does in the mode
    EXPECT_FALSE(app->inContextHelp());
    frame().action(cmd::YLine)->trigger();
    EXPECT_EQ(window().doc().axes().y, TelemetryChannel::Line);
    EXPECT_EQ(app->helpWindow(), nullptr);
}

TEST_F(HelpTest, F1OnAnOpenMenuOpensTheHighlightedItemsTopic) {
    QMenu* view = frame().findChild<QMenu*>(QStringLiteral("ViewMenu"));
    ASSERT_NE(view, nullptr);
    view->popup(QPoint(0, 0));
    QApplication::processEvents();
    view->setActiveAction(frame().action(cmd::Graph));
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(view, &f1);
    EXPECT_EQ(ShownTopic(), cmd::Graph);
    EXPECT_FALSE(view->isVisible());
}

TEST_F(HelpTest, TopicsByNumberAndUnknownNumbers) {
    EXPECT_TRUE(app->HelpTopic(topic::ImportLapDialog));
    EXPECT_EQ(ShownTopic(), topic::ImportLapDialog);
    messages.clear();
    EXPECT_FALSE(app->HelpTopic(12345));  // no such topic: said so, the shown topic stays
    EXPECT_EQ(ShownTopic(), topic::ImportLapDialog);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "Korvale Help");
    EXPECT_EQ(messages[0].text, "The help file has no topic 12345");
}

TEST_F(HelpTest, InContextHelpAClickOnAMenuItemOpensItsTopic) {
    QMenu* file = frame().findChild<QMenu*>(QStringLiteral("FileMenu"));
    ASSERT_NE(file, nullptr);
    file->popup(QPoint(0, 0));
    QApplication::processEvents();
    app->EnterContextHelp();
    QAction* save = frame().action(cmd::FileSaveAs);
    const QPoint at = file->actionGeometry(save).center();
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), file->mapToGlobal(QPointF(at)),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(file, &release);
    EXPECT_EQ(ShownTopic(), cmd::FileSaveAs);
    EXPECT_FALSE(app->inContextHelp());
    EXPECT_FALSE(file->isVisible());
}

TEST_F(HelpTest, InContextHelpAToolButtonOpensItsTopic) {
    frame().show();
    QApplication::processEvents();
    auto* button =
        frame().findChild<QToolButton*>(QStringLiteral("toolButton%1").arg(cmd::ImportReplay));
    ASSERT_NE(button, nullptr);
    app->EnterContextHelp();
    // What the what's-this mode sends to the widget clicked on.
    QHelpEvent whatsThis(QEvent::WhatsThis, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(button, &whatsThis);
    EXPECT_EQ(ShownTopic(), cmd::ImportReplay);
    EXPECT_FALSE(app->inContextHelp());
}

// Regression: help without a help file did nothing, and one installed later was never found.
TEST_F(AppFixture, AMissingHelpFileIsReportedAndFoundOnceItIsThere) {
    NotFirstRun();
    const auto saved = dir / "saved.hlp";
    std::filesystem::rename(paths.helpFile, saved);
    ASSERT_TRUE(Start());
    EXPECT_FALSE(app->HelpContents());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Unable to open the help file " + paths.helpFile);
    EXPECT_EQ(messages[0].icon, TMsgIcon::Exclamation);
    EXPECT_FALSE(app->helpOpened());
    std::filesystem::rename(saved, paths.helpFile);
    EXPECT_TRUE(app->HelpContents());
    EXPECT_TRUE(app->helpOpened());
}
