#include "app/TKorvaleApp.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QSettings>
#include <QTimer>
#include <QToolButton>
#include <QWhatsThis>

#include "app/HelpWindow.h"
#include "app/OpenCommandRepair.h"
#include "app/ShellPrompts.h"
#include "app/TKorvaleWindow.h"
#include "app/TSDIDecFrame.h"

TKorvaleApp::TKorvaleApp(const AppPaths& paths, std::string startupDocument)
    : paths_(paths), startupDocument_(std::move(startupDocument)) {
    setObjectName(QStringLiteral("Korvale"));
    // Qt's own dialogs keep state (the colour dialog's custom colours, the file dialog's
    // history) in a file shared by every Qt program; Korvale's settings live in its own file
    // and those are kept for the run only, so Qt's file is pointed where nothing is written.
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, QStringLiteral("/dev/null"));
    RepairRegisteredOpenCommand();
    helpLoaded_ = help_.Load(paths_.helpFile);
    qApp->installEventFilter(this);
}

TKorvaleApp::~TKorvaleApp() {
    qApp->removeEventFilter(this);
    LeaveContextHelp();
    // The mode is application-wide and its delayed end (TakeCommandForHelp) dies with this
    // object: it must not outlive the application that entered it.
    if (QWhatsThis::inWhatsThisMode()) QWhatsThis::leaveWhatsThisMode();
    helpWindow_.reset();
    // The frame owns the window, whose destruction writes the graph axes.
    frame_.reset();
}

bool TKorvaleApp::CreateMainWindow() {
    auto window = std::make_unique<TKorvaleWindow>(paths_);
    window_ = window.get();
    window_->prompts().SetNonInteractive(nonInteractive_);
    if (answerer_) window_->prompts().SetMessageAnswerer(answerer_);
    connect(window_, &TKorvaleWindow::helpRequested, this, &TKorvaleApp::HelpTopic);
    frame_ = std::make_unique<TSDIDecFrame>(*this, window.release(), window_->settings());
    if (!window_->Setup()) return false;
    frame_->UpdateCommands();
    window_->OpenStartupDocument(startupDocument_);
    return true;
}

bool TKorvaleApp::ShowHelp(int topic) {
    // A help file put in place after the start is found on the next request.
    if (!helpLoaded_) helpLoaded_ = help_.Load(paths_.helpFile);
    if (!helpLoaded_ || help_.Find(topic) == nullptr) {
        // Saying so, rather than ignoring the key: the user learns where help was looked for.
        const std::string text = !helpLoaded_
                                     ? "Unable to open the help file " + paths_.helpFile
                                     : "The help file has no topic " + std::to_string(topic);
        if (window_ != nullptr)
            window_->prompts().MessageBox("Korvale Help", text, TMsgIcon::Exclamation,
                                          TMsgButtons::Ok);
        return false;
    }
    if (QWidget* modal = QApplication::activeModalWidget()) {
        // A dialog's Help button: a window of the dialog's own, since the dialog blocks every
        // other window of the program while it is open. It goes with the dialog.
        auto* window = new HelpWindow(help_, modal);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->ShowTopic(topic);
        window->show();
        shownHelp_ = window;
    } else {
        if (!helpWindow_) helpWindow_ = std::make_unique<HelpWindow>(help_);
        helpWindow_->ShowTopic(topic);
        helpWindow_->show();
        helpWindow_->raise();
        shownHelp_ = helpWindow_.get();
        if (frame_ != nullptr && !frame_->isVisible()) raiseHelpWhenFrameShows_ = true;
    }
    helpOpened_ = true;
    return true;
}

bool TKorvaleApp::HelpContents() {
    return ShowHelp(HelpFile::kContents);
}
bool TKorvaleApp::HelpOnHelp() {
    return ShowHelp(HelpFile::kHelpOnHelp);
}
bool TKorvaleApp::HelpTopic(int topic) {
    return ShowHelp(topic);
}

void TKorvaleApp::EnterContextHelp() {
    if (contextHelp_) return;
    contextHelp_ = true;
    // The what's-this mode shows the help cursor over every window and menu.
    QWhatsThis::enterWhatsThisMode();
}

void TKorvaleApp::LeaveContextHelp() {
    if (!contextHelp_) return;
    contextHelp_ = false;
    if (QWhatsThis::inWhatsThisMode()) QWhatsThis::leaveWhatsThisMode();
}

bool TKorvaleApp::TakeCommandForHelp(int id) {
    if (!contextHelp_) return false;
    contextHelp_ = false;
    // Left after the event that chose the command is done: the what's-this machinery may
    // be the one delivering it.
    QTimer::singleShot(0, this, [this] {
        if (!contextHelp_ && QWhatsThis::inWhatsThisMode()) QWhatsThis::leaveWhatsThisMode();
    });
    ShowHelp(id);
    return true;
}

bool TKorvaleApp::CanClose() {
    if (helpOpened_ && helpWindow_) helpWindow_->close();
    if (helpOpened_ && shownHelp_ && shownHelp_ != helpWindow_.get()) shownHelp_->close();
    return true;
}

namespace {
int CommandOf(const QAction* action) {
    if (action == nullptr) return 0;
    bool ok = false;
    const int id = action->data().toInt(&ok);
    return ok ? id : 0;
}
void CloseMenus(QMenu* menu) {
    // Closing the innermost menu of a chain; the menu bar lets go of the rest.
    for (QWidget* w = menu; w != nullptr; w = w->parentWidget())
        if (auto* m = qobject_cast<QMenu*>(w)) m->hide();
}
}  // namespace

bool TKorvaleApp::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::Show && raiseHelpWhenFrameShows_ && watched == frame_.get()) {
        raiseHelpWhenFrameShows_ = false;
        // After the window manager has mapped the frame (which it stacks on top), and once
        // more in case it was slow to.
        for (const int delay : {0, 300}) {
            QTimer::singleShot(delay, this, [this] {
                if (helpWindow_ == nullptr || !helpWindow_->isVisible()) return;
                helpWindow_->raise();
                helpWindow_->activateWindow();
            });
        }
    }
    if (type == QEvent::LeaveWhatsThisMode) {
        // Escape or a click outside any command ends the mode without a topic.
        contextHelp_ = false;
        return false;
    }
    auto* menu = qobject_cast<QMenu*>(watched);
    if (type == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // F1 on an open menu: the highlighted item's topic.
        if (menu != nullptr && key->key() == Qt::Key_F1 && key->modifiers() == Qt::NoModifier) {
            if (const int id = CommandOf(menu->activeAction())) {
                CloseMenus(menu);
                LeaveContextHelp();
                ShowHelp(id);
                return true;
            }
        }
        if (contextHelp_ && menu != nullptr &&
            (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            if (const int id = CommandOf(menu->activeAction())) {
                CloseMenus(menu);
                TakeCommandForHelp(id);
                return true;
            }
        }
        return false;
    }
    if (!contextHelp_) return false;
    // In context-help mode menus and tool buttons do not run their command: the command's
    // topic opens instead. Menus in this mode would only show a what's-this text.
    if (type == QEvent::MouseButtonRelease && menu != nullptr) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (const int id = CommandOf(menu->actionAt(mouse->position().toPoint()))) {
            CloseMenus(menu);
            TakeCommandForHelp(id);
            return true;
        }
    }
    if (type == QEvent::WhatsThis) {
        if (auto* button = qobject_cast<QToolButton*>(watched)) {
            if (const int id = CommandOf(button->defaultAction())) {
                TakeCommandForHelp(id);
                return true;
            }
        }
    }
    return false;
}
