// frmSysInformation's rules, apart from any toolkit: the start-up texts, the
// View/Save and e-mail commands, and what the change dialog does to the address.
// A front end builds the controls, forwards their events here and shows what it
// is told through MainView.
#pragma once

#include <string>

#include "MailDelivery.h"
#include "Registry.h"
#include "ReportFile.h"
#include "SystemFacts.h"
#include "SystemInfoTool.h"
#include "Text.h"

namespace sysreport {

// Everything the program reads or asks through; the program passes the
// platform's own services, tests pass fakes.
struct AppServices {
    SystemFacts& facts;
    Clock& clock;
    RegistryReader& registry;
    CadHost& cadHost;
    UserPrompts& prompts;
    MailClient& mail;
    SystemInfoTool& systemInfo;
    ReportLocations locations;
};

// What the rules read from and show in the main window.
class MainView {
  public:
    virtual ~MainView() = default;
    virtual std::string emailField() const = 0;  // txtEmailTo
    virtual void setEmailField(const std::string& text) = 0;
    // The screen the window is on, for the report's display lines.
    virtual ScreenFacts screenFacts() const = 0;
    // The OpenGL renderer the window system offers, for the graphics line;
    // empty when none can be read.
    virtual OpenGlFacts openGlFacts() const = 0;
};

class MainBehaviour {
  public:
    MainBehaviour(AppServices services, MainView& view);

    // "sysreport Version 2.4.4"
    std::string caption() const;
    // lblComputerRunning: the uptime at start-up; the label is not refreshed.
    std::string uptimeText() const { return uptimeSentence(startUptime_); }
    // The initial text of both address fields.
    static std::string defaultAddress();

    // SupportAddress: where mail goes.
    const std::string& supportAddress() const { return supportAddress_; }

    // WriteToFile: rebuilds the report; the path written, or "" after a message.
    std::string writeToFile() { return commands_.writeToFile(); }
    // cmdSaveToFile and mnuSave.
    void viewSave() { commands_.viewSave(); }
    // cmdSentEmail and mnuEmail: the address is taken from txtEmailTo each time.
    void emailReport();

    // frmChangeDefault's buttons. The address chosen also goes into txtEmailTo,
    // since the e-mail command reads its address from there.
    void changeDefaultOk(const std::string& typed);
    void changeDefaultCancel();

    AppServices& services() { return services_; }

  private:
    std::string buildReport();
    void useAddress(const std::string& address);

    AppServices services_;
    MainView& view_;
    std::string supportAddress_;
    Uptime startUptime_;
    ReportCommands commands_;
    ReportMailer mailer_;
};

}  // namespace sysreport
