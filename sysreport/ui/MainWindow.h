// frmSysInformation: the main window of sysreport.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <memory>

#include "ChangeDefaultDialog.h"
#include "MailDelivery.h"
#include "ReportFile.h"
#include "ReportWriter.h"
#include "SystemInfoTool.h"

class QAction;
class QLabel;
class QLineEdit;
class QPushButton;

namespace sysreport {

// Everything the window reads or asks through; the program passes the platform's
// own services, tests pass fakes.
struct WindowServices {
    SystemFacts& facts;
    Clock& clock;
    RegistryReader& registry;
    CadHost& cadHost;
    UserPrompts& prompts;
    MailClient& mail;
    SystemInfoTool& systemInfo;
    ReportLocations locations;
};

class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    explicit MainWindow(WindowServices services, QWidget* parent = nullptr);

    // Address the report is mailed to; the e-mail command and the change dialog
    // set it.
    const std::string& supportAddress() const { return supportAddress_; }

    // The change dialog while it is open, else null.
    ChangeDefaultDialog* changeDefaultDialog() const { return changeDefault_; }

    // Rebuilds the report file; returns the path written, or "" after a message.
    std::string writeToFile();

  public slots:
    void cmdSaveToFile_Click();
    void cmdSentEmail_Click();
    void mnuChangeDefault_Click();
    void mnuSysInfo_Click();

  private:
    void buildMenus();
    void buildControls();
    void setEmailAddress();
    void useAddress(const QString& address);
    ScreenFacts screenFacts() const;
    std::string buildReport();

    WindowServices services_;
    std::string supportAddress_;
    Uptime uptime_;
    ReportCommands commands_;
    ReportMailer mailer_;

    QLabel* lblComputerRunning_ = nullptr;
    QLineEdit* txtEmailTo_ = nullptr;
    QPointer<ChangeDefaultDialog> changeDefault_;
};

}  // namespace sysreport
