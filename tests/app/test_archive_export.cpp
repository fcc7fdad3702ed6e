// In the program's own window: a lap imported from the sample archive through the real
// dialogs, and both exports from the File menu and the tool bar.
#include <QAbstractButton>
#include <QAction>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <fstream>
#include <functional>

#include "AppFixture.h"
#include "commands/CommandIds.h"

using namespace app_test;

namespace {

// Types a file name into an export dialog and presses OK.
std::function<void(QDialog*)> ExportTo(const std::string& path) {
    return [path](QDialog* d) {
        d->findChild<QLineEdit*>(QStringLiteral("fileName"))->setText(QString::fromStdString(path));
        d->findChild<QAbstractButton*>(QStringLiteral("ok"))->click();
    };
}

class ArchiveExportTest : public AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        NotFirstRun();
    }
    std::string FirstLine(const fs::path& p) {
        std::ifstream in(p);
        std::string line;
        std::getline(in, line);
        return line;
    }
};

}  // namespace

TEST_F(ArchiveExportTest, ALapIsImportedFromTheSampleArchiveAndNothingStaysBesideIt) {
    fs::create_directories(dir / "season");
    const fs::path archive = dir / "season" / "samples.rpz";
    fs::copy_file(fs::path(KORVALE_BIN_DIR) / "samples.rpz", archive);
    ASSERT_TRUE(Start(Sample()));
    QStringList members;
    WhenModal(QStringLiteral("Open Replay"), [&](QDialog* d) {
        static_cast<QFileDialog*>(d)->selectFile(QString::fromStdString(archive.string()));
        d->accept();
        WhenModal(QStringLiteral("Import Replay"), [&](QDialog* chooser) {
            auto* list = chooser->findChild<QListWidget*>(QStringLiteral("memberList"));
            for (int i = 0; i < list->count(); ++i) members << list->item(i)->text();
            chooser->findChild<QAbstractButton*>(QStringLiteral("ok"))->click();
            WhenModal(QStringLiteral("Import Lap"), [](QDialog* laps) {
                laps->findChild<QListWidget*>(QStringLiteral("lapList"))->setCurrentRow(1);
                laps->findChild<QAbstractButton*>(QStringLiteral("ok"))->click();
            });
        });
    });
    frame().action(cmd::ImportReplay)->trigger();
    EXPECT_EQ(members, (QStringList{"sample-kestrel.rpl", "sample-marlow.rpl"}));
    EXPECT_EQ(window().doc().laps().Count(), 4);
    EXPECT_TRUE(messages.empty());
    std::vector<std::string> left;
    for (const auto& e : fs::directory_iterator(dir / "season"))
        left.push_back(e.path().filename().string());
    EXPECT_EQ(left, std::vector<std::string>{"samples.rpz"});
}

TEST_F(ArchiveExportTest, BothExportsRunFromTheMenuAndTheToolBarOnTheSampleDocument) {
    ASSERT_TRUE(Start());
    EXPECT_FALSE(frame().action(cmd::ExportTextData)->isEnabled());
    EXPECT_FALSE(frame().action(cmd::ExportToReplay)->isEnabled());
    window().OpenStartupDocument(Sample());
    ASSERT_TRUE(frame().action(cmd::ExportTextData)->isEnabled());
    ASSERT_TRUE(frame().action(cmd::ExportToReplay)->isEnabled());

    WhenModal(QStringLiteral("Export Data"), ExportTo((dir / "laps.txt").string()));
    frame().action(cmd::ExportTextData)->trigger();
    EXPECT_EQ(FirstLine(dir / "laps.txt"), "Track : Kestrel Ridge Circuit");

    // The tool bar's button for Export to Replay; the name is written in lower case.
    QToolButton* button = nullptr;
    for (auto* b : frame().toolBar()->findChildren<QToolButton*>())
        if (b->defaultAction() == frame().action(cmd::ExportToReplay)) button = b;
    ASSERT_NE(button, nullptr);
    WhenModal(QStringLiteral("Export to Replay"), ExportTo((dir / "Heat").string()));
    button->click();
    EXPECT_TRUE(fs::is_regular_file(dir / "heat.rpl"));

    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].title, "Export Data");
    EXPECT_EQ(messages[0].text, "Data successfully exported");
    EXPECT_EQ(messages[1].title, "Export Replay");
    EXPECT_EQ(messages[1].text, "Replay successfully exported");

    // The choices are kept in the settings when the program closes.
    ASSERT_TRUE(window().CanClose());
    EXPECT_EQ(Settings().ReadText("export", "yslip", "<missing>"), "0");
}
