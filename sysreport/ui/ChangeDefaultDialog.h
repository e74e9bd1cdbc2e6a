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
    // OK: the address typed; Cancel: the default support address.
    void addressChosen(const QString& address);

  private slots:
    void cmdOK_Click();
    void cmdCancel_Click();

  private:
    QLineEdit* txtDefaultEmail_ = nullptr;
};

}  // namespace sysreport
