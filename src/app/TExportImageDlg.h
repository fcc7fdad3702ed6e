#pragma once
// "Export Image": the size of the picture, the window's own or one typed in (up to
// 7680 x 4320). The format follows the file name chosen after it.
#include <QDialog>

#include "commands/Prompts.h"

class QRadioButton;
class QSpinBox;

class TExportImageDlg : public QDialog {
    Q_OBJECT
  public:
    explicit TExportImageDlg(const TExportImageXfer& xfer, QWidget* parent = nullptr);
    TExportImageXfer Result() const;

  private:
    void UpdateEnabling();

    TExportImageXfer xfer_;
    QRadioButton* windowSize_;
    QRadioButton* customSize_;
    QSpinBox* width_;
    QSpinBox* height_;
};
