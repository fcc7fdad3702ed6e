// Import Replay from the menu through the real dialogs, in the program's own window: the
// open dialog, the Import Lap dialog (its Help button included), and what the frame shows
// afterwards.
#include <QAbstractButton>
#include <QAction>
#include <QDialog>
#include <QFileDialog>
#include <QListWidget>
#include <QTimer>
#include <functional>

#include "AppFixture.h"
#include "app/HelpWindow.h"
#include "commands/CommandIds.h"
#include "document/LapPalette.h"

using namespace app_test;

namespace {
class ImportTest : public AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        NotFirstRun();
        std::filesystem::copy_file(std::filesystem::path(KORVALE_BIN_DIR) / "sample-kestrel.rpl",
                                   dir / "sample-kestrel.rpl");
        replay = QString::fromStdString((dir / "sample-kestrel.rpl").string());
    }
    void ChooseReplay() {
        WhenModal(QStringLiteral("Open Replay"), [this](QDialog* d) {
            static_cast<QFileDialog*>(d)->selectFile(replay);
            d->accept();
        });
    }
    QString replay;
};
}  // namespace

TEST_F(ImportTest, ALapImportedIntoTheSampleDocumentGetsTheNextColourAndMarksItChanged) {
    ASSERT_TRUE(Start(Sample()));
    ASSERT_FALSE(frame().action(cmd::FileSave)->isEnabled());
    ChooseReplay();
    int helpTopic = -1;
    bool helpOverDialog = false;
    WhenModal(QStringLiteral("Import Lap"), [&](QDialog* d) {
        // The dialog's Help button opens its topic in a help window that the modal dialog
        // does not block: one of the dialog's own.
        d->findChild<QAbstractButton*>(QStringLiteral("help"))->click();
        if (HelpWindow* help = app->shownHelpWindow()) {
            helpTopic = help->currentTopic();
            helpOverDialog = help->parentWidget() == d && help->isVisible();
        }
        auto* laps = d->findChild<QListWidget*>(QStringLiteral("lapList"));
        laps->setCurrentRow(2);
        d->findChild<QAbstractButton*>(QStringLiteral("ok"))->click();
    });
    frame().action(cmd::ImportReplay)->trigger();

    EXPECT_EQ(helpTopic, topic::ImportLapDialog);
    EXPECT_TRUE(helpOverDialog);
    const TDocument& doc = window().doc();
    ASSERT_EQ(doc.laps().Count(), 4);
    EXPECT_EQ(doc.laps().At(3).colour, LapPalette[3]);
    EXPECT_TRUE(doc.dirty());
    EXPECT_TRUE(frame().action(cmd::FileSave)->isEnabled());
    EXPECT_TRUE(frame().action(cmd::EditInfo)->isEnabled());
    // The laps now come from the document and a replay: no single source is named.
    EXPECT_EQ(frame().windowTitle(),
              QStringLiteral("Korvale - sample.kvl [Kestrel Ridge Circuit]"));
    EXPECT_EQ(Settings().ReadText("import", "path", ""), (dir / "*.rpl;*.rpz").string());
}

TEST_F(ImportTest, TheFirstLapOfAnEmptyDocumentNamesTrackAndReplayInTheCaption) {
    ASSERT_TRUE(Start());
    ChooseReplay();
    WhenModal(QStringLiteral("Import Lap"), [](QDialog* d) { d->accept(); });
    frame().action(cmd::ImportReplay)->trigger();
    ASSERT_EQ(window().doc().laps().Count(), 1);
    EXPECT_EQ(frame().windowTitle(),
              QStringLiteral("Korvale [Kestrel Ridge Circuit, sample-kestrel.rpl]"));
    EXPECT_TRUE(frame().action(cmd::FileSaveAs)->isEnabled());
}

TEST_F(ImportTest, CancelInTheImportLapDialogAddsNothing) {
    ASSERT_TRUE(Start(Sample()));
    ChooseReplay();
    WhenModal(QStringLiteral("Import Lap"), [](QDialog* d) { d->reject(); });
    frame().action(cmd::ImportReplay)->trigger();
    EXPECT_EQ(window().doc().laps().Count(), 3);
    EXPECT_FALSE(window().doc().dirty());
    EXPECT_FALSE(frame().action(cmd::FileSave)->isEnabled());
}
