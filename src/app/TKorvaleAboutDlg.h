#pragma once

#include <QDialog>

#include "app/VersionData.h"

class QLabel;

// Help > About: the product's title line, name and version, legal notice and special
// build, filled from the version data.
class TKorvaleAboutDlg : public QDialog {
    Q_OBJECT
  public:
    TKorvaleAboutDlg(const VersionData& version, QWidget* parent = nullptr);

  private:
    QLabel* version_;
    QLabel* legal_;
    QLabel* build_;
};
