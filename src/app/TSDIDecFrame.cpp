#include "app/TSDIDecFrame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>

#include "app/AppIcons.h"
#include "app/CommandTable.h"
#include "app/LockKeyIndicators.h"
#include "app/Screenshot.h"
#include "app/SideWindows.h"
#include "app/TKorvaleAboutDlg.h"
#include "app/TKorvaleApp.h"
#include "app/TKorvaleWindow.h"
#include "app/ToolBarGadgets.h"
#include "app/VersionData.h"
#include "commands/CommandIds.h"
#include "commands/RecentFiles.h"
#include "platform/ProfileFile.h"

namespace {
QString MenuText(const char* text) {
    return QString::fromUtf8(text).section(QLatin1Char('\t'), 0, 0);
}
QString ShownKey(const char* text) {
    return QString::fromUtf8(text).section(QLatin1Char('\t'), 1);
}
}  // namespace

TSDIDecFrame::TSDIDecFrame(TKorvaleApp& app, TKorvaleWindow* client, ProfileFile& settings)
    : app_(app), client_(client), settings_(settings) {
    setObjectName(QStringLiteral("mainFrame"));
    setWindowTitle(client->caption());
    setWindowIcon(AppIcon());
    setCentralWidget(client);
    setMinimumSize(320, 320);
    setAcceptDrops(true);

    // The stored rectangle is the outer one; the size given to the frame is its inside, so
    // the decorations of the last run are taken off (they are refitted once known).
    placement_ = StoredPlacement();
    move(placement_.topLeft());
    resize(placement_.size() - StoredDecoration());

    BuildMenus();
    BuildToolBar();
    BuildStatusBar();
    // F11 and F12 also close the side windows from inside them.
    client_->sideWindows().AddKeys({action(cmd::Info), action(cmd::Data)});

    connect(client_, &TKorvaleWindow::stateChanged, this, &TSDIDecFrame::UpdateCommands);
    connect(client_, &TKorvaleWindow::captionChanged, this, &QWidget::setWindowTitle);
    connect(client_, &TKorvaleWindow::statusChanged, statusField_, &QLabel::setText);
    UpdateCommands();
}

QAction* TSDIDecFrame::action(int id) const {
    const auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

void TSDIDecFrame::BuildMenus() {
    std::map<int, QString> keys;
    for (const TAccelerator& a : AcceleratorTable()) keys[a.id] = QString::fromLatin1(a.key);

    for (const TMenuLayout& menuLayout : MainMenuLayout()) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(menuLayout.title));
        menu->setObjectName(QString::fromUtf8(menuLayout.title).remove(QLatin1Char('&')) +
                            QStringLiteral("Menu"));
        QMenu* target = menu;
        const bool isFile = menuLayout.entries.front().id == cmd::FileNew;
        if (isFile) fileMenu_ = menu;
        connect(menu, &QMenu::aboutToShow, this, &TSDIDecFrame::UpdateCommands);
        for (const TMenuEntry& e : menuLayout.entries) {
            switch (e.kind) {
                case TMenuEntry::Separator:
                    target->addSeparator();
                    break;
                case TMenuEntry::SubMenuBegin:
                    target = menu->addMenu(QString::fromUtf8(e.text));
                    connect(target, &QMenu::aboutToShow, this, &TSDIDecFrame::UpdateCommands);
                    break;
                case TMenuEntry::SubMenuEnd:
                    target = menu;
                    break;
                case TMenuEntry::RecentFiles:
                    break;  // filled before the next entry, see FillRecentFiles
                case TMenuEntry::Command: {
                    auto* act = new QAction(MenuText(e.text), this);
                    act->setData(e.id);
                    act->setObjectName(QStringLiteral("cmd%1").arg(e.id));
                    act->setStatusTip(QString::fromUtf8(e.hint));
                    act->setIcon(CommandIcon(e.id));
                    act->setIconVisibleInMenu(false);
                    const auto key = keys.find(e.id);
                    if (key != keys.end()) {
                        act->setShortcut(QKeySequence(key->second));
                    } else if (!ShownKey(e.text).isEmpty()) {
                        // Alt+F4 closes the frame as the window manager's close does.
                        act->setShortcut(QKeySequence(ShownKey(e.text)));
                    }
                    for (const TAccelerator& extra : SecondaryShortcuts())
                        if (extra.id == e.id)
                            act->setShortcuts(act->shortcuts()
                                              << QKeySequence(QString::fromLatin1(extra.key)));
                    const int id = e.id;
                    connect(act, &QAction::triggered, this, [this, id] { Dispatch(id); });
                    target->addAction(act);
                    actions_[e.id] = act;
                    if (isFile && e.id == cmd::Exit) recentAnchor_ = act;
                    break;
                }
            }
        }
    }
    // Help keys that are not menu items: F1 for the contents, Shift+F1 for context help.
    auto* f1 = new QAction(this);
    f1->setObjectName(QStringLiteral("helpKey"));
    f1->setShortcut(QKeySequence(Qt::Key_F1));
    connect(f1, &QAction::triggered, this, [this] { app_.HelpContents(); });
    addAction(f1);
    auto* shiftF1 = new QAction(this);
    shiftF1->setObjectName(QStringLiteral("contextHelpKey"));
    shiftF1->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1));
    connect(shiftF1, &QAction::triggered, this, [this] { app_.EnterContextHelp(); });
    addAction(shiftF1);
    // Test hook of the smoke test, which drives the program from outside: with
    // KORVALE_TEST_SCREENSHOT set, Ctrl+Shift+F12 writes the frame into that PNG file.
    const QString shotFile = qEnvironmentVariable("KORVALE_TEST_SCREENSHOT");
    if (!shotFile.isEmpty()) {
        auto* shot = new QAction(this);
        shot->setObjectName(QStringLiteral("testScreenshotKey"));
        shot->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F12));
        connect(shot, &QAction::triggered, this,
                [this, shotFile] { WriteScreenshot(*this, shotFile.toStdString()); });
        addAction(shot);
    }
    FillRecentFiles();
}

void TSDIDecFrame::FillRecentFiles() {
    if (fileMenu_ == nullptr || recentAnchor_ == nullptr) return;
    for (QAction* old : recentActions_) {
        fileMenu_->removeAction(old);
        old->setObjectName(QString());
        old->deleteLater();  // it may be the entry being chosen right now
    }
    recentActions_.clear();
    const std::vector<std::string> files = ReadRecentFiles(settings_);
    for (size_t i = 0; i < files.size(); ++i) {
        const std::string path = files[i];
        QString shown = QString::fromStdString(path);
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        auto* act = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown), this);
        act->setObjectName(QStringLiteral("recentFile%1").arg(i + 1));
        act->setStatusTip(QStringLiteral("Opens this document"));
        connect(act, &QAction::triggered, this, [this, path] {
            if (app_.TakeCommandForHelp(cmd::FileOpen)) return;
            client_->RecentFileChosen(path);
        });
        fileMenu_->insertAction(recentAnchor_, act);
        recentActions_.push_back(act);
    }
    if (!files.empty()) recentActions_.push_back(fileMenu_->insertSeparator(recentAnchor_));
}

void TSDIDecFrame::BuildToolBar() {
    toolBar_ = new QToolBar(QStringLiteral("Toolbar"), this);
    toolBar_->setObjectName(QStringLiteral("Toolbar"));
    toolBar_->setMovable(true);
    toolBar_->setFloatable(true);
    toolBar_->setIconSize(QSize(16, 16));
    QFont font = toolBar_->font();
    font.setPointSize(10);
    toolBar_->setFont(font);
    for (const TToolBarEntry& e : ToolBarLayout()) {
        if (e.id == 0)
            toolBar_->addWidget(new TNewSeparatorGadget(e.separatorWidth, toolBar_));
        else
            toolBar_->addWidget(MakeToolBarButton(action(e.id), toolBar_));
    }
    addToolBar(Qt::TopToolBarArea, toolBar_);
}

void TSDIDecFrame::BuildStatusBar() {
    auto* bar = new QStatusBar(this);
    statusField_ = new QLabel(bar);
    statusField_->setObjectName(QStringLiteral("statusText"));
    bar->addWidget(statusField_, 1);
    auto* locks = new TLockKeyIndicators(bar);
    bar->addPermanentWidget(locks);
    setStatusBar(bar);
}

void TSDIDecFrame::UpdateCommands() {
    for (const auto& [id, act] : actions_) {
        if (client_->HandlesCommand(id)) {
            const TCommandEnabling e = client_->CommandEnabling(id);
            act->setEnabled(e.enabled);
            act->setCheckable(e.checkable);
            act->setChecked(e.checked);
        } else {
            act->setEnabled(true);  // Exit and the help commands
        }
    }
    FillRecentFiles();
}

void TSDIDecFrame::Dispatch(int id) {
    if (app_.TakeCommandForHelp(id)) return;
    if (!client_->RunCommand(id)) {
        switch (id) {
            case cmd::Exit:
                close();
                break;
            case cmd::HelpContents:
                app_.HelpContents();
                break;
            case cmd::HelpUsing:
                app_.HelpOnHelp();
                break;
            case cmd::About: {
                TKorvaleAboutDlg about(CompiledVersionData(), this);
                about.exec();
                break;
            }
            default:
                break;
        }
    }
    UpdateCommands();
}

QRect TSDIDecFrame::StoredPlacement() const {
    QRect screen(0, 0, 1024, 768);
    if (const QScreen* s = QGuiApplication::primaryScreen()) screen = s->geometry();
    const int sw = screen.width(), sh = screen.height();
    const int x = settings_.ReadInt("window", "appx", static_cast<int>(sw * 0.1));
    const int y = settings_.ReadInt("window", "appy", static_cast<int>(sh * 0.1));
    const int w = settings_.ReadInt("window", "appw", static_cast<int>(sw * 0.8));
    const int h = settings_.ReadInt("window", "apph", static_cast<int>(sh * 0.8));
    const QRect stored(x, y, w, h);
    // A placement left from a screen that is gone (or a damaged settings file) would put the
    // frame where nobody can reach it: then the first-run placement is used instead.
    bool reachable = false;
    for (const QScreen* s : QGuiApplication::screens())
        reachable = reachable || s->availableGeometry().intersected(stored).width() >= 40;
    if (QGuiApplication::screens().isEmpty()) reachable = true;
    if (w <= 0 || h <= 0 || !reachable)
        return {static_cast<int>(sw * 0.1), static_cast<int>(sh * 0.1), static_cast<int>(sw * 0.8),
                static_cast<int>(sh * 0.8)};
    return stored;
}

QSize TSDIDecFrame::StoredDecoration() const {
    const int w = settings_.ReadInt("window", "appdw", 0);
    const int h = settings_.ReadInt("window", "appdh", 0);
    // Decorations take a small part of the frame; anything else is a damaged entry.
    if (w < 0 || h < 0 || w > placement_.width() / 2 || h > placement_.height() / 2) return {};
    return {w, h};
}

void TSDIDecFrame::SavePlacement() {
    if (maximized_) return;
    const QRect outer = frameGeometry();
    settings_.WriteInt("window", "appx", outer.x());
    settings_.WriteInt("window", "appy", outer.y());
    settings_.WriteInt("window", "appw", outer.width());
    settings_.WriteInt("window", "apph", outer.height());
    settings_.WriteText("window", "appmax", "0");
    // How much of the outer size the decorations took, so that the next start gives the
    // inside the rest and the frame comes back at the size stored.
    const QSize decoration = outer.size() - geometry().size();
    settings_.WriteInt("window", "appdw", decoration.width());
    settings_.WriteInt("window", "appdh", decoration.height());
}

void TSDIDecFrame::closeEvent(QCloseEvent* event) {
    if (!client_->CanClose()) {
        event->ignore();
        return;
    }
    SavePlacement();
    app_.CanClose();
    settings_.Flush();  // everything the session changed, in one write
    event->accept();
}

void TSDIDecFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange) maximized_ = isMaximized() && !isMinimized();
    QMainWindow::changeEvent(event);
}

void TSDIDecFrame::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    FitStoredPlacement();
}

void TSDIDecFrame::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    FitStoredPlacement();
}

void TSDIDecFrame::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    FitStoredPlacement();
}

void TSDIDecFrame::FitStoredPlacement() {
    // The stored size is the outer size. A window manager tells the decorations only after
    // the frame is shown (often after the show event), so the first move or resize that
    // knows them makes the outer size the stored one, once; later ones are the user's.
    if (placementFitted_ || !isVisible() || isMaximized() || isMinimized()) return;
    const QSize extra = frameGeometry().size() - geometry().size();
    if (extra == QSize(0, 0)) return;
    placementFitted_ = true;
    if (frameGeometry().size() != placement_.size()) resize(placement_.size() - extra);
}

void TSDIDecFrame::dragEnterEvent(QDragEnterEvent* event) {
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            event->acceptProposedAction();
            return;
        }
    }
}

void TSDIDecFrame::dropEvent(QDropEvent* event) {
    std::vector<std::string> paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) paths.push_back(url.toLocalFile().toStdString());
    event->acceptProposedAction();
    client_->FilesDropped(paths);
    settings_.Flush();  // the recent file of the document opened, as after File > Open
    UpdateCommands();
}
