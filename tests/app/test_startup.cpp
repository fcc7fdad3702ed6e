// Start-up and shutdown: the first run, the fatal track-data failure, the startup
// document, the frame's placement and what closing writes.
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>

#include "AppFixture.h"
#include "app/HelpWindow.h"
#include "commands/CommandIds.h"
#include "commands/RecentFiles.h"

using namespace app_test;

namespace {
QRect Screen() {
    return QGuiApplication::primaryScreen()->geometry();
}
}  // namespace

using StartupTest = AppFixture;

TEST_F(StartupTest, FirstRunPlacesTheFrameAnnouncesTheTrackDataAndOpensTheWelcomeTopic) {
    ASSERT_TRUE(Start());
    const QRect s = Screen();
    const QRect placement = frame().StoredPlacement();
    EXPECT_EQ(placement,
              QRect(static_cast<int>(s.width() * 0.1), static_cast<int>(s.height() * 0.1),
                    static_cast<int>(s.width() * 0.8), static_cast<int>(s.height() * 0.8)));
    EXPECT_EQ(frame().pos(), placement.topLeft());
    EXPECT_EQ(frame().size(), placement.size());

    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "Track Data Update");
    EXPECT_EQ(messages[0].text, "Installed track data version 1.07");
    EXPECT_EQ(messages[0].buttons, TMsgButtons::Ok);

    ASSERT_NE(app->helpWindow(), nullptr);
    EXPECT_EQ(app->helpWindow()->currentTopic(), topic::FirstRun);
    EXPECT_TRUE(app->helpOpened());
    EXPECT_EQ(Settings().ReadInt("admin", "first", 0), 1);
    // Regression: the welcome had no window icon (its stacking is checked under a window
    // manager).
    EXPECT_FALSE(app->helpWindow()->windowIcon().isNull());

    // The next start is not a first run any more.
    ASSERT_TRUE(Restart());
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(app->helpWindow(), nullptr);
}

// Regression: the colour dialog's custom colours went to a file shared by all Qt programs.
TEST_F(StartupTest, QtsOwnDialogStateIsNotWrittenBesideOtherProgramsSettings) {
    ASSERT_TRUE(Start());
    const QString shared = QSettings(QSettings::UserScope, QStringLiteral("QtProject")).fileName();
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    EXPECT_FALSE(shared.startsWith(config)) << shared.toStdString();
}

TEST_F(StartupTest, MissingOrBrokenTrackDataIsFatal) {
    std::filesystem::remove(paths.trackData);
    EXPECT_FALSE(Start());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "Fatal Error");
    EXPECT_EQ(messages[0].text, "Unable to open track data");
    EXPECT_EQ(messages[0].icon, TMsgIcon::Stop);
    // Nothing after the track data ran: no first-run mark, no help.
    EXPECT_EQ(Settings().ReadInt("admin", "first", 0), 0);
    EXPECT_EQ(app->helpWindow(), nullptr);

    // A file that ends inside its records.
    std::filesystem::copy_file(std::filesystem::path(KORVALE_BIN_DIR) / "tracks.dat",
                               paths.trackData);
    std::filesystem::resize_file(paths.trackData, 40);
    EXPECT_FALSE(Restart());
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back().title, "Fatal Error");
    EXPECT_EQ(messages.back().icon, TMsgIcon::Stop);
}

TEST_F(StartupTest, StartupDocumentIsOpenedAndPutOnTopOfTheRecentFiles) {
    NotFirstRun();
    const std::string older = Sample("older.kvl");
    {
        ProfileFile s(paths.settingsFile);
        PutOnRecentFiles(s, older);
    }
    const std::string doc = Sample("start.kvl");
    ASSERT_TRUE(Start(doc));
    EXPECT_EQ(window().doc().laps().Count(), 3);
    EXPECT_EQ(window().doc().documentPath(), doc);
    const auto recent = ReadRecentFiles(Settings());
    ASSERT_EQ(recent.size(), 2u);
    EXPECT_EQ(recent[0], doc);
    EXPECT_EQ(recent[1], older);
    EXPECT_EQ(Settings().ReadText("admin", "path", ""), (dir / "*.kvl").string());
    // The File menu lists them, newest first, above Exit.
    EXPECT_NE(frame().findChild<QAction*>(QStringLiteral("recentFile1")), nullptr);
    EXPECT_EQ(frame().findChild<QAction*>(QStringLiteral("recentFile1"))->text(),
              QStringLiteral("&1 ") + QString::fromStdString(doc));
}

TEST_F(StartupTest, AStartupDocumentThatCannotBeReadReportsAndTheProgramRunsOn) {
    NotFirstRun();
    ASSERT_TRUE(Start((dir / "missing.kvl").string()));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "Open Error");
    EXPECT_EQ(window().doc().laps().Count(), 0);
    EXPECT_TRUE(window().doc().documentPath().empty());
    EXPECT_TRUE(ReadRecentFiles(Settings()).empty());
}

// Regression: a truncated document left Zoom Out and Full Size enabled on an empty window.
TEST_F(StartupTest, ATruncatedDocumentOnAnEmptyWindowLeavesNothingToZoomOutOf) {
    NotFirstRun();
    // The sample's header and track, then the file ends inside its first lap.
    const std::string doc = Sample("cut.kvl");
    std::filesystem::resize_file(doc, 40);
    ASSERT_TRUE(Start(doc));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Unable to read replay (04)");
    EXPECT_TRUE(window().doc().laps().Empty());
    EXPECT_TRUE(window().doc().HasTrack());
    frame().UpdateCommands();
    EXPECT_FALSE(frame().action(cmd::ZoomOut)->isEnabled());
    EXPECT_FALSE(frame().action(cmd::FullSize)->isEnabled());
    // The document now belongs to that file.
    EXPECT_EQ(window().doc().documentPath(), doc);
    EXPECT_EQ(frame().windowTitle().toStdString().rfind("Korvale - cut.kvl [", 0), 0u)
        << frame().windowTitle().toStdString();
}

TEST_F(StartupTest, ClosingWritesThePlacementTheSideWindowsAndTheAxes) {
    NotFirstRun();
    {
        ProfileFile s(paths.settingsFile);
        s.WriteInt("window", "appx", 30);
        s.WriteInt("window", "appy", 40);
        s.WriteInt("window", "appw", 500);
        s.WriteInt("window", "apph", 400);
    }
    ASSERT_TRUE(Start());
    EXPECT_EQ(frame().StoredPlacement(), QRect(30, 40, 500, 400));
    frame().show();
    QApplication::processEvents();
    frame().move(50, 60);
    frame().resize(520, 410);
    frame().action(cmd::Y2Line)->trigger();
    EXPECT_TRUE(frame().close());
    ProfileFile s = Settings();
    EXPECT_EQ(s.ReadInt("window", "appx", 0), frame().frameGeometry().x());
    EXPECT_EQ(s.ReadInt("window", "appw", 0), frame().frameGeometry().width());
    EXPECT_EQ(s.ReadInt("window", "apph", 0), frame().frameGeometry().height());
    EXPECT_EQ(s.ReadText("window", "appmax", ""), "0");
    // Side windows that were never shown keep their placement.
    EXPECT_EQ(s.ReadInt("window", "infw", 0), 160);
    EXPECT_EQ(s.ReadInt("window", "datx", 0), 160);
    EXPECT_EQ(s.ReadInt("window", "piph", 0), 160);
    EXPECT_EQ(s.ReadInt("export", "yspeed", 0), 1);
    // The axes are written when the window goes.
    app.reset();
    EXPECT_EQ(Settings().ReadInt("graph", "ayaxis", 7), 3);
}

// Regression: the frame grew by its decorations at every start.
TEST_F(StartupTest, TheFrameComesBackAtTheOuterSizeItClosedWith) {
    NotFirstRun();
    {
        ProfileFile s(paths.settingsFile);
        s.WriteInt("window", "appx", 30);
        s.WriteInt("window", "appy", 40);
        s.WriteInt("window", "appw", 500);
        s.WriteInt("window", "apph", 400);
        // Decorations of another window manager than this one.
        s.WriteInt("window", "appdw", 2);
        s.WriteInt("window", "appdh", 25);
    }
    ASSERT_TRUE(Start());
    // The inside is made before the frame shows: the stored outer size less the decorations.
    EXPECT_EQ(frame().size(), QSize(498, 375));
    frame().show();
    QApplication::processEvents();
    EXPECT_EQ(frame().frameGeometry(), QRect(30, 40, 500, 400));
    const QSize decoration = frame().frameGeometry().size() - frame().size();
    EXPECT_TRUE(frame().close());

    // Start, close, start again: the same rectangle every time, never a little larger.
    for (int run = 0; run < 2; ++run) {
        ProfileFile s = Settings();
        EXPECT_EQ(s.ReadInt("window", "appw", 0), 500);
        EXPECT_EQ(s.ReadInt("window", "apph", 0), 400);
        EXPECT_EQ(s.ReadInt("window", "appdw", -1), decoration.width());
        EXPECT_EQ(s.ReadInt("window", "appdh", -1), decoration.height());
        ASSERT_TRUE(Restart());
        EXPECT_EQ(frame().size(), QSize(500, 400) - decoration);
        frame().show();
        QApplication::processEvents();
        EXPECT_EQ(frame().frameGeometry(), QRect(30, 40, 500, 400));
        EXPECT_TRUE(frame().close());
    }
}

// Regression: a stored placement that no screen shows opened the window out of reach.
TEST_F(StartupTest, APlacementNoScreenShowsIsReplacedByTheFirstRunOne) {
    NotFirstRun();
    {
        ProfileFile s(paths.settingsFile);
        s.WriteInt("window", "appx", 50000);
        s.WriteInt("window", "appy", -40000);
        s.WriteInt("window", "appw", 500);
        s.WriteInt("window", "apph", 400);
    }
    ASSERT_TRUE(Start());
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(frame().StoredPlacement(),
              QRect(int(screen.width() * 0.1), int(screen.height() * 0.1),
                    int(screen.width() * 0.8), int(screen.height() * 0.8)));
}

TEST_F(StartupTest, ClosingWhileMaximizedLeavesTheStoredPlacement) {
    NotFirstRun();
    ASSERT_TRUE(Start());
    frame().showMaximized();
    QApplication::processEvents();
    ASSERT_TRUE(frame().maximized());
    EXPECT_TRUE(frame().close());
    EXPECT_EQ(Settings().ReadText("window", "appx", "none"), "none");
    EXPECT_EQ(Settings().ReadText("window", "appmax", "none"), "none");
}

TEST_F(StartupTest, RestoringAfterMaximizeClearsTheFlag) {
    NotFirstRun();
    ASSERT_TRUE(Start());
    EXPECT_FALSE(frame().maximized());
    frame().showMaximized();
    QApplication::processEvents();
    EXPECT_TRUE(frame().maximized());
    frame().showNormal();
    QApplication::processEvents();
    EXPECT_FALSE(frame().maximized());
}

TEST_F(StartupTest, CancelInTheSaveQuestionKeepsTheProgramOpen) {
    NotFirstRun();
    ASSERT_TRUE(Start(Sample()));
    window().doc().SetDirty(true);
    messages.clear();
    answers = {TMsgAnswer::Cancel};
    EXPECT_FALSE(frame().close());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "Save File");
    EXPECT_EQ(messages[0].text, "File has changed.\nSave before closing?");
    EXPECT_EQ(messages[0].buttons, TMsgButtons::YesNoCancel);
    EXPECT_EQ(Settings().ReadText("window", "appmax", "none"), "none");
}

TEST_F(StartupTest, FrameAndClientHaveTheirMinimumSizes) {
    NotFirstRun();
    ASSERT_TRUE(Start());
    EXPECT_EQ(frame().minimumSize(), QSize(320, 320));
    EXPECT_EQ(window().minimumSize(), QSize(320, 240));
    frame().show();
    frame().resize(100, 100);
    EXPECT_GE(frame().width(), 320);
    EXPECT_GE(frame().height(), 320);
}

// Regression: settings axes outside their channels reached documents and unchecked the axis menus.
TEST_F(StartupTest, AxesOutOfRangeInTheSettingsTakeTheirDefaults) {
    NotFirstRun();
    {
        ProfileFile s(paths.settingsFile);
        s.WriteInt("graph", "xaxis", 5);
        s.WriteInt("graph", "yaxis", 42);
        s.WriteInt("graph", "ayaxis", -3);
    }
    ASSERT_TRUE(Start());
    EXPECT_EQ(window().doc().axes().x, TelemetryChannel::Position);
    EXPECT_EQ(window().doc().axes().y, TelemetryChannel::Speed);
    EXPECT_EQ(window().doc().axes().y2, TelemetryChannel::None);
    EXPECT_FALSE(frame().action(cmd::FileSave)->isEnabled());
    EXPECT_TRUE(frame().action(cmd::YSpeed)->isChecked());
    app.reset();
    EXPECT_EQ(Settings().ReadInt("graph", "yaxis", 0), 2);
    // Values in range are kept as they are.
    {
        ProfileFile s(paths.settingsFile);
        s.WriteInt("graph", "xaxis", 0);
        s.WriteInt("graph", "yaxis", 6);
        s.WriteInt("graph", "ayaxis", 0);
    }
    ASSERT_TRUE(Start());
    EXPECT_EQ(window().doc().axes().x, TelemetryChannel::Time);
    EXPECT_EQ(window().doc().axes().y, TelemetryChannel::SlipAngle);
    EXPECT_EQ(window().doc().axes().y2, TelemetryChannel::Time);
}

// Regression: a screenshot run used up the first-run welcome.
TEST_F(StartupTest, ARunWithoutAUserLeavesTheWelcomeForTheFirstRealStart) {
    app = std::make_unique<TKorvaleApp>(paths, std::string());
    app->SetNonInteractive(true);
    ASSERT_TRUE(app->CreateMainWindow());
    EXPECT_EQ(app->helpWindow(), nullptr);
    EXPECT_EQ(Settings().ReadInt("admin", "first", 0), 0);
    // Message boxes are not shown: the save question takes Cancel, which changes nothing.
    window().doc().SetDirty(true);
    EXPECT_FALSE(window().CanClose());
    EXPECT_TRUE(window().doc().dirty());
    app.reset();
    ASSERT_TRUE(Start());
    ASSERT_NE(app->helpWindow(), nullptr);
    EXPECT_EQ(app->helpWindow()->currentTopic(), topic::FirstRun);
}
