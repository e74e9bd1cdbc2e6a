#include "MailDelivery.h"

#include "FilePaths.h"
#include "Text.h"
#include "Version.h"

namespace sysreport {
namespace {

bool keptInMailField(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~' || c == '/' || c == ':' || c == '@';
}

// The folder part of a report path made by resolveReportPath.
std::string folderOf(const std::string& reportPath) {
    const std::string tail = std::string(kPathSeparator) + kReportFileName;
    if (reportPath.size() >= tail.size() &&
        reportPath.compare(reportPath.size() - tail.size(), tail.size(), tail) == 0) {
        return reportPath.substr(0, reportPath.size() - tail.size());
    }
    return reportPath;
}

}  // namespace

std::string percentEncodeMailField(const std::string& utf8Text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(utf8Text.size() * 3);
    for (const char ch : utf8Text) {
        const auto c = static_cast<unsigned char>(ch);
        if (keptInMailField(c)) {
            encoded += ch;
        } else {
            encoded += '%';
            encoded += kHex[c >> 4];
            encoded += kHex[c & 0x0F];
        }
    }
    return encoded;
}

std::string mailToLink(const std::string& address, const std::string& subject,
                       const std::string& body) {
    std::string link = address;
    if (asciiLower(link.substr(0, 7)) != "mailto:") {
        link = "mailto:" + link;
    }
    if (!subject.empty()) {
        link += "?subject=" + percentEncodeMailField(subject);
    }
    if (!body.empty()) {
        link += subject.empty() ? "?" : "&";
        link += "body=" + percentEncodeMailField(body);
    }
    return link;
}

ReportMailer::ReportMailer(ReportCommands& report, UserPrompts& prompts, MailClient& mail)
    : report_(report), prompts_(prompts), mail_(mail) {}

void ReportMailer::emailReport(const std::string& address) {
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
    if (prompts_.askYesNo("Do you use MS Outlook as your Email Client?", kEmailOptionTitle)) {
        sendWithOutlook(address, reportPath);
    } else {
        sendMailTo(address, reportPath);
    }
}

void ReportMailer::sendMailTo(const std::string& address, const std::string& reportPath) {
    const std::string subject = std::string(kReportFileName) + " file attached";
    const std::string body = std::string("Please attach the ") + kReportFileName +
                             " file created in " + folderOf(reportPath) + " directory.\r\nThanks.";
    mail_.openMailLink(mailToLink(address, subject, body));
}

void ReportMailer::sendWithOutlook(const std::string& address, const std::string& reportPath) {
    const MailMessage message{address, std::string(kReportFileName) + " File",
                              std::string(kReportFileName) + " file attached", reportPath};
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
