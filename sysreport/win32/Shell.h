// The shell's "open" of a file or a link, behind an interface so that tests can
// record what would have been opened.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "MailDelivery.h"

namespace sysreport::win32 {

struct ShellRequest {
    HWND owner = nullptr;
    std::wstring verb;  // "" for the default action
    std::wstring target;
    std::wstring directory;  // "" for none
    int show = SW_SHOWNORMAL;
};

class Shell {
  public:
    virtual ~Shell() = default;
    // False when the shell could not do it (no program for the file type, the
    // file missing, the program failing to start).
    virtual bool execute(const ShellRequest& request) = 0;
};

// ShellExecuteW itself.
std::unique_ptr<Shell> makeSystemShell();

// ViewReport: the default action on the report, the main window as owner, "C:\"
// as working folder, shown normally.
ShellRequest viewReportRequest(HWND owner, const std::string& reportPath);

// SendMailTo's shell call: "open" on the link, no owner, no folder, SW_SHOW.
ShellRequest mailLinkRequest(const std::string& link);

// The mail programs with mail links going through `shell`; automation and the
// composer are those of `platform`.
class ShellMailClient : public MailClient {
  public:
    ShellMailClient(Shell& shell, MailClient& platform) : shell_(shell), platform_(platform) {}

    void openMailLink(const std::string& link) override;
    bool sendAutomated(const MailMessage& message, std::string& error) override {
        return platform_.sendAutomated(message, error);
    }
    bool canCompose() const override { return platform_.canCompose(); }
    bool composeWithAttachment(const MailMessage& message, std::string& error) override {
        return platform_.composeWithAttachment(message, error);
    }

  private:
    Shell& shell_;
    MailClient& platform_;
};

}  // namespace sysreport::win32
