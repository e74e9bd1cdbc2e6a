// frmSysInformation: the main window of sysreport.
#pragma once

#include <QMainWindow>
#include <memory>

#include "ReportFile.h"
#include "ReportWriter.h"

class QAction;
class QLabel;
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
    ReportLocations locations;
};

class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    explicit MainWindow(WindowServices services, QWidget* parent = nullptr);

    // Address the report is mailed to; the e-mail commands change it.
    const std::string& supportAddress() const { return supportAddress_; }

    // Rebuilds the report file; returns the path written, or "" after a message.
    std::string writeToFile();

  public slots:
    void cmdSaveToFile_Click();

  private:
    void buildMenus();
    void buildControls();
    ScreenFacts screenFacts() const;
    std::string buildReport();

    WindowServices services_;
    std::string supportAddress_;
    Uptime uptime_;
    ReportCommands commands_;

    QLabel* lblComputerRunning_ = nullptr;
    QPushButton* cmdSaveToFile_ = nullptr;
    QPushButton* cmdExit_ = nullptr;
    QAction* mnuSave_ = nullptr;
    QAction* mnuExit_ = nullptr;
};

}  // namespace sysreport
