#pragma once
// The application: the program's paths, the main frame and window, the help file and its
// window, the context-help mode, and the close check.

#include <QObject>
#include <QPointer>
#include <memory>
#include <string>

#include "app/AppPaths.h"
#include "app/HelpFile.h"
#include "app/HelpWindow.h"
#include "app/ShellPrompts.h"

class TKorvaleWindow;
class TSDIDecFrame;

class TKorvaleApp : public QObject {
    Q_OBJECT
  public:
    TKorvaleApp(const AppPaths& paths, std::string startupDocument);
    ~TKorvaleApp() override;

    // Creates the main window and the frame around it, runs the window's setup and opens
    // the startup document. False after the fatal track-data message: the program ends.
    bool CreateMainWindow();
    // No user to answer: see TShellPrompts::SetNonInteractive. Set before CreateMainWindow.
    void SetNonInteractive(bool on) { nonInteractive_ = on; }
    // Message boxes answered by this function instead of the user; set before
    // CreateMainWindow (tests, scripted runs).
    void SetMessageAnswerer(TShellPrompts::TMessageAnswerer answerer) {
        answerer_ = std::move(answerer);
    }

    TSDIDecFrame* frame() const { return frame_.get(); }
    TKorvaleWindow* window() const { return window_; }
    const AppPaths& paths() const { return paths_; }

    // Help commands. Each returns whether the help was shown.
    bool HelpContents();
    bool HelpOnHelp();
    bool HelpTopic(int topic);
    bool helpOpened() const { return helpOpened_; }
    // The help window of the menus and keys; nullptr until help was first shown there.
    HelpWindow* helpWindow() const { return helpWindow_.get(); }
    // The help window shown last: that one, or one opened over a modal dialog.
    HelpWindow* shownHelpWindow() const { return shownHelp_.data(); }
    const HelpFile& helpFile() const { return help_; }

    // Context help (Shift+F1): the next command chosen opens its topic instead of running.
    void EnterContextHelp();
    void LeaveContextHelp();
    bool inContextHelp() const { return contextHelp_; }
    // The frame's dispatch asks this first: true when the command was taken for help.
    bool TakeCommandForHelp(int id);

    // Before the frame closes: closes the help window when it was opened.
    bool CanClose();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool ShowHelp(int topic);

    AppPaths paths_;
    std::string startupDocument_;
    HelpFile help_;
    bool helpLoaded_ = false;
    bool helpOpened_ = false;
    bool contextHelp_ = false;
    bool nonInteractive_ = false;
    // Help opened before the frame was shown (the welcome on a first start): the frame,
    // mapped after it, would cover it, so it is raised again once the frame shows.
    bool raiseHelpWhenFrameShows_ = false;
    TShellPrompts::TMessageAnswerer answerer_;
    std::unique_ptr<HelpWindow> helpWindow_;
    QPointer<HelpWindow> shownHelp_;
    TKorvaleWindow* window_ = nullptr;  // owned by the frame
    std::unique_ptr<TSDIDecFrame> frame_;
};
