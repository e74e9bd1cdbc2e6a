// Delivery of the report by e-mail: the mail link, the mail programs of this
// computer, and the e-mail command of the main window.
#pragma once

#include <memory>
#include <string>

#include "ReportFile.h"

namespace sysreport {

// One message to hand to a mail program.
struct MailMessage {
    std::string to;
    std::string subject;
    std::string body;
    std::string attachmentPath;  // "" for none
};

// The mail programs of this computer.
class MailClient {
  public:
    virtual ~MailClient() = default;
    // Asks the shell to open a mail link. The shell reports no failure.
    virtual void openMailLink(const std::string& link) = 0;
    // Sends the message through the mail client's automation interface; false with
    // a description in `error` when the client cannot be automated or sending fails.
    virtual bool sendAutomated(const MailMessage& message, std::string& error) = 0;
    // True when this platform can open a new message, attachment included, in the
    // user's own mail program.
    virtual bool canCompose() const = 0;
    // Opens such a message; false with a description in `error` when it cannot.
    virtual bool composeWithAttachment(const MailMessage& message, std::string& error) = 0;
};

// The mail programs of this platform: Outlook automation and the shell on Windows;
// the desktop's mail program on Linux (no automation there).
std::unique_ptr<MailClient> makePlatformMailClient();

// Subject and body percent-encoded for a mail link: everything but letters, digits,
// "-._~/:@" goes as %XX of its UTF-8 bytes (so a blank is %20, CR LF is %0D%0A).
std::string percentEncodeMailField(const std::string& utf8Text);

// The link of SendMailTo: the address with "mailto:" put in front unless it already
// starts so (in any letter case), then "?subject=" and "body=" fields when not empty.
// The address goes in as typed; subject and body are percent-encoded.
std::string mailToLink(const std::string& address, const std::string& subject,
                       const std::string& body);

inline constexpr const char* kEmailOptionTitle = "Email Option";
inline constexpr const char* kEmailDeliveryTitle = "Email Delivery";
inline constexpr const char* kEmailSentText = "Email successfully sent. ";

// The e-mail command: checks the address, rewrites the report, asks which mail
// program the user has and hands the report to it.
class ReportMailer {
  public:
    ReportMailer(ReportCommands& report, UserPrompts& prompts, MailClient& mail);

    // Runs the command for the address typed in the window (`SupportAddress`).
    void emailReport(const std::string& address);

  private:
    void sendMailTo(const std::string& address, const std::string& reportPath);
    void sendWithOutlook(const std::string& address, const std::string& reportPath);
    void composeInstead(const std::string& address, const std::string& reportPath,
                        const MailMessage& message);

    ReportCommands& report_;
    UserPrompts& prompts_;
    MailClient& mail_;
};

}  // namespace sysreport
