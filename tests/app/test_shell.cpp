// How documents reach the program from outside the File menu's Open: the open command's
// repair, dropped files, the recent-files entries; and the command line.
#include <QAction>
#include <QDropEvent>
#include <QFileDialog>
#include <QMimeData>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTimer>
#include <QUrl>
#include <tuple>

#include "AppFixture.h"
#include "app/OpenCommandRepair.h"
#include "app/StartupOptions.h"
#include "commands/CommandIds.h"
#include "commands/RecentFiles.h"

using namespace app_test;

TEST(OpenCommandRepair, QuotesAnUnquotedPlaceholderAndDropsWhatFollowsIt) {
    EXPECT_EQ(RepairOpenCommand("C:\\Korvale\\korvale.exe %1"), "C:\\Korvale\\korvale.exe \"%1\"");
    EXPECT_EQ(RepairOpenCommand("korvale %1 --extra %2"), "korvale \"%1\"");
    EXPECT_EQ(RepairOpenCommand("korvale \"%1"), "korvale \"\"%1\"");
    // Only from the first %1 on is replaced.
    EXPECT_EQ(RepairOpenCommand("k %1 %1"), "k \"%1\"");
}

TEST(OpenCommandRepair, LeavesQuotedOrPlaceholderFreeCommandsAlone) {
    EXPECT_EQ(RepairOpenCommand("\"C:\\Program Files\\Korvale\\korvale.exe\" \"%1\""),
              std::nullopt);
    EXPECT_EQ(RepairOpenCommand("korvale \"%1\" %1"), std::nullopt);
    EXPECT_EQ(RepairOpenCommand("korvale.exe"), std::nullopt);
    EXPECT_EQ(RepairOpenCommand(""), std::nullopt);
    EXPECT_EQ(RepairOpenCommand("korvale %2"), std::nullopt);
}

TEST(StartupOptions, DocumentAndScreenshot) {
    const char* plain[] = {"korvale"};
    EXPECT_EQ(ParseStartupOptions(1, plain).document, "");
    const char* doc[] = {"korvale", "my laps.kvl", "second.kvl"};
    const TStartupOptions d = ParseStartupOptions(3, doc);
    EXPECT_EQ(d.document, "my laps.kvl");
    EXPECT_TRUE(d.screenshotFile.empty());
    EXPECT_TRUE(d.error.empty());
    const char* shot[] = {"korvale", "--screenshot", "out.png", "sample.kvl"};
    const TStartupOptions s = ParseStartupOptions(4, shot);
    EXPECT_EQ(s.screenshotFile, "out.png");
    EXPECT_EQ(s.document, "sample.kvl");
    const char* bad[] = {"korvale", "--screenshot"};
    EXPECT_FALSE(ParseStartupOptions(2, bad).error.empty());
    const char* unknown[] = {"korvale", "--verbose", "a.kvl"};
    EXPECT_FALSE(ParseStartupOptions(3, unknown).error.empty());
    // The toolkit's own options are left for it.
    const char* toolkit[] = {"korvale", "-platform", "offscreen", "a.kvl"};
    const TStartupOptions t = ParseStartupOptions(4, toolkit);
    EXPECT_TRUE(t.error.empty()) << t.error;
    EXPECT_EQ(t.document, "a.kvl");
}

// The real program, without a display: --help and --version print and end, a mistake
// prints the usage and ends with 2, and none of them needs a screen.
TEST(StartupOptions, HelpVersionAndUnknownOptionsNeedNoDisplay) {
    auto run = [](const QStringList& args) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(KORVALE_BIN_DIR "/korvale"), args);
        EXPECT_TRUE(p.waitForFinished(60000));
        return std::make_tuple(p.exitCode(), QString::fromLocal8Bit(p.readAllStandardOutput()),
                               QString::fromLocal8Bit(p.readAllStandardError()));
    };
    auto [code, out, err] = run({QStringLiteral("--help")});
    EXPECT_EQ(code, 0) << err.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("--screenshot <FILE>"))) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("--version"))) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("[DOCUMENT]"))) << out.toStdString();

    std::tie(code, out, err) = run({QStringLiteral("--version")});
    EXPECT_EQ(code, 0) << err.toStdString();
    EXPECT_EQ(out, QStringLiteral("Korvale " KORVALE_PROJECT_VERSION "\n"));

    std::tie(code, out, err) = run({QStringLiteral("--verbose")});
    EXPECT_EQ(code, 2);
    EXPECT_TRUE(out.isEmpty()) << out.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("verbose"))) << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("--screenshot <FILE>"))) << err.toStdString();
}

TEST(StartupOptions, SideWindowsAndCursorOfAScreenshot) {
    const char* both[] = {"korvale",   "--screenshot", "dir/out.png", "--show",
                          "info,data", "--cursor",     "1250.5",      "s.kvl"};
    const TStartupOptions s = ParseStartupOptions(8, both);
    EXPECT_TRUE(s.error.empty()) << s.error;
    EXPECT_TRUE(s.showData);
    EXPECT_TRUE(s.showInfo);
    EXPECT_EQ(s.cursorFeet, 1250.5);
    EXPECT_EQ(s.document, "s.kvl");
    EXPECT_EQ(SideScreenshotPath("dir/out.png", "-data"), "dir/out-data.png");
    EXPECT_EQ(SideScreenshotPath("shot", "-info"), "shot-info");

    const char* unknown[] = {"korvale", "--screenshot", "o.png", "--show", "data,graph"};
    EXPECT_NE(ParseStartupOptions(5, unknown).error.find("graph"), std::string::npos);
    const char* empty[] = {"korvale", "--screenshot", "o.png", "--show", ","};
    EXPECT_FALSE(ParseStartupOptions(5, empty).error.empty());
    for (const char* bad : {"12ft", "-3", "nan", "inf"}) {
        const char* cursor[] = {"korvale", "--screenshot", "o.png", "--cursor", bad};
        EXPECT_FALSE(ParseStartupOptions(5, cursor).error.empty()) << bad;
    }
    const char* noShot[] = {"korvale", "--show", "data"};
    EXPECT_FALSE(ParseStartupOptions(3, noShot).error.empty());
}

TEST(StartupOptions, ScreenshotViewAndSideWindows) {
    const char* map[] = {"korvale", "--screenshot", "a/out.png", "--view", "map", "--show", "pip"};
    const TStartupOptions m = ParseStartupOptions(7, map);
    EXPECT_TRUE(m.error.empty()) << m.error;
    EXPECT_TRUE(m.viewMap);
    EXPECT_TRUE(m.showPip);
    EXPECT_EQ(SideScreenshotPath("a/out.png", "-pip"), "a/out-pip.png");
    EXPECT_EQ(SideScreenshotPath("shot", "-pip"), "shot-pip");
    const char* plain[] = {"korvale", "--screenshot", "out.png", "--view", "graph"};
    EXPECT_FALSE(ParseStartupOptions(5, plain).viewMap);
    // A view the program does not have, a window it does not know, a missing value, and
    // either option without a screenshot are refused.
    const char* badView[] = {"korvale", "--screenshot", "o.png", "--view", "table"};
    EXPECT_FALSE(ParseStartupOptions(5, badView).error.empty());
    const char* badShow[] = {"korvale", "--screenshot", "o.png", "--show", "pip,clock"};
    EXPECT_FALSE(ParseStartupOptions(5, badShow).error.empty());
    const char* noValue[] = {"korvale", "--screenshot", "o.png", "--view"};
    EXPECT_FALSE(ParseStartupOptions(4, noValue).error.empty());
    const char* noShot[] = {"korvale", "--view", "map"};
    EXPECT_FALSE(ParseStartupOptions(3, noShot).error.empty());
}

namespace {
class ShellTest : public AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        NotFirstRun();
        ASSERT_TRUE(Start());
    }
    void Drop(const std::vector<std::string>& files) {
        QMimeData data;
        QList<QUrl> urls;
        for (const auto& f : files) urls << QUrl::fromLocalFile(QString::fromStdString(f));
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(&frame(), &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&frame(), &drop);
    }
};
}  // namespace

TEST_F(ShellTest, DroppingThreeFilesOpensOnlyTheFirstAndKeepsTheDialogDirectory) {
    ASSERT_TRUE(frame().acceptDrops());
    const std::string first = Sample("first.kvl");
    const std::string second = Sample("second.kvl");
    const std::string third = Sample("third.kvl");
    Drop({first, second, third});
    EXPECT_EQ(window().doc().documentPath(), first);
    EXPECT_EQ(window().doc().laps().Count(), 3);
    EXPECT_EQ(ReadRecentFiles(Settings()), std::vector<std::string>{first});
    EXPECT_EQ(Settings().ReadText("admin", "path", "unchanged"), "unchanged");
    EXPECT_EQ(frame().windowTitle(), QStringLiteral("Korvale - first.kvl [Kestrel Ridge Circuit]"));
}

TEST_F(ShellTest, ADropOntoAChangedDocumentAsksFirstAndCancelKeepsIt) {
    const std::string first = Sample("first.kvl");
    window().OpenStartupDocument(first);
    window().doc().SetDirty(true);
    messages.clear();
    answers = {TMsgAnswer::Cancel};
    Drop({Sample("other.kvl")});
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "Save File");
    EXPECT_EQ(window().doc().documentPath(), first);
    EXPECT_TRUE(window().doc().dirty());
}

TEST_F(ShellTest, ARecentFileOpensWithoutAQuestionWhenNothingChanged) {
    const std::string a = Sample("a.kvl");
    const std::string b = Sample("b.kvl");
    window().OpenStartupDocument(a);
    window().OpenStartupDocument(b);
    frame().UpdateCommands();
    QAction* second = frame().findChild<QAction*>(QStringLiteral("recentFile2"));
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(second->text().endsWith(QStringLiteral("a.kvl")));
    messages.clear();
    second->trigger();
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(window().doc().documentPath(), a);
    EXPECT_EQ(ReadRecentFiles(Settings()), (std::vector<std::string>{a, b}));
}

TEST_F(ShellTest, ARecentFileWithUnsavedChangesAsksAndCancelLeavesEverything) {
    const std::string a = Sample("a.kvl");
    const std::string b = Sample("b.kvl");
    window().OpenStartupDocument(a);
    window().OpenStartupDocument(b);
    window().doc().SetDirty(true);
    frame().UpdateCommands();
    messages.clear();
    answers = {TMsgAnswer::Cancel};
    frame().findChild<QAction*>(QStringLiteral("recentFile2"))->trigger();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "Save File");
    EXPECT_EQ(window().doc().documentPath(), b);
    EXPECT_TRUE(window().doc().dirty());
    EXPECT_EQ(ReadRecentFiles(Settings()), (std::vector<std::string>{b, a}));
}

TEST_F(ShellTest, TheRecentListHoldsFourAndEscapesAmpersands) {
    std::vector<std::string> docs;
    for (const char* name : {"one.kvl", "two.kvl", "R&D.kvl", "four.kvl", "five.kvl"}) {
        docs.push_back(Sample(name));
        window().OpenStartupDocument(docs.back());
    }
    frame().UpdateCommands();
    EXPECT_EQ(frame().findChild<QAction*>(QStringLiteral("recentFile5")), nullptr);
    QAction* third = frame().findChild<QAction*>(QStringLiteral("recentFile3"));
    ASSERT_NE(third, nullptr);
    EXPECT_TRUE(third->text().endsWith(QStringLiteral("R&&D.kvl")));
}

namespace {
// Answers the next file dialog with a path, as the user typing it and pressing Save would.
void AnswerNextFileDialog(const std::string& path) {
    QTimer::singleShot(0, [path] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->selectFile(QString::fromStdString(path));
        static_cast<QDialog*>(dialog)->accept();  // the Save or Open button
    });
}
}  // namespace

TEST_F(ShellTest, SaveAsUnderANewNamePutsThatNameFirstOnTheRecentFiles) {
    const std::string original = Sample("original.kvl");
    window().OpenStartupDocument(original);
    const std::string renamed = (dir / "renamed.kvl").string();
    AnswerNextFileDialog(renamed);
    frame().action(cmd::FileSaveAs)->trigger();
    EXPECT_TRUE(std::filesystem::exists(renamed));
    EXPECT_EQ(window().doc().documentPath(), renamed);
    EXPECT_EQ(ReadRecentFiles(Settings()), (std::vector<std::string>{renamed, original}));
    EXPECT_EQ(frame().windowTitle(),
              QStringLiteral("Korvale - renamed.kvl [Kestrel Ridge Circuit]"));
    frame().UpdateCommands();
    EXPECT_TRUE(frame()
                    .findChild<QAction*>(QStringLiteral("recentFile1"))
                    ->text()
                    .endsWith(QStringLiteral("renamed.kvl")));
}

TEST_F(ShellTest, OpenThroughTheFileDialogReadsTheDocument) {
    const std::string doc = Sample("chosen.kvl");
    AnswerNextFileDialog(doc);
    frame().action(cmd::FileOpen)->trigger();
    EXPECT_EQ(window().doc().documentPath(), doc);
    EXPECT_EQ(window().doc().laps().Count(), 3);
    EXPECT_EQ(Settings().ReadText("admin", "path", ""), (dir / "*.kvl").string());
}
