#pragma once
// Prompts for code that runs the commands without a user: every question is declined (a
// message box answers OK), every notice to the windows is dropped. Tests override what
// they want to see.
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
    void SetCaption(const std::string&) override {}
    void SetWaitCursor(bool) override {}
    void SetStatusText(const std::string&) override {}
    void LapsChanged() override {}
    void Repaint() override {}
    void LapAdded(const TReplay&) override {}
    void LapEdited(int32_t, const TReplay&) override {}
    void LapRemoved(int32_t) override {}
    void AllLapsRemoved() override {}
    void TrackOpened(bool) override {}
    void SwitchToGraph() override {}
    void ClosePictureInPicture() override {}
    TWindowRect SideWindowRect(TSideWindow) override { return {}; }
};
