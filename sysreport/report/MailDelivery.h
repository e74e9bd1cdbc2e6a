// Delivery of the report by e-mail: the mail link, the mail programs of this
// computer, and the e-mail command of the main window.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "BusyWait.h"
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
    // The desktop's handler of mail links (its desktop file name), "" when none is
    // set up or the platform has none.
    virtual std::string mailHandler() { return {}; }
    // Opens such a message; false with a description in `error` when it cannot.
    virtual bool composeWithAttachment(const MailMessage& message, std::string& error) = 0;
};

// The mail programs of this platform: Outlook automation and the shell on Windows;
// the desktop's mail program on Linux (no automation there). `wait` serves while
// a mail program starts.
std::unique_ptr<MailClient> makePlatformMailClient(BusyWait& wait);
// The same, sleeping while a mail program starts (no window to keep drawn).
std::unique_ptr<MailClient> makePlatformMailClient();

// Subject and body percent-encoded for a mail link: everything but letters, digits,
// "-._~/:@" goes as %XX of its UTF-8 bytes (so a blank is %20, CR LF is %0D%0A).
std::string percentEncodeMailField(const std::string& utf8Text);

// The link of SendMailTo: the address with "mailto:" put in front unless it already
// starts so (in any letter case), then "?subject=" and "body=" fields when not empty.
// The address is percent-encoded like the fields (commas between addresses kept),
// so "?", "&", "%" and blanks in it cannot add header fields.
std::string mailToLink(const std::string& address, const std::string& subject,
                       const std::string& body);

// The arguments of the desktop's mail composer (xdg-email) for a message with its
// attachment. The address goes as a mail link, never as something that could be
// taken for an option.
std::vector<std::string> desktopComposeArguments(const MailMessage& message);

// True for the desktop's mail handlers known to take an attachment from the
// composer: Thunderbird, Evolution, KMail, Claws Mail, Geary, Sylpheed.
bool mailHandlerTakesAttachments(const std::string& desktopFile);

inline constexpr const char* kEmailOptionTitle = "Email Option";
inline constexpr const char* kEmailDeliveryTitle = "Email Delivery";
inline constexpr const char* kEmailSentText = "Email successfully sent. ";
inline constexpr const char* kOutlookQuestion = "Do you use MS Outlook as your Email Client?";
inline constexpr const char* kDesktopMailQuestion =
    "Do you want to attach the report with your desktop's mail program?\r\n"
    "(Yes: a new message opens with the report attached. "
    "No: a mail link opens without it.)";

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
    void attachWithDesktop(const std::string& address, const std::string& reportPath);
    void linkWithoutAttachment(const std::string& address, const std::string& reportPath,
                               const std::string& reason);

    ReportCommands& report_;
    UserPrompts& prompts_;
    MailClient& mail_;
};

}  // namespace sysreport
