#include "MailDelivery.h"

#include "Text.h"
#include "Version.h"

namespace sysreport {
namespace {

bool keptInMailField(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~' || c == '/' || c == ':' || c == '@';
}

std::string percentEncode(const std::string& utf8Text, bool keepCommas) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(utf8Text.size() * 3);
    for (const char ch : utf8Text) {
        const auto c = static_cast<unsigned char>(ch);
        if (keptInMailField(c) || (keepCommas && c == ',')) {
            encoded += ch;
        } else {
            encoded += '%';
            encoded += kHex[c >> 4];
            encoded += kHex[c & 0x0F];
        }
    }
    return encoded;
}

MailMessage attachedReportMessage(const std::string& address, const std::string& reportPath) {
    return {address, std::string(kReportFileName) + " File",
            std::string(kReportFileName) + " file attached", reportPath};
}

}  // namespace

std::unique_ptr<MailClient> makePlatformMailClient() {
    static const std::unique_ptr<BusyWait> sleeping = makeSleepingWait();
    return makePlatformMailClient(*sleeping);
}

std::string percentEncodeMailField(const std::string& utf8Text) {
    return percentEncode(utf8Text, false);
}

std::string mailToLink(const std::string& address, const std::string& subject,
                       const std::string& body) {
    const bool prefixed = asciiLower(address.substr(0, 7)) == "mailto:";
    std::string link = prefixed ? address.substr(0, 7) : std::string("mailto:");
    link += percentEncode(prefixed ? address.substr(7) : address, true);
    if (!subject.empty()) {
        link += "?subject=" + percentEncodeMailField(subject);
    }
    if (!body.empty()) {
        link += subject.empty() ? "?" : "&";
        link += "body=" + percentEncodeMailField(body);
    }
    return link;
}

std::vector<std::string> desktopComposeArguments(const MailMessage& message) {
    return {"xdg-email",  "--subject", message.subject,        "--body",
            message.body, "--attach",  message.attachmentPath, mailToLink(message.to, "", "")};
}

bool mailHandlerTakesAttachments(const std::string& desktopFile) {
    static const char* const kTakeAttachments[] = {"thunderbird", "evolution", "kmail",
                                                   "claws-mail",  "geary",     "sylpheed"};
    const std::string name = asciiLower(desktopFile);
    for (const char* known : kTakeAttachments) {
        if (name.find(known) != std::string::npos) {
            return true;
        }
    }
    return false;
}

ReportMailer::ReportMailer(ReportCommands& report, UserPrompts& prompts, MailClient& mail)
    : report_(report), prompts_(prompts), mail_(mail) {}

void ReportMailer::emailReport(const std::string& typedAddress) {
    // Blanks around the address are no part of it; an address of blanks is none.
    const std::string address = trimBlanks(typedAddress);
    if (address.empty()) {
        prompts_.inform(
            "Email address can not have a null value. Please type in the correct email address.",
            "Error");
        return;
    }
    // The report is rebuilt before every mail; without a report there is nothing
    // to send, and the writer has already said why.
    const std::string reportPath = report_.writeToFile();
    if (reportPath.empty()) {
        return;
    }
    // Outlook exists only on Windows; the desktop's mail program elsewhere.
    if (mail_.canCompose()) {
        if (prompts_.askYesNo(kDesktopMailQuestion, kEmailOptionTitle)) {
            attachWithDesktop(address, reportPath);
        } else {
            sendMailTo(address, reportPath);
        }
        return;
    }
    if (prompts_.askYesNo(kOutlookQuestion, kEmailOptionTitle)) {
        sendWithOutlook(address, reportPath);
    } else {
        sendMailTo(address, reportPath);
    }
}

void ReportMailer::attachWithDesktop(const std::string& address, const std::string& reportPath) {
    // Composers fall back to a plain mail link for other handlers: the attachment
    // would be lost without a word while the message claims it.
    const std::string handler = mail_.mailHandler();
    if (handler.empty()) {
        linkWithoutAttachment(address, reportPath, "no mail program is set up on this computer");
        return;
    }
    if (!mailHandlerTakesAttachments(handler)) {
        linkWithoutAttachment(address, reportPath,
                              "the mail program (" + handler + ") cannot be given attachments");
        return;
    }
    composeInstead(address, reportPath, attachedReportMessage(address, reportPath));
}

void ReportMailer::linkWithoutAttachment(const std::string& address, const std::string& reportPath,
                                         const std::string& reason) {
    prompts_.inform("The report could not be attached: " + reason + ".\r\nIt is saved as " +
                        reportPath +
                        "; its folder opens now, so that you can attach it yourself to the "
                        "message that opens next.",
                    kEmailDeliveryTitle);
    prompts_.openFile(reportFolderOf(reportPath));
    sendMailTo(address, reportPath);
}

void ReportMailer::sendMailTo(const std::string& address, const std::string& reportPath) {
    const std::string subject = std::string(kReportFileName) + " file attached";
    const std::string body = std::string("Please attach the ") + kReportFileName +
                             " file created in " + reportFolderOf(reportPath) +
                             " directory.\r\nThanks.";
    mail_.openMailLink(mailToLink(address, subject, body));
}

void ReportMailer::sendWithOutlook(const std::string& address, const std::string& reportPath) {
    const MailMessage message = attachedReportMessage(address, reportPath);
    std::string error;
    if (mail_.sendAutomated(message, error)) {
        prompts_.inform(kEmailSentText, kEmailDeliveryTitle);
        return;
    }
    if (mail_.canCompose()) {
        composeInstead(address, reportPath, message);
        return;
    }
    prompts_.inform("The report could not be sent through Outlook: " + error +
                        "\r\nThe report is saved as " + reportPath +
                        "; please attach it to a message to " + address + ".",
                    kEmailDeliveryTitle);
}

void ReportMailer::composeInstead(const std::string& address, const std::string& reportPath,
                                  const MailMessage& message) {
    std::string error;
    if (mail_.composeWithAttachment(message, error)) {
        return;
    }
    prompts_.inform("The report could not be attached to a new message: " + error +
                        "\r\nIt is saved as " + reportPath +
                        "; please attach it yourself to the message that opens now.",
                    kEmailDeliveryTitle);
    sendMailTo(address, reportPath);
}

}  // namespace sysreport
