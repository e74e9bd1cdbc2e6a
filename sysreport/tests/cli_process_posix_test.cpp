// The program on Linux, where the registry is the Wine prefix named by
// WINEPREFIX and a window needs a display.
#include <gtest/gtest.h>

#include "ProgramProcess.h"
#include "TestData.h"

namespace sysreport::testing {
namespace {

TEST_F(ProgramProcess, ReportsNameThePrefixTheyReadAndItsProducts) {
    Outcome outcome = run({"--save"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    const std::string html = readBytes(defaultReport());
    EXPECT_NE(html.find("> Plandry Simulation</h3>"), std::string::npos);
    EXPECT_NE(html.find("REGISTRY:                Wine prefix " + testDataPath("all-families")),
              std::string::npos);

    outcome = run({"--text", "-"});
    EXPECT_NE(outcome.out.find("\nPlandry Simulation\n"), std::string::npos);
    EXPECT_NE(outcome.out.find("(<b>1234</b>)"), std::string::npos);  // a value, as stored
    EXPECT_EQ(outcome.out.find('\r'), std::string::npos);
}

TEST_F(ProgramProcess, WithoutArgumentsOrADisplayItPointsToSave) {
    const Outcome outcome = run({});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.out, "");
    EXPECT_NE(outcome.err.find("sysreport --save"), std::string::npos) << outcome.err;
    EXPECT_FALSE(std::filesystem::exists(pathFromUtf8(defaultReport())));
}

}  // namespace
}  // namespace sysreport::testing
