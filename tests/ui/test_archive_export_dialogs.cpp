// The archive dialogs (Import Replay, the extraction progress) and the two export dialogs,
// driven through their controls.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QValidator>

#include "UiTestSupport.h"
#include "app/QtPrompts.h"
#include "export/ui/TExportReplaySetup.h"
#include "export/ui/TExportSetup.h"
#include "replay/ui/TChooseCompFile.h"
#include "replay/ui/TCompProgress.h"

using namespace ui_test;

namespace {

int Id(QWidget* w) {
    return w ? w->property("controlId").toInt() : -1;
}

// Prompts whose message boxes are answered by a script and recorded.
class RecordingPrompts : public TQtPrompts {
  public:
    RecordingPrompts() : TQtPrompts(nullptr) {}
    std::vector<std::string> asked;
    TMsgAnswer answer = TMsgAnswer::No;
    TMsgAnswer MessageBox(const std::string& title, const std::string& text, TMsgIcon,
                          TMsgButtons) override {
        asked.push_back(title + " | " + text);
        return answer;
    }
    void SetWaitCursor(bool) override {}
    void SetStatusText(const std::string&) override {}
    TWindowRect SideWindowRect(TSideWindow) override { return {}; }
};

}  // namespace

TEST(ChooseCompFile, ListsTheMembersWithTheFirstSelectedAndGivesTheChoice) {
    TChooseCompFile dlg({{"heat1.rpl", "Heat2.rpl", "qualifying.rpl"}, 0});
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Import Replay"));
    auto* list = Find<QListWidget>(&dlg, "memberList");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(Id(list), 101);
    EXPECT_EQ(Texts(list), (QStringList{"heat1.rpl", "Heat2.rpl", "qualifying.rpl"}));
    EXPECT_EQ(SelectedRows(list), std::vector<int>{0});
    EXPECT_EQ(dlg.Result().selection, 0);
    MouseOnRow(list, 2);
    EXPECT_EQ(dlg.Result().selection, 2);
}

TEST(CompProgress, FollowsTheProtocolAndAbortHoldsNineNineNine) {
    TCompProgress dlg;
    auto* gauge = Find<QProgressBar>(&dlg, "gauge");
    auto* status = Find<QLabel>(&dlg, "status");
    auto* abort = Find<QPushButton>(&dlg, "abort");
    ASSERT_TRUE(gauge && status && abort);
    EXPECT_EQ(Id(gauge), 102);
    EXPECT_EQ(Id(status), 1854);
    EXPECT_EQ(Id(abort), 101);
    EXPECT_EQ(abort->text(), QStringLiteral("Abort"));
    EXPECT_TRUE(abort->isDefault());
    EXPECT_EQ(gauge->minimum(), 0);
    EXPECT_EQ(gauge->maximum(), 100);
    EXPECT_EQ(gauge->value(), 0);
    EXPECT_TRUE(status->text().isEmpty());
    EXPECT_EQ(dlg.Held(), 0);

    EXPECT_EQ(dlg.Post(40, {}), 0);
    EXPECT_EQ(gauge->value(), 40);
    dlg.Post(kArchiveStatusText, "Extracting heat.rpl");
    EXPECT_EQ(status->text(), QStringLiteral("Extracting heat.rpl"));

    std::vector<std::string> questions;
    bool yes = false;
    dlg.SetAskOverwrite([&](const std::string& q) {
        questions.push_back(q);
        return yes;
    });
    EXPECT_EQ(dlg.Post(kArchiveOverwriteQuestion, "/tmp/td0/heat.rpl"), kArchiveOverwriteNo);
    EXPECT_EQ(questions, std::vector<std::string>{"/tmp/td0/heat.rpl exists.  Overwrite?"});
    yes = true;
    EXPECT_EQ(dlg.Post(kArchiveOverwriteQuestion, "x"), kArchiveOverwriteYes);

    abort->click();
    EXPECT_EQ(dlg.Held(), kArchiveAbort);
    EXPECT_EQ(dlg.Post(60, {}), kArchiveAbort);
    EXPECT_EQ(dlg.Post(kArchiveOverwriteQuestion, "y"), kArchiveAbort) << "no question after Abort";
    EXPECT_EQ(questions.size(), 2u);
}

TEST(CompProgress, TheExtractionRunsWithTheDialogShownAndItsQuestionIsTheProgramsBox) {
    RecordingPrompts prompts;
    bool shown = false;
    const int code = prompts.RunArchiveExtraction([&](TArchiveProgress& progress) {
        auto* dlg = dynamic_cast<TCompProgress*>(&progress);
        shown = dlg && dlg->isVisible() && dlg->isModal();
        progress.Post(30, {});
        // The user closes the box: that is an Abort.
        if (dlg) dlg->close();
        EXPECT_EQ(progress.Post(kArchiveOverwriteQuestion, "heat.rpl"), kArchiveAbort);
        return kArchiveStopped;
    });
    EXPECT_TRUE(shown);
    EXPECT_EQ(code, kArchiveStopped);
    EXPECT_TRUE(prompts.asked.empty());

    prompts.RunArchiveExtraction([&](TArchiveProgress& progress) {
        EXPECT_EQ(progress.Post(kArchiveOverwriteQuestion, "heat.rpl"), kArchiveOverwriteNo);
        return kArchiveStopped;
    });
    EXPECT_EQ(prompts.asked, std::vector<std::string>{"Import Lap | heat.rpl exists.  Overwrite?"});
}

namespace {

struct CloseCall {
    TExportSettings values;
    bool ask;
};

TExportSetupHooks TextHooks(std::vector<CloseCall>& calls, bool& allow, std::string browseTo) {
    TExportSetupHooks hooks;
    hooks.browse = [browseTo] { return browseTo; };
    hooks.canClose = [&calls, &allow](const TExportSettings& v, bool ask) {
        calls.push_back({v, ask});
        return allow;
    };
    return hooks;
}

}  // namespace

TEST(ExportSetup, ShowsTheRecordInItsControls) {
    TExportSettings s;
    s.fileName = "/data/laps.txt";
    s.xPosition = false;
    s.xTime = true;
    s.yLine = true;
    s.ySlip = true;
    s.comma = true;
    s.resolution = "0.5";
    std::vector<CloseCall> calls;
    bool allow = false;
    TExportSetup dlg(s, TextHooks(calls, allow, ""));
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Export Data"));

    struct Box {
        const char* name;
        int id;
        const char* text;
        bool checked;
    };
    const Box boxes[] = {{"xPosition", 111, "Position", false},
                         {"xTime", 103, "Time", true},
                         {"yPosition", 104, "Position", false},
                         {"yTime", 106, "Time", false},
                         {"ySpeed", 107, "Speed", true},
                         {"yLine", 109, "Line", true},
                         {"yInline", 108, "In-line Force", false},
                         {"yLateral", 114, "Lateral Force", false},
                         {"ySlip", 115, "Slip Angle", true},
                         {"comma", 112, "C&omma Delimited", true},
                         {"table", 120, "&Table (one header row)", false}};
    for (const Box& b : boxes) {
        auto* button = Find<QAbstractButton>(&dlg, b.name);
        ASSERT_NE(button, nullptr) << b.name;
        EXPECT_EQ(Id(button), b.id) << b.name;
        EXPECT_EQ(button->text(), QString::fromLatin1(b.text)) << b.name;
        EXPECT_EQ(button->isChecked(), b.checked) << b.name;
    }
    EXPECT_EQ(Find<QGroupBox>(&dlg, "xGroup")->title(), QStringLiteral("&As a Function of..."));
    EXPECT_EQ(Id(Find<QGroupBox>(&dlg, "xGroup")), 110);
    EXPECT_EQ(Find<QGroupBox>(&dlg, "channelGroup")->title(), QStringLiteral("&Data to Export"));
    EXPECT_EQ(Id(Find<QGroupBox>(&dlg, "channelGroup")), 105);
    auto* name = Find<QLineEdit>(&dlg, "fileName");
    EXPECT_EQ(Id(name), 101);
    EXPECT_EQ(name->text(), QStringLiteral("/data/laps.txt"));
    EXPECT_EQ(name->maxLength(), 254);
    auto* resolution = Find<QLineEdit>(&dlg, "resolution");
    EXPECT_EQ(Id(resolution), 113);
    EXPECT_EQ(resolution->text(), QStringLiteral("0.5"));
    EXPECT_EQ(Id(Find<QPushButton>(&dlg, "browse")), 102);
    EXPECT_EQ(Find<QLabel>(&dlg, "resolutionLabel")->text(), QStringLiteral("Resolution (s)"));

    // Unchanged, the record comes back as it went in.
    const TExportSettings r = dlg.Result();
    EXPECT_EQ(r.fileName, s.fileName);
    EXPECT_EQ(r.resolution, "0.5");
    EXPECT_TRUE(r.xTime && !r.xPosition && r.yLine && r.ySlip && r.comma && r.ySpeed);
    EXPECT_FALSE(r.table) << "the table form is off unless chosen";
    Find<QAbstractButton>(&dlg, "table")->click();
    EXPECT_TRUE(dlg.Result().table);
}

TEST(ExportSetup, TheLabelFollowsTheXQuantityAndTheResolutionTakesOnlyNumberCharacters) {
    std::vector<CloseCall> calls;
    bool allow = false;
    TExportSetup dlg(TExportSettings{}, TextHooks(calls, allow, ""));
    auto* label = Find<QLabel>(&dlg, "resolutionLabel");
    EXPECT_EQ(Id(label), 1853);
    EXPECT_EQ(label->text(), QStringLiteral("Resolution (ft)"));
    Click(&dlg, "xTime");
    EXPECT_EQ(label->text(), QStringLiteral("Resolution (s)"));
    EXPECT_FALSE(Find<QRadioButton>(&dlg, "xPosition")->isChecked());
    Click(&dlg, "xPosition");
    EXPECT_EQ(label->text(), QStringLiteral("Resolution (ft)"));

    const QValidator* v = Find<QLineEdit>(&dlg, "resolution")->validator();
    ASSERT_NE(v, nullptr);
    for (const char* ok : {"10", "1e1", "0.25", "+2.5E-1", "1-"}) {
        QString text = QString::fromLatin1(ok);
        int pos = 0;
        EXPECT_NE(v->validate(text, pos), QValidator::Invalid) << ok;
    }
    for (const char* bad : {"1x", "ten", "1,5", " 1"}) {
        QString text = QString::fromLatin1(bad);
        int pos = 0;
        EXPECT_EQ(v->validate(text, pos), QValidator::Invalid) << bad;
    }
}

TEST(ExportSetup, BrowseFillsTheNameAndClearsTheReplaceQuestionWhichTypingBringsBack) {
    std::vector<CloseCall> calls;
    bool allow = false;
    TExportSetup dlg(TExportSettings{}, TextHooks(calls, allow, "/data/run.txt"));
    auto* name = Find<QLineEdit>(&dlg, "fileName");
    EXPECT_TRUE(dlg.AskBeforeReplace());
    Click(&dlg, "browse");
    EXPECT_EQ(name->text(), QStringLiteral("/data/run.txt"));
    EXPECT_FALSE(dlg.AskBeforeReplace());

    Click(&dlg, "ok");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_FALSE(calls[0].ask);
    EXPECT_EQ(calls[0].values.fileName, "/data/run.txt");
    EXPECT_NE(dlg.result(), QDialog::Accepted) << "a failed check keeps the dialog open";

    // Retyped by hand, even to the same name, it is asked about again.
    name->setText(QStringLiteral("/data/run.tx"));
    name->setText(QStringLiteral("/data/run.txt"));
    EXPECT_TRUE(dlg.AskBeforeReplace());
    allow = true;
    Click(&dlg, "ok");
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_TRUE(calls[1].ask);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
}

TEST(ExportReplaySetup, HasItsControlsAndRunsTheClosingCheck) {
    TExportReplaySetupHooks hooks;
    std::vector<std::pair<TExportReplayXfer, bool>> calls;
    hooks.browse = [] { return std::string("/data/heat.rpl"); };
    hooks.canClose = [&](const TExportReplayXfer& x, bool ask) {
        calls.emplace_back(x, ask);
        return calls.size() > 1;
    };
    TExportReplaySetup dlg({true, "old.rpl"}, hooks);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Export to Replay"));
    auto* name = Find<QLineEdit>(&dlg, "fileName");
    auto* separate = Find<QCheckBox>(&dlg, "separateLaps");
    ASSERT_TRUE(name && separate);
    EXPECT_EQ(Id(name), 101);
    EXPECT_EQ(Id(separate), 103);
    EXPECT_EQ(Id(Find<QPushButton>(&dlg, "browse")), 102);
    EXPECT_EQ(Find<QLabel>(&dlg, "fileNameLabel")->text(), QStringLiteral("&File Name"));
    EXPECT_EQ(separate->text(), QStringLiteral("&Put replays on separate laps"));
    EXPECT_TRUE(separate->isChecked());
    EXPECT_EQ(name->text(), QStringLiteral("old.rpl"));

    Click(&dlg, "ok");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_TRUE(calls[0].second);
    EXPECT_NE(dlg.result(), QDialog::Accepted);
    Click(&dlg, "browse");
    separate->setChecked(false);
    Click(&dlg, "ok");
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_FALSE(calls[1].second);
    EXPECT_EQ(calls[1].first.fileName, "/data/heat.rpl");
    EXPECT_FALSE(calls[1].first.separateLaps);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);

    int topic = 0;
    dlg.SetHelpHandler([&](int t) { topic = t; });
    Click(&dlg, "help");
    EXPECT_EQ(topic, 4);
}
