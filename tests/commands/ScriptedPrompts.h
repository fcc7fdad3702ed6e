#pragma once
// A TPrompts that answers from a script and records everything it was asked, and every
// change the document announced (it subscribes as a window would), in order, as one line
// of text per call. A question the script has no answer for fails the
// test and is answered with Cancel.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "commands/DocumentChange.h"
#include "commands/ExportCommands.h"
#include "commands/Prompts.h"
#include "document/TReplay.h"
#include "platform/Archive.h"

namespace commands_test {

inline const char* IconName(TMsgIcon i) {
    switch (i) {
        case TMsgIcon::Exclamation:
            return "Exclamation";
        case TMsgIcon::Stop:
            return "Stop";
        case TMsgIcon::Question:
            return "Question";
        case TMsgIcon::Information:
            return "Information";
    }
    return "?";
}

inline const char* ButtonsName(TMsgButtons b) {
    switch (b) {
        case TMsgButtons::Ok:
            return "Ok";
        case TMsgButtons::YesNo:
            return "YesNo";
        case TMsgButtons::YesNoCancel:
            return "YesNoCancel";
    }
    return "?";
}

// "Message: title | text | icon | buttons", the form the tests compare against.
inline std::string Msg(const std::string& title, const std::string& text,
                       TMsgIcon icon = TMsgIcon::Exclamation, TMsgButtons b = TMsgButtons::Ok) {
    return "Message: " + title + " | " + text + " | " + IconName(icon) + " | " + ButtonsName(b);
}
inline const std::string kSaveQuestion = Msg("Save File", "File has changed.\nSave before closing?",
                                             TMsgIcon::Question, TMsgButtons::YesNoCancel);

class ScriptedPrompts : public TPrompts, public TDocumentObserver {
  public:
    // ---- the script ----
    std::deque<TMsgAnswer> answers;                    // message boxes with a question
    std::deque<std::optional<std::string>> openFiles;  // nullopt: Cancel
    std::deque<std::optional<std::string>> saveFiles;
    struct TrackAnswer {
        bool ok;
        int32_t selection;
        bool remember;
    };
    std::deque<TrackAnswer> tracks;
    // Import dialogs: the function sets the selections it wants; false cancels.
    std::deque<std::function<bool(TImportLapXfer&, const TImportLapSource&)>> importLaps;
    std::deque<std::optional<int32_t>> chooseLaps;
    std::deque<std::optional<TEditInfoXfer>> editInfos;
    std::deque<std::optional<TExportImageXfer>> imageSizes;
    std::deque<std::optional<int32_t>> compFiles;  // the member chosen, or nullopt: Cancel
    // The progress dialog's side of an extraction: the number it holds after each message
    // (by default 0, never stopping).
    std::function<int(int number, const std::string& text)> archiveProgress;
    std::deque<std::function<bool(TExportSettings&, const TExportSetupHooks&)>> exportSetups;
    std::deque<std::function<bool(TExportReplayXfer&, const TExportReplaySetupHooks&)>>
        exportReplaySetups;
    // The progress dialog of long work: false once the user cancels (by default never).
    std::function<bool(int percent)> progressAnswer;
    std::map<TSideWindow, TWindowRect> rects;

    // ---- what was asked and told ----
    std::vector<std::string> log;
    std::vector<TFileDialogXfer> fileDialogs;
    std::vector<TChooseTrackXfer> trackDialogs;
    std::vector<TImportLapXfer> importDialogs;
    std::vector<TChooseLapXfer> lapDialogs;
    std::vector<TChooseCompFileXfer> compFileDialogs;
    std::vector<std::pair<int, std::string>> archivePosts;  // every message of extractions
    std::vector<int> progressReports;
    std::string caption = "Korvale";
    int waitDepth = 0;

    // Only the entries whose text starts with prefix, in order.
    std::vector<std::string> Only(const std::string& prefix) const {
        std::vector<std::string> out;
        for (const auto& l : log)
            if (l.rfind(prefix, 0) == 0) out.push_back(l);
        return out;
    }
    // The questions, messages and dialogs, without the window notifications.
    std::vector<std::string> Asked() const {
        std::vector<std::string> out;
        for (const auto& l : log)
            if (l.rfind("Message:", 0) == 0 || l.rfind("Dialog:", 0) == 0) out.push_back(l);
        return out;
    }
    void ClearLog() { log.clear(); }

    TMsgAnswer MessageBox(const std::string& title, const std::string& text, TMsgIcon icon,
                          TMsgButtons buttons) override {
        log.push_back(Msg(title, text, icon, buttons));
        if (buttons == TMsgButtons::Ok) return TMsgAnswer::Ok;
        if (answers.empty()) {
            ADD_FAILURE() << "unscripted question: " << text;
            return TMsgAnswer::Cancel;
        }
        TMsgAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    bool OpenFileDialog(TFileDialogXfer& x) override { return File("Open", openFiles, x); }
    bool SaveFileDialog(TFileDialogXfer& x) override { return File("Save", saveFiles, x); }

    bool ChooseTrack(TChooseTrackXfer& x) override {
        log.push_back("Dialog: Choose Track | " + x.scopeText);
        trackDialogs.push_back(x);
        if (tracks.empty()) {
            ADD_FAILURE() << "unscripted track choice";
            return false;
        }
        TrackAnswer a = tracks.front();
        tracks.pop_front();
        x.selection = a.selection;
        x.remember = a.remember;
        return a.ok;
    }
    bool ImportLap(TImportLapXfer& x, const TImportLapSource& s) override {
        return Import("Import Lap", x, s);
    }
    bool ImportAverageLaps(TImportLapXfer& x, const TImportLapSource& s) override {
        return Import("Import Average Lap", x, s);
    }
    bool ChooseLap(TChooseLapXfer& x) override {
        log.push_back("Dialog: Select a Lap");
        lapDialogs.push_back(x);
        if (chooseLaps.empty()) {
            ADD_FAILURE() << "unscripted lap choice";
            return false;
        }
        auto a = chooseLaps.front();
        chooseLaps.pop_front();
        if (!a) return false;
        x.selection = *a;
        return true;
    }
    bool EditInfo(TEditInfoXfer& x) override {
        log.push_back("Dialog: Edit Replay Info | " + x.name);
        if (editInfos.empty()) {
            ADD_FAILURE() << "unscripted edit";
            return false;
        }
        auto a = editInfos.front();
        editInfos.pop_front();
        if (!a) return false;
        x = *a;
        return true;
    }
    bool ExportImageSize(TExportImageXfer& x) override {
        log.push_back("Dialog: Export Image");
        if (imageSizes.empty()) {
            ADD_FAILURE() << "unscripted image size";
            return false;
        }
        auto a = imageSizes.front();
        imageSizes.pop_front();
        if (!a) return false;
        x = *a;
        return true;
    }
    bool ChooseCompFile(TChooseCompFileXfer& x) override {
        std::string names;
        for (const auto& n : x.names) names += (names.empty() ? "" : ", ") + n;
        log.push_back("Dialog: Import Replay | " + names);
        compFileDialogs.push_back(x);
        if (compFiles.empty()) {
            ADD_FAILURE() << "unscripted archive member choice";
            return false;
        }
        auto a = compFiles.front();
        compFiles.pop_front();
        if (!a) return false;
        x.selection = *a;
        return true;
    }
    int RunArchiveExtraction(const std::function<int(TArchiveProgress&)>& extraction) override {
        log.push_back("Dialog: Extracting");
        struct Recorder : TArchiveProgress {
            ScriptedPrompts* self;
            int Post(int number, const std::string& text) override {
                self->archivePosts.emplace_back(number, text);
                return self->archiveProgress ? self->archiveProgress(number, text) : 0;
            }
        } recorder;
        recorder.self = this;
        return extraction(recorder);
    }
    bool ExportSetup(TExportSettings& x, const TExportSetupHooks& hooks) override {
        log.push_back("Dialog: Export Data");
        if (exportSetups.empty()) {
            ADD_FAILURE() << "unscripted export dialog";
            return false;
        }
        auto f = exportSetups.front();
        exportSetups.pop_front();
        return f(x, hooks);
    }
    bool ExportReplaySetup(TExportReplayXfer& x, const TExportReplaySetupHooks& hooks) override {
        log.push_back("Dialog: Export to Replay");
        if (exportReplaySetups.empty()) {
            ADD_FAILURE() << "unscripted export dialog";
            return false;
        }
        auto f = exportReplaySetups.front();
        exportReplaySetups.pop_front();
        return f(x, hooks);
    }
    void RunWithProgress(const std::string& text,
                         const std::function<void(const TProgressReport&)>& work) override {
        log.push_back("Progress: " + text);
        work([this](int percent) {
            progressReports.push_back(percent);
            return progressAnswer ? progressAnswer(percent) : true;
        });
    }

    void SetWaitCursor(bool wait) override {
        waitDepth = wait ? 1 : 0;
        log.push_back(wait ? "Wait: on" : "Wait: off");
    }
    void SetStatusText(const std::string& t) override { log.push_back("Status: " + t); }
    void Changed(const TDocumentChange& change) override {
        if (change.kind == TChangeKind::CaptionChanged) caption = change.caption;
        log.push_back(ChangeText(change));
    }
    TWindowRect SideWindowRect(TSideWindow which) override { return rects[which]; }

  private:
    bool File(const char* kind, std::deque<std::optional<std::string>>& q, TFileDialogXfer& x) {
        log.push_back(std::string("Dialog: ") + kind + " | " + x.title + " | " + x.initialPath);
        fileDialogs.push_back(x);
        if (q.empty()) {
            ADD_FAILURE() << "unscripted file dialog " << kind;
            return false;
        }
        auto a = q.front();
        q.pop_front();
        if (!a) return false;
        x.path = *a;
        return true;
    }
    bool Import(const char* name, TImportLapXfer& x, const TImportLapSource& s) {
        log.push_back(std::string("Dialog: ") + name);
        importDialogs.push_back(x);
        if (importLaps.empty()) {
            ADD_FAILURE() << "unscripted import dialog";
            return false;
        }
        auto f = importLaps.front();
        importLaps.pop_front();
        return f(x, s);
    }
};

}  // namespace commands_test
