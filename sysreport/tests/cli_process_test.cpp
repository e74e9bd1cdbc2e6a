// The built program started as a process: files written, output and exit codes,
// on both legs (under Wine, sysreport.exe started with CreateProcessW).
#include <gtest/gtest.h>

#include "ProgramProcess.h"
#include "TestData.h"

namespace sysreport::testing {
namespace {

// The output's first line without its line end (the Windows console's is CR LF).
std::string firstLine(const std::string& text) {
    std::string line = text.substr(0, text.find('\n'));
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return line;
}

bool isWholeReport(const std::string& html) {
    return html.rfind("<html>\r\n<head>\r\n", 0) == 0 && html.size() > 9 &&
           html.substr(html.size() - 9) == "</body>\r\n";
}

TEST_F(ProgramProcess, SaveWritesTheReportWhereViewSaveWould) {
    const Outcome outcome = run({"--save"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_EQ(firstLine(outcome.out), defaultReport());
    EXPECT_TRUE(isWholeReport(readBytes(defaultReport())));
}

TEST_F(ProgramProcess, SaveToANamedFileAndToAnUnwritablePlace) {
    // Blanks and a non-ASCII letter: arguments reach the program as UTF-8.
    const std::string named = path("home/ticket 4711 \xC3\x9C.htm");
    Outcome outcome = run({"--save", named});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_EQ(firstLine(outcome.out), named);
    EXPECT_TRUE(isWholeReport(readBytes(named)));

    outcome = run({"--save", path("missing/r.htm")});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.out, "");
    EXPECT_NE(outcome.err.find("could not be written"), std::string::npos) << outcome.err;
}

TEST_F(ProgramProcess, TextGoesToTheOutputWithoutMarkup) {
    const Outcome outcome = run({"--text", "-"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_NE(outcome.out.find("\nUSER NAME:               "), std::string::npos);
    for (const char* markup : {"<pre>", "<br>", "<p ", "</p>", "<h3>", "&lt;", "&amp;"}) {
        EXPECT_EQ(outcome.out.find(markup), std::string::npos) << markup;
    }
}

TEST_F(ProgramProcess, HelpVersionAndWrongOptionsEndWithoutAReport) {
    const struct {
        const char* argument;
        int exitCode;
        const char* out;  // expected start of the output
        const char* err;  // expected part of the error output
    } cases[] = {
        {"--help", 0, "Usage: sysreport", ""},
        {"--version", 0, "sysreport Version 2.4.4, korvex-tools " KT_VERSION, ""},
        {"--bogus", 2, "", "Usage: sysreport"},
    };
    for (const auto& c : cases) {
        const Outcome outcome = run({c.argument});
        EXPECT_EQ(outcome.exitCode, c.exitCode) << c.argument;
        EXPECT_EQ(outcome.out.rfind(c.out, 0), 0u) << c.argument << ": " << outcome.out;
        EXPECT_NE(outcome.err.find(c.err), std::string::npos) << c.argument << ": " << outcome.err;
    }
    EXPECT_FALSE(std::filesystem::exists(pathFromUtf8(defaultReport())));
}

}  // namespace
}  // namespace sysreport::testing
