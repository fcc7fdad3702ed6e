#pragma once

#include "replay/ui/TImportDialog.h"

// "Import Lap": one driver and one of the driver's laps. Double-clicking a lap closes the
// dialog as OK does.
class TImportLap : public TImportDialog {
    Q_OBJECT
  public:
    TImportLap(const TImportLapXfer& xfer, const TImportLapSource& source,
               QWidget* parent = nullptr);
};
