#pragma once
// The main frame: menu 100, the accelerators, the "Toolbar" tool bar, the status bar with
// its text field and lock-key indicators, the frame's placement, dropped files and the
// close check. One QAction per command id; one enabler pass updates them all.

#include <QMainWindow>
#include <map>

class QAction;
class QLabel;
class QMenu;
class QToolBar;
class TKorvaleApp;
class TKorvaleWindow;
class ProfileFile;

class TSDIDecFrame : public QMainWindow {
    Q_OBJECT
  public:
    TSDIDecFrame(TKorvaleApp& app, TKorvaleWindow* client, ProfileFile& settings);

    QAction* action(int id) const;
    const std::map<int, QAction*>& actions() const { return actions_; }
    QLabel* statusField() const { return statusField_; }
    QToolBar* toolBar() const { return toolBar_; }
    TKorvaleWindow* client() const { return client_; }
    bool maximized() const { return maximized_; }

    // Runs every command's enabler; after each state change and when a menu opens.
    void UpdateCommands();
    // Chooses a command as the menus, tool bar and accelerators do.
    void Dispatch(int id);

    // The stored placement, or the screen-relative defaults.
    QRect StoredPlacement() const;
    // How much of the stored outer size the decorations took at the last close.
    QSize StoredDecoration() const;
    // Writes "appx" … "apph", "appmax" and the decorations' share unless maximized.
    void SavePlacement();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void BuildMenus();
    void BuildToolBar();
    void BuildStatusBar();
    void FillRecentFiles();
    void FitStoredPlacement();

    TKorvaleApp& app_;
    TKorvaleWindow* client_;
    ProfileFile& settings_;
    std::map<int, QAction*> actions_;
    QMenu* fileMenu_ = nullptr;
    QAction* recentAnchor_ = nullptr;  // the recent-files entries go before it
    QList<QAction*> recentActions_;
    QToolBar* toolBar_ = nullptr;
    QLabel* statusField_ = nullptr;
    bool maximized_ = false;
    bool placementFitted_ = false;
    QRect placement_;
};
