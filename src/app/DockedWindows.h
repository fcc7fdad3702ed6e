#pragma once
// View > Dock Side Windows: the lap list, the data window, the sectors window, the
// picture-in-picture window and the G-G plot become dock widgets of the main frame (left,
// right or bottom, tabbed or side by side, floatable), laid out as the user left them: the
// frame's own saveState, kept in the settings file ("window", "dockstate"). Off, they are
// floating tool windows again where they were. Each dock shows while its window's command
// has it shown.
#include <QByteArray>
#include <QObject>
#include <QRect>
#include <array>

#include "commands/Prompts.h"

class QDockWidget;
class QMainWindow;
class QWidget;
class TKorvaleWindow;

class TDockedWindows : public QObject {
    Q_OBJECT
  public:
    explicit TDockedWindows(TKorvaleWindow& client);
    ~TDockedWindows() override;

    bool Docked() const { return docked_; }
    // Docks the windows into the frame the client sits in, or floats them again.
    void SetDocked(bool on);
    // After every command: each dock shown exactly while its window is.
    void Sync();
    // At close, while docked: the frame's layout into the settings.
    void SaveState();
    // While docked, where a side window floated before (its stored placement); false when
    // it is not docked.
    bool FloatingPlacement(TSideWindow which, TWindowRect& rect) const;

    QDockWidget* dock(int i) const { return docks_[size_t(i)].dock; }
    static constexpr int kCount = 5;  // lap list, data, sectors, picture-in-picture, G-G plot

  private:
    struct TEntry {
        QWidget* widget = nullptr;
        QWidget* parent = nullptr;  // the window's owner while it floats
        QDockWidget* dock = nullptr;
        Qt::WindowFlags flags;
        QRect geometry;         // the floating window's, to go back to
        TWindowRect placement;  // what the settings get while it is docked
    };
    QWidget* WidgetOf(int i) const;
    bool ShownFlag(int i) const;

    // Without a stored layout, the first showing of a dock gives it a size to read by.
    void FirstSizes();

    TKorvaleWindow& client_;
    QMainWindow* frame_ = nullptr;
    bool docked_ = false;
    bool layoutStored_ = false;
    std::array<bool, 5> sized_{};
    std::array<TEntry, kCount> docks_{};
};
