// The e-mail command's rules: the address, the question of each platform, and
// what happens when the desktop's mail program cannot take the report.
#include <gtest/gtest.h>

#include <filesystem>

#include "Fakes.h"
#include "FilePaths.h"
#include "MailDelivery.h"
#include "Version.h"

namespace sysreport::testing {
namespace {

namespace fs = std::filesystem;

// Records, with every link, how many messages the user had been shown by then.
class OrderedMailClient : public FakeMailClient {
  public:
    explicit OrderedMailClient(const RecordingPrompts& prompts) : prompts_(prompts) {}
    void openMailLink(const std::string& link) override {
        FakeMailClient::openMailLink(link);
        messagesBeforeLink.push_back(prompts_.messages.size());
    }
    std::vector<std::size_t> messagesBeforeLink;

  private:
    const RecordingPrompts& prompts_;
};

class Mailer : public ::testing::Test {
  protected:
    Mailer()
        : folder_(fs::temp_directory_path() / "kt-sysreport-mailer"),
          mail_(prompts_),
          report_([] { return std::string("report\r\n"); }, prompts_, {pathToUtf8(folder_)}),
          mailer_(report_, prompts_, mail_) {
        fs::create_directories(folder_);
    }
    ~Mailer() override { fs::remove_all(folder_); }

    std::string reportPath() const {
        return pathToUtf8(folder_) + kPathSeparator + kReportFileName;
    }

    fs::path folder_;
    RecordingPrompts prompts_;
    OrderedMailClient mail_;
    ReportCommands report_;
    ReportMailer mailer_;
};

TEST_F(Mailer, BlanksAroundTheAddressAreDroppedAndBlanksAloneAreNoAddress) {
    for (const char* blank : {"", "   ", " \t "}) {
        prompts_.messages.clear();
        mailer_.emailReport(blank);
        EXPECT_EQ(prompts_.messages,
                  std::vector<std::string>{"Error|Email address can not have a null value. Please "
                                           "type in the correct email address."})
            << "[" << blank << "]";
    }
    EXPECT_TRUE(prompts_.questions.empty());
    prompts_.answerYes = false;
    mailer_.emailReport("  desk@example.org ");
    ASSERT_EQ(mail_.links.size(), 1u);
    EXPECT_EQ(mail_.links[0].rfind("mailto:desk@example.org?subject=", 0), 0u) << mail_.links[0];
}

TEST_F(Mailer, EachPlatformAsksItsOwnQuestion) {
    mail_.composer = false;  // Windows: Outlook can be automated
    prompts_.answerYes = false;
    mailer_.emailReport("a@b");
    mail_.composer = true;  // Linux: the desktop's mail program
    mailer_.emailReport("a@b");
    EXPECT_EQ(prompts_.questions,
              (std::vector<std::string>{std::string("Email Option|") + kOutlookQuestion,
                                        std::string("Email Option|") + kDesktopMailQuestion}));
    EXPECT_EQ(mail_.links.size(), 2u);
    EXPECT_TRUE(mail_.composed.empty());
}

TEST_F(Mailer, AHandlerKnownToTakeAttachmentsGetsTheReport) {
    mail_.composer = true;
    mail_.handler = "org.gnome.Evolution.desktop";
    mailer_.emailReport("a@b");
    ASSERT_EQ(mail_.composed.size(), 1u);
    EXPECT_EQ(mail_.composed[0].attachmentPath, reportPath());
    EXPECT_TRUE(mail_.links.empty());
    EXPECT_TRUE(prompts_.messages.empty());
}

TEST_F(Mailer, WithoutSuchAHandlerTheUserIsToldFirstAndTheLinkClaimsNoAttachment) {
    const struct {
        const char* handler;
        const char* reason;
    } cases[] = {
        {"", "no mail program is set up"},
        {"firefox.desktop", "firefox.desktop"},
    };
    for (const auto& c : cases) {
        prompts_.messages.clear();
        prompts_.opened.clear();
        mail_.links.clear();
        mail_.messagesBeforeLink.clear();
        mail_.composer = true;
        mail_.handler = c.handler;
        mailer_.emailReport("a@b");
        ASSERT_EQ(prompts_.messages.size(), 1u) << c.handler;
        const std::string& message = prompts_.messages[0];
        EXPECT_EQ(message.rfind("Email Delivery|The report could not be attached", 0), 0u);
        EXPECT_NE(message.find(c.reason), std::string::npos) << message;
        EXPECT_NE(message.find(reportPath()), std::string::npos) << message;
        EXPECT_EQ(prompts_.opened, std::vector<std::string>{pathToUtf8(folder_)});
        ASSERT_EQ(mail_.links.size(), 1u);
        EXPECT_EQ(mail_.messagesBeforeLink, std::vector<std::size_t>{1});
        const std::string body = mail_.links[0].substr(mail_.links[0].find("&body="));
        EXPECT_EQ(body.rfind("&body=Please%20attach%20the%20", 0), 0u) << body;
        EXPECT_TRUE(mail_.composed.empty());
    }
}

}  // namespace
}  // namespace sysreport::testing
