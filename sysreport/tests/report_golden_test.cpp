// Whole reports compared with golden files, one folder per case. Each folder
// holds the registry of the case as Wine prefix files (system.reg, user.reg) and
// the expected report. On Linux the registry is read from those files; on
// Windows the same keys are written into the real registry first, so both legs
// must produce byte-identical reports.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "AnsiText.h"
#include "CaseRegistry.h"
#include "Fakes.h"
#include "ReportWriter.h"
#include "TestData.h"
#include "WineRegistry.h"

namespace sysreport::testing {
namespace {

struct GoldenCase {
    const char* folder;
    std::function<void(FakeSystemFacts&, FakeCadHost&)> setUp;
    std::vector<std::string> expectedMessages;
};

void PrintTo(const GoldenCase& c, std::ostream* out) {
    *out << c.folder;
}

class GoldenReport : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(GoldenReport, MatchesExpectedFile) {
    const GoldenCase& c = GetParam();
    const std::string folder = testDataPath(c.folder);
    FakeSystemFacts facts;
    FakeClock clock;
    FakeCadHost host;
    RecordingPrompts prompts;
    c.setUp(facts, host);
    CaseRegistry registry(folder, {"Software\\Quorvane", "Software\\Zentaro2007",
                                   "Software\\Plandry", ems2007InstallerKey()});
    auto ini = makeIniFileReader();
    RegistryReader reader(registry.backend(), *ini);
    ReportWriter writer({facts, clock, reader, host, prompts}, "C:\\Program Files\\sysreport",
                        ScreenFacts{1920, 1080, 32});

    const std::string report = toAnsi(writer.build());

    const std::string expectedPath = folder + "/expected.htm";
    if (std::getenv("SYSREPORT_UPDATE_GOLDEN") != nullptr) {
        writeBytes(expectedPath, report);
    }
    EXPECT_EQ(report, readBytes(expectedPath)) << "case " << c.folder;
    EXPECT_EQ(prompts.messages, c.expectedMessages);
    EXPECT_EQ(host.starts, 1);
    if (!facts.memoryError) {
        EXPECT_EQ(facts.diskFolder, "C:\\Program Files\\sysreport");
    }
}

const GoldenCase kCases[] = {
    {"no-products", [](FakeSystemFacts&, FakeCadHost&) {}, {}},
    {"all-families",
     [](FakeSystemFacts& facts, FakeCadHost& host) {
         facts.environment["korvexm"] = "C:\\Program Files\\Korvex M\\";
         facts.os = {"Windows NT ", "10.0", "22631", "", "Windows 11", "586", 16};
         host.info = CadHostInfo{20091015, "17.0.0 <beta>"};
     },
     {}},
    {"current-user-only", [](FakeSystemFacts&, FakeCadHost&) {}, {}},
    {"local-machine-only", [](FakeSystemFacts&, FakeCadHost&) {}, {}},
    {"ems-installer-only", [](FakeSystemFacts&, FakeCadHost&) {}, {}},
    {"probe-failures",
     [](FakeSystemFacts& facts, FakeCadHost&) {
         facts.osError = ProbeError{5, "Access is denied."};
         facts.memoryError = ProbeError{13, "Type mismatch"};
         facts.tempError = ProbeError{7, "Out of memory"};
         facts.ip.clear();
         facts.ipMessages = {"The 32-bit Windows Socket is not responding."};
         facts.ethernet = "000000000000";
     },
     {"The 32-bit Windows Socket is not responding.",
      "Stats.Form1.VersionInformation5Access is denied.",
      "Stats.Form1.SystemInformation13Type mismatch",
      "Stats.Form1.GetTempDirectory7Out of memory"}},
};

INSTANTIATE_TEST_SUITE_P(Cases, GoldenReport, ::testing::ValuesIn(kCases), [](const auto& info) {
    std::string name = info.param.folder;
    for (char& c : name) {
        if (c == '-')
            c = '_';
    }
    return name;
});

}  // namespace
}  // namespace sysreport::testing
