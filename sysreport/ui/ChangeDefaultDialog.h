// frmChangeDefault: the modeless dialog that changes the address the report is
// mailed to.
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace sysreport {

class ChangeDefaultDialog : public QDialog {
    Q_OBJECT

  public:
    explicit ChangeDefaultDialog(QWidget* parent = nullptr);

  signals:
    // The buttons, forwarded; what they do to the address is the behaviour's.
    void okClicked(const QString& typed);
    void cancelClicked();

  private slots:
    void cmdOK_Click();
    void cmdCancel_Click();

  private:
    QLineEdit* txtDefaultEmail_ = nullptr;
};

}  // namespace sysreport
