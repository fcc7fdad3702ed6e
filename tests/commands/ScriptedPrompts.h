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
#include "commands/Prompts.h"
#include "document/TReplay.h"

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
    std::deque<std::optional<std::string>> archives;  // extracted path, or nullopt: failed
    std::map<TSideWindow, TWindowRect> rects;

    // ---- what was asked and told ----
    std::vector<std::string> log;
    std::vector<TFileDialogXfer> fileDialogs;
    std::vector<TChooseTrackXfer> trackDialogs;
    std::vector<TImportLapXfer> importDialogs;
    std::vector<TChooseLapXfer> lapDialogs;
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
    bool ExtractReplayFromArchive(const std::string& archivePath, std::string& out) override {
        log.push_back("Dialog: Archive | " + archivePath);
        if (archives.empty()) {
            ADD_FAILURE() << "unscripted archive step";
            return false;
        }
        auto a = archives.front();
        archives.pop_front();
        if (!a) return false;
        out = *a;
        return true;
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
