#pragma once
// The prompts of the main window: the dialogs ask (TQtPrompts); this class adds the wait
// cursor, the status text, the side windows' placement and the answers without a user.

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

    void SetWaitCursor(bool wait) override;
    void SetStatusText(const std::string& text) override;
    TWindowRect SideWindowRect(TSideWindow which) override;

  private:
    TKorvaleWindow& window_;
    int waitDepth_ = 0;
    bool nonInteractive_ = false;
    TMessageAnswerer answerer_;
};
