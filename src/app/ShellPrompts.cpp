#include "app/ShellPrompts.h"

#include <QApplication>
#include <QCursor>
#include <cstdio>

#include "app/TKorvaleWindow.h"

TShellPrompts::TShellPrompts(TKorvaleWindow& window) : TQtPrompts(&window), window_(window) {}

TMsgAnswer TShellPrompts::MessageBox(const std::string& title, const std::string& text,
                                     TMsgIcon icon, TMsgButtons buttons) {
    if (answerer_) return answerer_(title, text, icon, buttons);
    if (!nonInteractive_) return TQtPrompts::MessageBox(title, text, icon, buttons);
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    return UnchangingAnswer(buttons);
}

void TShellPrompts::SetWaitCursor(bool wait) {
    // A flag, not a count: the commands switch the wait cursor on and off like a cursor
    // setting, so a repeated "on" must not need two "off"s.
    if (wait && waitDepth_ == 0) {
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        waitDepth_ = 1;
    } else if (!wait && waitDepth_ != 0) {
        QApplication::restoreOverrideCursor();
        waitDepth_ = 0;
    }
}

void TShellPrompts::SetStatusText(const std::string& text) {
    window_.SetStatus(QString::fromStdString(text));
}

TWindowRect TShellPrompts::SideWindowRect(TSideWindow which) {
    // The side windows are created hidden at the placement the settings give; until they
    // exist, that placement is what they would report, so closing keeps it.
    return window_.SideWindowPlacement(static_cast<int>(which));
}
