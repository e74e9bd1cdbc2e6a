// The built program started as a process, without a display: files written,
// output and exit codes.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "TestData.h"

namespace sysreport::testing {
namespace {

namespace fs = std::filesystem;

struct Outcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class ProgramProcess : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / "kt-sysreport-process";
        fs::remove_all(root_);
        fs::create_directories(root_ / "program");
        fs::create_directories(root_ / "home");
        // A copy of its own, so that the default report lands in this folder.
        fs::copy_file(SYSREPORT_PROGRAM, root_ / "program" / "sysreport");
    }
    void TearDown() override { fs::remove_all(root_); }

    // Runs the program with a clean environment: no display, the products of
    // the all-families case in its Wine prefix.
    Outcome run(const std::string& arguments) {
        const std::string command = "env -i PATH=/usr/bin:/bin HOME=" + (root_ / "home").string() +
                                    " WINEPREFIX=" + testDataPath("all-families") + " " +
                                    (root_ / "program" / "sysreport").string() + " " + arguments +
                                    " >" + (root_ / "out").string() + " 2>" +
                                    (root_ / "err").string();
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readBytes((root_ / "out").string()),
                readBytes((root_ / "err").string())};
    }

    fs::path root_;
};

TEST_F(ProgramProcess, SaveWritesTheReportWhereViewSaveWould) {
    const Outcome outcome = run("--save");
    const fs::path report = root_ / "program" / "Simulation Product Info.htm";
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_EQ(outcome.out, report.string() + "\n");
    const std::string html = readBytes(report.string());
    EXPECT_EQ(html.rfind("<html>\r\n<head>\r\n", 0), 0u);
    EXPECT_NE(html.find("> Plandry Simulation</h3>"), std::string::npos);
    EXPECT_NE(html.find("REGISTRY:                Wine prefix " + testDataPath("all-families")),
              std::string::npos);
    EXPECT_EQ(html.substr(html.size() - 9), "</body>\r\n");
}

TEST_F(ProgramProcess, SaveToANamedFileAndToAnUnwritablePlace) {
    const fs::path named = root_ / "home" / "ticket-4711.htm";
    Outcome outcome = run("--save " + named.string());
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_EQ(outcome.out, named.string() + "\n");
    EXPECT_TRUE(fs::exists(named));

    outcome = run("--save " + (root_ / "missing" / "r.htm").string());
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.out, "");
    EXPECT_NE(outcome.err.find("could not be written"), std::string::npos) << outcome.err;
}

TEST_F(ProgramProcess, TextGoesToTheOutputWithoutMarkup) {
    const Outcome outcome = run("--text -");
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_NE(outcome.out.find("\nUSER NAME:               "), std::string::npos);
    EXPECT_NE(outcome.out.find("\nPlandry Simulation\n"), std::string::npos);
    for (const char* markup : {"<pre>", "<br>", "<p ", "</p>", "<h3>", "&lt;", "&amp;"}) {
        EXPECT_EQ(outcome.out.find(markup), std::string::npos) << markup;
    }
    EXPECT_NE(outcome.out.find("(<b>1234</b>)"), std::string::npos);  // a value, as stored
    EXPECT_EQ(outcome.out.find('\r'), std::string::npos);
}

TEST_F(ProgramProcess, HelpVersionWrongOptionsAndNoDisplay) {
    const struct {
        const char* arguments;
        int exitCode;
        const char* out;  // expected start of the output
        const char* err;  // expected part of the error output
    } cases[] = {
        {"--help", 0, "Usage: sysreport", ""},
        {"--version", 0, "sysreport Version 2.4.4\n", ""},
        {"--bogus", 2, "", "Usage: sysreport"},
        {"", 1, "", "sysreport --save"},
    };
    for (const auto& c : cases) {
        const Outcome outcome = run(c.arguments);
        EXPECT_EQ(outcome.exitCode, c.exitCode) << c.arguments;
        EXPECT_EQ(outcome.out.rfind(c.out, 0), 0u) << c.arguments << ": " << outcome.out;
        EXPECT_NE(outcome.err.find(c.err), std::string::npos) << c.arguments << ": " << outcome.err;
    }
    EXPECT_FALSE(fs::exists(root_ / "program" / "Simulation Product Info.htm"));
}

}  // namespace
}  // namespace sysreport::testing
