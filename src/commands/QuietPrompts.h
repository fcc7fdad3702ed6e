#pragma once
// Prompts for code that runs the commands without a user (the render run, tests and
// benchmarks): every question is declined (a message box answers OK), and the
// user-interface requests are dropped. Callers override what they want to see.
#include "commands/ExportCommands.h"
#include "commands/Prompts.h"

class TQuietPrompts : public TPrompts {
  public:
    TMsgAnswer MessageBox(const std::string&, const std::string&, TMsgIcon, TMsgButtons) override {
        return TMsgAnswer::Ok;
    }
    bool OpenFileDialog(TFileDialogXfer&) override { return false; }
    bool SaveFileDialog(TFileDialogXfer&) override { return false; }
    bool ChooseTrack(TChooseTrackXfer&) override { return false; }
    bool ImportLap(TImportLapXfer&, const TImportLapSource&) override { return false; }
    bool ImportAverageLaps(TImportLapXfer&, const TImportLapSource&) override { return false; }
    bool ChooseLap(TChooseLapXfer&) override { return false; }
    bool EditInfo(TEditInfoXfer&) override { return false; }
    bool ExportImageSize(TExportImageXfer&) override { return false; }
    bool ChooseCompFile(TChooseCompFileXfer&) override { return false; }
    int RunArchiveExtraction(const std::function<int(TArchiveProgress&)>&) override {
        return 23;  // stopped, as after Abort
    }
    bool ExportSetup(TExportSettings&, const TExportSetupHooks&) override { return false; }
    bool ExportReplaySetup(TExportReplayXfer&, const TExportReplaySetupHooks&) override {
        return false;
    }
    void RunWithProgress(const std::string&,
                         const std::function<void(const TProgressReport&)>& work) override {
        work([](int) { return true; });
    }
    void SetWaitCursor(bool) override {}
    void SetStatusText(const std::string&) override {}
    TWindowRect SideWindowRect(TSideWindow) override { return {}; }
};
