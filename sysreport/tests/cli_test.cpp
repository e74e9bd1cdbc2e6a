// The command line: options, exit codes, the plain-text form of the report.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "CommandLine.h"
#include "FilePaths.h"
#include "TestData.h"

namespace sysreport::cli {
namespace {

namespace fs = std::filesystem;

TEST(CommandLineOptions, ParseIntoCommandsOrAProblem) {
    const struct {
        std::vector<std::string> arguments;
        Command command;
        const char* file;
    } cases[] = {
        {{}, Command::OpenWindow, ""},
        {{"--save"}, Command::Save, ""},
        {{"--save", "out.htm"}, Command::Save, "out.htm"},
        {{"--text"}, Command::Text, ""},
        {{"--text", "-"}, Command::Text, "-"},
        {{"--text", "notes.txt"}, Command::Text, "notes.txt"},
        {{"--help"}, Command::Help, ""},
        {{"--version"}, Command::Version, ""},
        {{"--bogus"}, Command::Invalid, ""},
        {{"report.htm"}, Command::Invalid, ""},
        {{"--save", "-"}, Command::Invalid, ""},
        {{"--save", "a", "b"}, Command::Invalid, ""},
        {{"--help", "--save"}, Command::Invalid, ""},
    };
    for (const auto& c : cases) {
        const Request request = parseArguments(c.arguments);
        EXPECT_EQ(request.command, c.command) << ::testing::PrintToString(c.arguments);
        EXPECT_EQ(request.file, c.file) << ::testing::PrintToString(c.arguments);
        EXPECT_EQ(request.problem.empty(), c.command != Command::Invalid);
    }
}

TEST(PlainTextReport, KeepsLabelsAndValuesWithoutMarkup) {
    const std::string html =
        "<html>\r\n<head>\r\n<title>Title - sysreport</title>\r\n</head>\r\n<body>\r\n"
        "<h1 align=center>Information</h1>\r\n\r\n\r\n\r\n"
        "<pre>USER NAME:               eng &amp; co &lt;x&gt; &#26085;\r\n"
        "                         (Windows 11)\r\n"
        "KorvexM :                </pre>\r\n"
        "<hr style=\"float: aligncenter;\" Align = center width=50%>\r\n"
        "<h3><img src=\"data:x\"> KorvexM</h3>\r\n"
        "<p style=\"x\">VERSION:               3.1 (310)<br>\r\n"
        "</body>\r\n";
    EXPECT_EQ(reportAsPlainText(html),
              "Information\n"
              "\n"
              "USER NAME:               eng & co <x> \xE6\x97\xA5\n"
              "                         (Windows 11)\n"
              "KorvexM :\n"
              "----------------------------------------\n"
              "KorvexM\n"
              "VERSION:               3.1 (310)\n");
}

class CommandRun : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / "kt-sysreport-cli";
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    int runWith(const std::vector<std::string>& arguments) {
        out_.str({});
        err_.str({});
        Session session{out_, err_,
                        [this](MessageSink& messages) {
                            messages.showMessage("probe note");
                            return std::string(
                                "<html>\r\n<body>\r\n<pre>USER NAME:               "
                                "engineer</pre>\r\n</body>\r\n");
                        },
                        [this] { return pathToUtf8(folder_ / "default.htm"); }};
        return run(parseArguments(arguments), session);
    }

    fs::path folder_;
    std::ostringstream out_, err_;
};

TEST_F(CommandRun, SaveWritesTheReportAndPrintsItsPath) {
    EXPECT_EQ(runWith({"--save"}), kExitOk);
    const std::string defaultPath = pathToUtf8(folder_ / "default.htm");
    EXPECT_EQ(out_.str(), defaultPath + "\n");
    EXPECT_EQ(testing::readBytes(defaultPath).rfind("<html>\r\n", 0), 0u);
    EXPECT_EQ(err_.str(), "sysreport: probe note\n");

    const std::string named = pathToUtf8(folder_ / "named.htm");
    EXPECT_EQ(runWith({"--save", named}), kExitOk);
    EXPECT_EQ(out_.str(), named + "\n");
    EXPECT_TRUE(fs::exists(folder_ / "named.htm"));
}

TEST_F(CommandRun, AnUnwritablePlaceIsAnErrorWithExitCodeOne) {
    const std::string path = pathToUtf8(folder_ / "no-such-folder" / "r.htm");
    for (const char* option : {"--save", "--text"}) {
        EXPECT_EQ(runWith({option, path}), kExitFailed) << option;
        EXPECT_EQ(out_.str(), "");
        EXPECT_NE(err_.str().find("could not be written to " + path), std::string::npos)
            << err_.str();
    }
}

TEST_F(CommandRun, TextGoesToTheOutputOrAFile) {
    for (std::vector<std::string> arguments :
         {std::vector<std::string>{"--text"}, std::vector<std::string>{"--text", "-"}}) {
        EXPECT_EQ(runWith(arguments), kExitOk);
        EXPECT_EQ(out_.str(), "USER NAME:               engineer\n");
    }
    const std::string file = pathToUtf8(folder_ / "ticket.txt");
    EXPECT_EQ(runWith({"--text", file}), kExitOk);
    EXPECT_EQ(testing::readBytes(file), "USER NAME:               engineer\n");
}

TEST_F(CommandRun, UsageVersionAndWrongOptions) {
    EXPECT_EQ(runWith({"--help"}), kExitOk);
    EXPECT_EQ(out_.str(), usageText());
    EXPECT_EQ(runWith({"--version"}), kExitOk);
    EXPECT_EQ(out_.str(), "sysreport Version 2.4.4, korvex-tools " KT_VERSION "\n");
    EXPECT_EQ(runWith({"--frobnicate"}), kExitUsage);
    EXPECT_EQ(out_.str(), "");
    EXPECT_EQ(err_.str(), "sysreport: unknown option --frobnicate\n" + usageText());
    // Without a display the window cannot open: the user learns what to do instead.
    EXPECT_EQ(runWith({}), kExitFailed);
    EXPECT_NE(err_.str().find("needs a display"), std::string::npos);
    EXPECT_NE(err_.str().find("--save"), std::string::npos);
}

}  // namespace
}  // namespace sysreport::cli
