#pragma once

#include <QListWidget>
#include <vector>

// A list box in a fixed-pitch font, so that the columns of driver and lap texts line up.
class TPropListBox : public QListWidget {
    Q_OBJECT
  public:
    explicit TPropListBox(QWidget* parent = nullptr);

    // "Courier New" 8 points, its height from the screen's vertical dots per inch.
    static QFont PropFont(int logicalDpiY);
    // points x dpi / 72 in integers, rounded to the nearest pixel as a multiply-divide does.
    static int FontPixelHeight(int points, int logicalDpiY);

    // The selected rows in list order (the rows, not merely the current item).
    std::vector<int> SelectedRows() const;
};
