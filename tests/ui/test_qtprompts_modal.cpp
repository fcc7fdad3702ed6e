// TQtPrompts running its boxes and dialogs modally, acted on from inside their event loops.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>

#include "FakeLapSource.h"
#include "UiTestSupport.h"
#include "app/QtPrompts.h"
#include "app/TEditInfoDlg.h"
#include "replay/ui/TImportAvgLaps.h"
#include "replay/ui/TImportLap.h"
#include "replay/ui/TPropListBox.h"

using namespace ui_test;

namespace {

// The asking half under test; the requests to the main window do nothing here.
class AskingPrompts : public TQtPrompts {
  public:
    AskingPrompts() : TQtPrompts(nullptr) {}
    void SetWaitCursor(bool) override {}
    void SetStatusText(const std::string&) override {}
    TWindowRect SideWindowRect(TSideWindow) override { return {}; }
};

// Runs act on the modal widget of type W once the next exec() shows it. The widget is
// closed by act; if it is not the expected kind it is rejected so the test cannot hang.
template <class W>
void WhenShown(std::function<void(W*)> act) {
    QTimer::singleShot(0, [act] {
        QWidget* modal = QApplication::activeModalWidget();
        W* w = qobject_cast<W*>(modal);
        if (w == nullptr) {
            ADD_FAILURE() << "expected modal widget missing";
            if (auto* d = qobject_cast<QDialog*>(modal)) d->reject();
            return;
        }
        act(w);
    });
}

QAbstractButton* ButtonFor(QMessageBox* box, QMessageBox::StandardButton which) {
    return box->button(which);
}

struct TempDir {
    std::filesystem::path path;
    TempDir() {
        path = std::filesystem::temp_directory_path() /
               ("korvale-ui-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                "-" + std::to_string(reinterpret_cast<uintptr_t>(this)));
        std::filesystem::create_directories(path);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
};

}  // namespace

TEST(QtPromptsModal, MessageBoxShowsExactlyWhatIsAskedAndMapsTheButtonBack) {
    AskingPrompts prompts;
    WhenShown<QMessageBox>([](QMessageBox* box) {
        EXPECT_EQ(box->windowTitle(), QStringLiteral("Save File"));
        EXPECT_EQ(box->text(), QStringLiteral("File has changed.\nSave before closing?"));
        EXPECT_EQ(box->icon(), QMessageBox::Question);
        EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::Yes));
        ButtonFor(box, QMessageBox::No)->click();
    });
    EXPECT_EQ(prompts.MessageBox("Save File", "File has changed.\nSave before closing?",
                                 TMsgIcon::Question, TMsgButtons::YesNoCancel),
              TMsgAnswer::No);

    WhenShown<QMessageBox>([](QMessageBox* box) { box->reject(); });  // Escape
    EXPECT_EQ(prompts.MessageBox("Save File", "?", TMsgIcon::Question, TMsgButtons::YesNoCancel),
              TMsgAnswer::Cancel);

    WhenShown<QMessageBox>([](QMessageBox* box) {
        EXPECT_EQ(box->text(), QStringLiteral("Error opening <b>race</b>.rpl"));
        // Regression: a '<' in a name or path was taken as markup.
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
        EXPECT_EQ(box->icon(), QMessageBox::Critical);
        EXPECT_EQ(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
        ButtonFor(box, QMessageBox::Ok)->click();
    });
    EXPECT_EQ(prompts.MessageBox("Fatal Error", "Error opening <b>race</b>.rpl", TMsgIcon::Stop,
                                 TMsgButtons::Ok),
              TMsgAnswer::Ok);

    WhenShown<QMessageBox>([](QMessageBox* box) { ButtonFor(box, QMessageBox::Yes)->click(); });
    EXPECT_EQ(prompts.MessageBox("Confirm Delete", "Delete this lap?", TMsgIcon::Question,
                                 TMsgButtons::YesNo),
              TMsgAnswer::Yes);
}

TEST(QtPromptsModal, ImportLapGivesTheSelectionsOnOkAndTheModeEvenOnCancel) {
    AskingPrompts prompts;
    FakeLapSource fake{{4, 1, 5}};
    TImportLapXfer xfer = ThreeDrivers(true);
    WhenShown<TImportLap>([](TImportLap* dlg) {
        dlg->DriverList()->setCurrentRow(2);
        dlg->LapList()->setCurrentRow(3);
        Click(dlg, "ok");
    });
    ASSERT_TRUE(prompts.ImportLap(xfer, fake.Source()));
    EXPECT_EQ(xfer.selectedDriver, 2);
    EXPECT_EQ(xfer.selectedLaps, std::vector<int32_t>{3});
    EXPECT_TRUE(xfer.lapTimes);

    WhenShown<TImportLap>([](TImportLap* dlg) {
        Click(dlg, "modeButton");
        Click(dlg, "cancel");
    });
    EXPECT_FALSE(prompts.ImportLap(xfer, fake.Source()));
    EXPECT_FALSE(xfer.lapTimes);
    EXPECT_EQ(fake.storedModes.back(), false);
}

TEST(QtPromptsModal, ImportAverageLapsKeepsTheDialogOpenUntilOnlyFullLapsAreChosen) {
    AskingPrompts prompts;
    FakeLapSource fake{{5}};
    TImportLapXfer xfer = ThreeDrivers(true);
    xfer.driverTexts.resize(1);
    xfer.selectedLaps = {};
    int warnings = 0;
    WhenShown<TImportAvgLaps>([&warnings](TImportAvgLaps* dlg) {
        dlg->SetWarn([&warnings](const std::string&, const std::string&) { ++warnings; });
        dlg->LapList()->item(4)->setSelected(true);  // refused at once
        dlg->LapList()->item(1)->setSelected(true);
        dlg->LapList()->item(3)->setSelected(true);
        Click(dlg, "ok");
    });
    ASSERT_TRUE(prompts.ImportAverageLaps(xfer, fake.Source()));
    EXPECT_EQ(warnings, 1);
    EXPECT_EQ(xfer.selectedDriver, 0);
    EXPECT_EQ(xfer.selectedLaps, (std::vector<int32_t>{1, 3}));
}

TEST(QtPromptsModal, ChooseTrackAndChooseLapFillTheRecordOnlyOnOk) {
    AskingPrompts prompts;
    TChooseTrackXfer track;
    track.trackNames = {"Ashby Park", "Marlow Ring"};
    track.scopeText = "for replays";
    WhenShown<QDialog>([](QDialog* dlg) {
        Find<QComboBox>(dlg, "trackList")->setCurrentIndex(1);
        Click(dlg, "remember");
        Click(dlg, "ok");
    });
    ASSERT_TRUE(prompts.ChooseTrack(track));
    EXPECT_EQ(track.selection, 1);
    EXPECT_TRUE(track.remember);

    TChooseTrackXfer cancelled = track;
    cancelled.selection = 0;
    cancelled.remember = false;
    WhenShown<QDialog>([](QDialog* dlg) {
        Find<QComboBox>(dlg, "trackList")->setCurrentIndex(1);
        Click(dlg, "cancel");
    });
    EXPECT_FALSE(prompts.ChooseTrack(cancelled));
    EXPECT_EQ(cancelled.selection, 0);

    TChooseLapXfer lap;
    lap.texts = {"a", "b", "c"};
    WhenShown<QDialog>([](QDialog* dlg) {
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Select a Lap"));
        Find<QComboBox>(dlg, "lapCombo")->setCurrentIndex(2);
        Click(dlg, "ok");
    });
    ASSERT_TRUE(prompts.ChooseLap(lap));
    EXPECT_EQ(lap.selection, 2);
}

TEST(QtPromptsModal, CustomColoursStartBlackAndSurviveBetweenEdits) {
    AskingPrompts prompts;
    QColorDialog::setCustomColor(3, Qt::white);  // whatever Qt held before
    TEditInfoXfer xfer{"Ann Quill", Rgb{255, 0, 0}};

    // First edit: the colour dialog opens from the lap's colour with black custom colours;
    // the user defines a custom colour and picks green.
    WhenShown<TEditInfo>([](TEditInfo* dlg) {
        WhenShown<QColorDialog>([](QColorDialog* colours) {
            EXPECT_EQ(colours->currentColor(), QColor(255, 0, 0));
            for (int i = 0; i < 16; ++i)
                EXPECT_EQ(QColorDialog::customColor(i), QColor(Qt::black)) << i;
            QColorDialog::setCustomColor(3, QColor(1, 2, 3));
            colours->setCurrentColor(QColor(0, 128, 0));
            colours->accept();
        });
        Click(dlg, "changeButton");
        Find<QLineEdit>(dlg, "nameEdit")->selectAll();
        Find<QLineEdit>(dlg, "nameEdit")->insert(QStringLiteral("Bo Harrow"));
        Click(dlg, "ok");
    });
    ASSERT_TRUE(prompts.EditInfo(xfer));
    EXPECT_EQ(xfer.name, "Bo Harrow");
    EXPECT_EQ(xfer.colour, (Rgb{0, 128, 0}));

    QColorDialog::setCustomColor(3, Qt::white);  // someone else's colour dialog in between
    WhenShown<TEditInfo>([](TEditInfo* dlg) {
        WhenShown<QColorDialog>([](QColorDialog* colours) {
            EXPECT_EQ(QColorDialog::customColor(3), QColor(1, 2, 3));
            colours->reject();
        });
        Click(dlg, "changeButton");
        Click(dlg, "cancel");
    });
    EXPECT_FALSE(prompts.EditInfo(xfer));
    EXPECT_EQ(xfer.colour, (Rgb{0, 128, 0}));
}

TEST(QtPromptsModal, FileDialogsUseTheFiltersStartPathAndDefaultExtension) {
    AskingPrompts prompts;
    TempDir dir;
    std::ofstream(dir.path / "race.rpl") << "x";

    TFileDialogXfer open;
    open.title = "Open Replay";
    open.filter = "All Replays (*.rpl;*.rpz)|*.rpl;*.rpz|Replay Files (*.rpl)|*.rpl|";
    open.defaultExt = "rpl";
    open.mustExist = true;
    open.initialPath = (dir.path / "*.rpl").string();
    WhenShown<QFileDialog>([&dir](QFileDialog* d) {
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Open Replay"));
        EXPECT_EQ(d->acceptMode(), QFileDialog::AcceptOpen);
        EXPECT_EQ(d->fileMode(), QFileDialog::ExistingFile);
        EXPECT_EQ(d->nameFilters(), (QStringList{QStringLiteral("All Replays (*.rpl *.rpz)"),
                                                 QStringLiteral("Replay Files (*.rpl)")}));
        EXPECT_EQ(d->selectedNameFilter(), QStringLiteral("Replay Files (*.rpl)"));
        EXPECT_EQ(std::filesystem::path(d->directory().absolutePath().toStdString()), dir.path);
        d->selectFile(
            QString::fromStdString((dir.path / "race").string()));  // typed without extension
        static_cast<QDialog*>(d)->accept();  // as the Open or Save button does
    });
    ASSERT_TRUE(prompts.OpenFileDialog(open));
    EXPECT_EQ(std::filesystem::path(open.path), dir.path / "race.rpl");

    TFileDialogXfer save;
    save.filter = "Telemetry Files (*.kvl)|*.kvl|All Files (*.*)|*.*|";
    save.defaultExt = "kvl";
    save.confirmOverwrite = true;
    save.initialPath = (dir.path / "*.kvl").string();
    WhenShown<QFileDialog>([&dir](QFileDialog* d) {
        EXPECT_EQ(d->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_FALSE(d->testOption(QFileDialog::DontConfirmOverwrite));
        d->selectFile(QString::fromStdString((dir.path / "mine").string()));
        static_cast<QDialog*>(d)->accept();  // as the Open or Save button does
    });
    ASSERT_TRUE(prompts.SaveFileDialog(save));
    EXPECT_EQ(std::filesystem::path(save.path), dir.path / "mine.kvl");

    WhenShown<QFileDialog>([](QFileDialog* d) { d->reject(); });
    save.path.clear();
    EXPECT_FALSE(prompts.SaveFileDialog(save));
    EXPECT_TRUE(save.path.empty());
}
