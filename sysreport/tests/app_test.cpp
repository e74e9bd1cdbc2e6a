// The main window's rules without a toolkit: start-up texts, View/Save, the
// e-mail command, the change dialog's buttons and the about box.
#include <gtest/gtest.h>

#include "AboutTexts.h"
#include "AppHarness.h"
#include "TestData.h"

namespace sysreport::testing {
namespace {

class RecordedView : public MainView {
  public:
    std::string emailField() const override { return field; }
    void setEmailField(const std::string& text) override { field = text; }
    ScreenFacts screenFacts() const override { return {1280, 1024, 24}; }
    OpenGlFacts openGlFacts() const override { return {"llvmpipe (LLVM 15.0.6, 256 bits)", "4.5"}; }
    std::string field = kDefaultSupportAddress;
};

const std::string kEmptyAddressMessage =
    "Error|Email address can not have a null value. Please type in the correct email address.";
const std::string kOutlookQuestion = "Email Option|Do you use MS Outlook as your Email Client?";

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class MainBehaviourTest : public ::testing::Test {
  protected:
    // Blanks, "&" and a non-ASCII letter, all of which a mail link must escape.
    ScratchFolder folder{"Korvex & Co \xC3\x9C"};
    FakeServices fakes;
    RecordedView view;
    MainBehaviour behaviour{fakes.in(folder.text()), view};
};

TEST_F(MainBehaviourTest, StartUpTextsAndNothingWritten) {
    EXPECT_EQ(behaviour.caption(), "sysreport Version 2.4.4");
    EXPECT_EQ(behaviour.uptimeText(), "Your system has been running for 3 hours and 25 minutes.");
    EXPECT_EQ(behaviour.supportAddress(), "support@korvex.example");
    EXPECT_EQ(MainBehaviour::defaultAddress(), "support@korvex.example");
    EXPECT_FALSE(std::filesystem::exists(pathFromUtf8(folder.reportPath())));
}

TEST_F(MainBehaviourTest, UptimeLabelKeepsTheStartUpValueWhileTheReportIsCurrent) {
    fakes.clock.uptime += 2 * 3600 * 1000;
    fakes.prompts.answerYes = false;
    behaviour.viewSave();
    EXPECT_TRUE(contains(readBytes(folder.reportPath()), "running for 5 hours and 25 minutes."));
    EXPECT_EQ(behaviour.uptimeText(), "Your system has been running for 3 hours and 25 minutes.");
}

TEST_F(MainBehaviourTest, ViewSaveWithEitherAnswerWritesThenOpensOrSaysWhere) {
    for (const bool view : {true, false}) {
        SCOPED_TRACE(view ? "Yes" : "No");
        fakes.prompts = RecordingPrompts{};
        fakes.prompts.answerYes = view;
        behaviour.viewSave();
        EXPECT_EQ(
            fakes.prompts.questions,
            std::vector<std::string>{"View/Save to a File| Do you want to view the information?\r\n"
                                     "(Information will be automatically saved to " +
                                     folder.reportPath() + " File.)"});
        const std::string report = readBytes(folder.reportPath());
        EXPECT_EQ(report.rfind("<html>\r\n", 0), 0u);
        EXPECT_EQ(report.substr(report.size() - 9), "</body>\r\n");
        if (view) {
            EXPECT_EQ(fakes.prompts.opened, std::vector<std::string>{folder.reportPath()});
            EXPECT_TRUE(fakes.prompts.messages.empty());
        } else {
            EXPECT_TRUE(fakes.prompts.opened.empty());
            EXPECT_EQ(fakes.prompts.messages,
                      std::vector<std::string>{"View/Save to a File|Information written to " +
                                               folder.reportPath() + " File. "});
        }
    }
}

TEST_F(MainBehaviourTest, ViewSaveYesThatCannotOpenTheReportNamesIt) {
    fakes.prompts.openSucceeds = false;
    behaviour.viewSave();
    EXPECT_EQ(fakes.prompts.opened, std::vector<std::string>{folder.reportPath()});
    ASSERT_EQ(fakes.prompts.messages.size(), 1u);
    EXPECT_TRUE(contains(fakes.prompts.messages[0], "could not be opened"));
    EXPECT_TRUE(contains(fakes.prompts.messages[0], folder.reportPath()));
}

// The window supplies the renderer; a software one is marked in the report.
TEST_F(MainBehaviourTest, ReportCarriesTheRendererTheWindowReads) {
    const std::string report = readBytes(behaviour.writeToFile());
    EXPECT_TRUE(
        contains(report, "OpenGL llvmpipe (LLVM 15.0.6, 256 bits) 4.5 (SOFTWARE RENDERING)"));
}

TEST_F(MainBehaviourTest, EmptyAddressIsRefusedBeforeAnythingIsWritten) {
    view.field.clear();
    behaviour.emailReport();
    EXPECT_EQ(fakes.prompts.messages, std::vector<std::string>{kEmptyAddressMessage});
    EXPECT_TRUE(fakes.prompts.questions.empty());
    EXPECT_FALSE(std::filesystem::exists(pathFromUtf8(folder.reportPath())));
    EXPECT_TRUE(fakes.mail.links.empty() && fakes.mail.automated.empty());
}

TEST_F(MainBehaviourTest, EveryEmailCommandRewritesTheReportBeforeTheQuestion) {
    for (const bool outlook : {false, true}) {
        writeBytes(folder.reportPath(), "stale report of an earlier run");
        std::string reportAtQuestion;
        fakes.prompts = RecordingPrompts{};
        fakes.prompts.onQuestion = [&] { reportAtQuestion = readBytes(folder.reportPath()); };
        fakes.prompts.answerYes = outlook;
        behaviour.emailReport();
        EXPECT_EQ(fakes.prompts.questions, std::vector<std::string>{kOutlookQuestion});
        EXPECT_EQ(reportAtQuestion.rfind("<html>\r\n", 0), 0u);
    }
    EXPECT_EQ(fakes.mail.links.size(), 1u);
    EXPECT_EQ(fakes.mail.automated.size(), 1u);
}

TEST_F(MainBehaviourTest, NoSendsTheEscapedMailLink) {
    fakes.prompts.answerYes = false;
    behaviour.emailReport();
    const std::string expected =
        "mailto:support@korvex.example?subject=Simulation%20Product%20Info.htm%20file%20attached"
        "&body=Please%20attach%20the%20Simulation%20Product%20Info.htm%20file%20created%20in%20" +
        percentEncodeMailField(folder.text()) + "%20directory.%0D%0AThanks.";
    EXPECT_EQ(fakes.mail.links, std::vector<std::string>{expected});
    EXPECT_TRUE(contains(expected, "Korvex%20%26%20Co%20%C3%9C"));
    EXPECT_TRUE(fakes.prompts.messages.empty());
}

TEST_F(MainBehaviourTest, TypedAddressIsReadAtEveryCommandAndKeepsItsOwnPrefix) {
    const std::pair<const char*, const char*> cases[] = {
        {"desk@example.org", "mailto:desk@example.org?subject="},
        {"MailTo:Desk@Example.org", "MailTo:Desk@Example.org?subject="},
        {"MAILTO:desk@example.org", "MAILTO:desk@example.org?subject="},
    };
    fakes.prompts.answerYes = false;
    for (const auto& [typed, linkStart] : cases) {
        view.field = typed;
        fakes.mail.links.clear();
        behaviour.emailReport();
        EXPECT_EQ(behaviour.supportAddress(), typed);
        ASSERT_EQ(fakes.mail.links.size(), 1u);
        EXPECT_EQ(fakes.mail.links[0].rfind(linkStart, 0), 0u) << fakes.mail.links[0];
    }
}

TEST_F(MainBehaviourTest, OutlookSendsTheReportAndConfirms) {
    behaviour.emailReport();
    ASSERT_EQ(fakes.mail.automated.size(), 1u);
    const MailMessage& sent = fakes.mail.automated[0];
    EXPECT_EQ(sent.to, "support@korvex.example");
    EXPECT_EQ(sent.subject, "Simulation Product Info.htm File");
    EXPECT_EQ(sent.body, "Simulation Product Info.htm file attached");
    EXPECT_EQ(sent.attachmentPath, folder.reportPath());
    EXPECT_EQ(fakes.prompts.messages,
              std::vector<std::string>{"Email Delivery|Email successfully sent. "});
}

TEST_F(MainBehaviourTest, OutlookFailureWithoutAComposerNamesTheFailureAndTheReport) {
    fakes.mail.automationError = "Outlook is not installed on this computer";
    behaviour.emailReport();
    ASSERT_EQ(fakes.prompts.messages.size(), 1u);
    const std::string& message = fakes.prompts.messages[0];
    EXPECT_EQ(message.rfind("Email Delivery|", 0), 0u);
    EXPECT_TRUE(contains(message, "Outlook is not installed on this computer"));
    EXPECT_TRUE(contains(message, folder.reportPath()));
    EXPECT_FALSE(contains(message, "successfully"));
    EXPECT_TRUE(fakes.mail.links.empty() && fakes.mail.composed.empty());
}

// Where the desktop's mail program composes (Linux), the question is about it and
// not about Outlook; the report is attached only by a handler known to take it.
TEST_F(MainBehaviourTest, DesktopMailProgramComposesWithTheReportAttachedOrFallsBackToTheLink) {
    fakes.mail.composer = true;
    fakes.mail.handler = "org.mozilla.Thunderbird.desktop";
    behaviour.emailReport();
    ASSERT_EQ(fakes.prompts.questions.size(), 1u);
    EXPECT_EQ(fakes.prompts.questions[0], std::string("Email Option|") + kDesktopMailQuestion);
    EXPECT_TRUE(fakes.mail.automated.empty());
    ASSERT_EQ(fakes.mail.composed.size(), 1u);
    EXPECT_EQ(fakes.mail.composed[0].attachmentPath, folder.reportPath());
    EXPECT_TRUE(fakes.prompts.messages.empty());
    EXPECT_TRUE(fakes.mail.links.empty());

    fakes.mail.composeError = "no mail program is set up on this computer";
    behaviour.emailReport();
    ASSERT_EQ(fakes.prompts.messages.size(), 1u);
    EXPECT_TRUE(contains(fakes.prompts.messages[0], "could not be attached"));
    EXPECT_TRUE(contains(fakes.prompts.messages[0], folder.reportPath()));
    ASSERT_EQ(fakes.mail.links.size(), 1u);
    EXPECT_EQ(fakes.mail.links[0].rfind("mailto:support@korvex.example?subject=Simulation%20", 0),
              0u);
}

TEST(MainBehaviourUnwritable, ReportThatCannotBeWrittenStopsTheCommandAfterSayingWhy) {
    ScratchFolder root;
    FakeServices fakes;
    RecordedView view;
    MainBehaviour behaviour(fakes.in(root.text() + kPathSeparator + "no such folder"), view);
    behaviour.emailReport();
    ASSERT_EQ(fakes.prompts.messages.size(), 1u);
    EXPECT_TRUE(contains(fakes.prompts.messages[0], "could not be written"));
    EXPECT_TRUE(fakes.prompts.questions.empty());
    EXPECT_TRUE(fakes.mail.links.empty() && fakes.mail.automated.empty());
}

TEST_F(MainBehaviourTest, ChangeDialogOkAndCancelSetTheAddressAndTheField) {
    behaviour.changeDefaultOk("desk@example.org");
    EXPECT_EQ(behaviour.supportAddress(), "desk@example.org");
    EXPECT_EQ(view.field, "desk@example.org");
    fakes.prompts.answerYes = false;
    behaviour.emailReport();
    ASSERT_EQ(fakes.mail.links.size(), 1u);
    EXPECT_EQ(fakes.mail.links[0].rfind("mailto:desk@example.org?", 0), 0u);

    view.field = "someone@example.org";
    behaviour.changeDefaultCancel();
    EXPECT_EQ(behaviour.supportAddress(), "support@korvex.example");
    EXPECT_EQ(view.field, "support@korvex.example");
}

TEST(AboutBoxTexts, CaptionVersionDescriptionAndDisclaimer) {
    const AboutTexts texts = aboutTexts();
    EXPECT_EQ(texts.caption, "About sysreport");
    EXPECT_EQ(texts.title, "sysreport");
    EXPECT_EQ(texts.version,
              "Version 2.4.4              Copyright (C) Quorvane. All rights reserved.");
    EXPECT_EQ(texts.description,
              "sysreport is a utility that retrieves information about the configuration of the "
              "computer and about installed Korvex Products. ");
    EXPECT_EQ(texts.disclaimer, "sysreport created by Korvex Tech Support");
    EXPECT_EQ(texts.suite, "korvex-tools " KT_VERSION);
}

TEST(AboutBoxSystemInfo, StartsTheToolOrSaysItIsUnavailable) {
    FakeSystemInfoTool tool;
    RecordingPrompts prompts;
    startSystemInfo(tool, prompts);
    EXPECT_EQ(tool.starts, 1);
    EXPECT_TRUE(prompts.messages.empty());
    tool.available = false;
    startSystemInfo(tool, prompts);
    EXPECT_EQ(prompts.messages,
              std::vector<std::string>{"System Information Is Unavailable At This Time"});
}

}  // namespace
}  // namespace sysreport::testing
