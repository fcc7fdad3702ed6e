#pragma once
// The prompts of the main window: the dialogs ask (TQtPrompts), and this class tells the
// windows what a command changed: caption, wait cursor, status text, repaints and the lap
// rows of the side windows.

#include "commands/Prompts.h"

#include <functional>
#include <string>

#include "app/QtPrompts.h"

class TKorvaleWindow;

class TShellPrompts : public TQtPrompts {
  public:
    explicit TShellPrompts(TKorvaleWindow& window);

    // Without a user (a screenshot run): messages go to the error output and take the
    // answer that changes nothing (OK, No, Cancel).
    void SetNonInteractive(bool on) { nonInteractive_ = on; }
    bool nonInteractive() const { return nonInteractive_; }
    // Answers message boxes in place of the user (tests and the scripted smoke run).
    using TMessageAnswerer = std::function<TMsgAnswer(
        const std::string& title, const std::string& text, TMsgIcon icon, TMsgButtons buttons)>;
    void SetMessageAnswerer(TMessageAnswerer answerer) { answerer_ = std::move(answerer); }
    TMsgAnswer MessageBox(const std::string& title, const std::string& text, TMsgIcon icon,
                          TMsgButtons buttons) override;

    void SetCaption(const std::string& caption) override;
    void SetWaitCursor(bool wait) override;
    void SetStatusText(const std::string& text) override;
    void LapsChanged() override;
    void Repaint() override;
    void LapAdded(const TReplay& lap) override;
    void LapEdited(int32_t index, const TReplay& lap) override;
    void LapRemoved(int32_t index) override;
    void AllLapsRemoved() override;
    void TrackOpened(bool hasGeometry) override;
    void SwitchToGraph() override;
    void ClosePictureInPicture() override;
    TWindowRect SideWindowRect(TSideWindow which) override;

  private:
    TKorvaleWindow& window_;
    int waitDepth_ = 0;
    bool nonInteractive_ = false;
    TMessageAnswerer answerer_;
};
