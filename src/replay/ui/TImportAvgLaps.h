#pragma once

#include <functional>
#include <string>

#include "replay/ui/TImportDialog.h"

inline constexpr const char* kPartialLapsTitle = "Import Average Lap";
inline constexpr const char* kPartialLapsText = "Partial laps may not be used in averaging";

// The laps to average: one driver and several of the driver's full laps. The first and the
// last lap of the list are the partial ones; the dialog refuses them, both when they are
// selected and when OK is pressed with one of them still selected; a Shift-click range
// leaves them out.
class TImportAvgLaps : public TImportDialog {
    Q_OBJECT
  public:
    // Shows the refusal (title, text) with an exclamation icon.
    using Warn = std::function<void(const std::string& title, const std::string& text)>;

    TImportAvgLaps(const TImportLapXfer& xfer, const TImportLapSource& source,
                   QWidget* parent = nullptr);

    // Replaces the message box, so that tests can see the refusal without a modal box.
    void SetWarn(Warn warn) { warn_ = std::move(warn); }

    void accept() override;

  protected:
    // Shift-click on the lap list selects the range from the current lap to the clicked
    // one, leaving out the partial laps without a message.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void SelectRange(int from, int to);
    // False (after the message, with the partial laps deselected) when a partial lap is
    // among the selected ones.
    bool RefusePartialLaps();

    Warn warn_;
    bool checking_ = false;
};
