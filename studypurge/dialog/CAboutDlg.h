#pragma once
// The about box: program name and version, two lines on what the program does, OK.

#include <QDialog>

namespace spdialog {

class CAboutDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace spdialog
