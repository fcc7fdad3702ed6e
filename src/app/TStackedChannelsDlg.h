#pragma once
// View > Stacked Channels...: which channels the stacked graph shows, and in what order. A
// list of the seven channels, the chosen ones ticked and first in their order; Up and Down
// move the selected channel. OK needs at least one channel.
#include <QDialog>
#include <vector>

#include "channels/Channels.h"

class QListWidget;
class QPushButton;

struct TStackedChannelsXfer {
    std::vector<TelemetryChannel> channels;  // top pane first
};

class TStackedChannelsDlg : public QDialog {
    Q_OBJECT
  public:
    TStackedChannelsDlg(const TStackedChannelsXfer& xfer, QWidget* parent = nullptr);
    // The ticked channels in the list's order.
    TStackedChannelsXfer Result() const;

  private:
    void Move(int by);
    void Update();

    QListWidget* list_ = nullptr;
    QPushButton* up_ = nullptr;
    QPushButton* down_ = nullptr;
    QPushButton* ok_ = nullptr;
};
