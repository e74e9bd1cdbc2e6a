// frmSysInformation: the main window of sysreport.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <memory>

#include "ChangeDefaultDialog.h"
#include "MainBehaviour.h"

class QAction;
class QLabel;
class QLineEdit;
class QPushButton;

namespace sysreport {

// The Qt window takes the same services as the behaviour it drives.
using WindowServices = AppServices;

// A thin view: every rule a user sees lives in MainBehaviour.
class MainWindow : public QMainWindow, private MainView {
    Q_OBJECT

  public:
    explicit MainWindow(WindowServices services, QWidget* parent = nullptr);

    // Address the report is mailed to; the e-mail command and the change dialog
    // set it.
    const std::string& supportAddress() const { return behaviour_.supportAddress(); }

    // The change dialog while it is open, else null.
    ChangeDefaultDialog* changeDefaultDialog() const { return changeDefault_; }

    // Rebuilds the report file; returns the path written, or "" after a message.
    std::string writeToFile() { return behaviour_.writeToFile(); }

  public slots:
    void cmdSaveToFile_Click();
    void cmdSentEmail_Click();
    void mnuChangeDefault_Click();
    void mnuSysInfo_Click();

  private:
    void buildMenus();
    void buildControls();
    std::string emailField() const override;
    void setEmailField(const std::string& text) override;
    ScreenFacts screenFacts() const override;
    OpenGlFacts openGlFacts() const override;

    MainBehaviour behaviour_;

    QLabel* lblComputerRunning_ = nullptr;
    QLineEdit* txtEmailTo_ = nullptr;
    QPointer<ChangeDefaultDialog> changeDefault_;
};

}  // namespace sysreport
