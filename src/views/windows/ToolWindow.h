#pragma once
// What the floating side windows share: their window style, their 12-point Arial, and
// their placement, which the settings file keeps as the outer rectangle of the window.
#include <QFont>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <Qt>
#include <functional>

#include "commands/Prompts.h"

class QWidget;

// A floating tool window owned by the main window: small caption, sizing border, no
// system menu (no close button: the window's command hides it).
Qt::WindowFlags ToolWindowFlags();

// "Arial", 12 points (the pixel height from the screen's vertical dots per inch, rounded),
// normal weight.
int ToolWindowFontPixels(int logicalDpiY);
QFont ToolWindowFont(int logicalDpiY);

// Keeps a side window at the rectangle the settings give (outer top-left and outer size)
// and reports the rectangle to store. Until the window has been shown the rectangle read is
// the one reported, so a run that never shows it writes back what it read; once shown, the
// window's frame is what counts.
class TToolWindowPlacement {
  public:
    explicit TToolWindowPlacement(QWidget& window) : window_(&window) {}

    // Moves and sizes the window so that its frame covers rect.
    void Place(const TWindowRect& rect);
    // The settings held no placement of the user's (rect.w is 0 or less): the window goes
    // to rect's corner at 160 x 160, and the first time it is shown it takes the client size
    // fit returns (no wider than half the screen).
    void PlaceUnstored(const TWindowRect& rect, std::function<QSize()> fit);
    // To be called from the window's showEvent: the frame is known now (or shortly), so
    // the size is set again to make the outer size the one placed.
    void Shown();
    TWindowRect Rect() const;

  private:
    void Apply();
    QPointer<QWidget> window_;
    TWindowRect placed_;
    bool shownOnce_ = false;
    std::function<QSize()> fit_;  // set while the placement was not stored
};

// Whether a placement read from the settings is the user's (a width of 0 or less says it is
// not).
inline bool PlacementStored(const TWindowRect& rect) {
    return rect.w > 0;
}
