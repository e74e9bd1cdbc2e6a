// Mail on Linux: links and new messages go to the desktop's mail program through
// xdg-open and xdg-email; there is no mail client automation.
#include <string>

#include "MailDelivery.h"
#include "ProcessPosix.h"

namespace sysreport {
namespace {

// A mail program that opened stays running; one that failed has ended by then.
constexpr std::chrono::milliseconds kComposeWait{3000};
// xdg-mime answers from files at once; a hanging one must not hold the command.
constexpr std::chrono::milliseconds kQueryWait{2000};

std::string xdgEmailFailure(int exitCode) {
    switch (exitCode) {
        case 2:
            return "the report file was not found";
        case 3:
            return "no mail program is set up on this computer";
        case 4:
            return "the mail program could not be started";
        case 5:
            return "the report file cannot be read";
        default:
            return "xdg-email ended with code " + std::to_string(exitCode);
    }
}

class DesktopMailClient : public MailClient {
  public:
    explicit DesktopMailClient(BusyWait& wait) : wait_(wait) {}

    void openMailLink(const std::string& link) override {
        startProgram({"xdg-open", link}, std::chrono::milliseconds(0));
    }

    bool sendAutomated(const MailMessage&, std::string& error) override {
        error = "Outlook cannot be automated on this system";
        return false;
    }

    bool canCompose() const override { return true; }

    std::string mailHandler() override {
        return firstOutputLine({"xdg-mime", "query", "default", "x-scheme-handler/mailto"},
                               kQueryWait);
    }

    bool composeWithAttachment(const MailMessage& message, std::string& error) override {
        const ProcessOutcome outcome =
            startProgram(desktopComposeArguments(message), kComposeWait, wait_);
        if (!outcome.started) {
            error = outcome.error;
            return false;
        }
        if (outcome.finished && outcome.exitCode != 0) {
            error = xdgEmailFailure(outcome.exitCode);
            return false;
        }
        return true;
    }

  private:
    BusyWait& wait_;
};

}  // namespace

std::unique_ptr<MailClient> makePlatformMailClient(BusyWait& wait) {
    return std::make_unique<DesktopMailClient>(wait);
}

}  // namespace sysreport
