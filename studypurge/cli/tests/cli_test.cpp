// The command line: argument handling, and whole runs over real documents through
// the platform's storage (our layer on Linux, ole32 under Wine).
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "CommandLine.h"
#include "DocumentFiles.h"
#include "PurgeDocument.h"
#include "Storage.h"

namespace {

using clitest::Item;
using spcli::LaunchKind;

TEST(ClassifyArguments, PathsAndOptionsDecideBetweenDialogAndCommandLine) {
    struct Case {
        std::vector<std::string> args;
        LaunchKind kind;
        std::string path;
    };
    const Case cases[] = {
        {{}, LaunchKind::Dialog, ""},
        {{"/docs/a.pldprt"}, LaunchKind::DialogWithPath, "/docs/a.pldprt"},
        {{"-platform", "offscreen", "/docs/a.pldprt"},
         LaunchKind::DialogWithPath,
         "/docs/a.pldprt"},
        {{"-platform", "offscreen"}, LaunchKind::Dialog, ""},
        {{"--all", "/docs/a.pldprt"}, LaunchKind::CommandLine, ""},
        {{"--help"}, LaunchKind::CommandLine, ""},
        {{"/docs/a.pldprt", "/docs/b.pldasm"}, LaunchKind::CommandLine, ""},
    };
    for (const Case& c : cases) {
        const spcli::Launch launch = spcli::classifyArguments(c.args);
        EXPECT_EQ(launch.kind, c.kind) << ::testing::PrintToString(c.args);
        EXPECT_EQ(launch.path, c.path) << ::testing::PrintToString(c.args);
    }
}

TEST(ParseArguments, ProductListsSelectTheDialogsTicks) {
    spcli::Options o;
    std::string error;
    ASSERT_TRUE(spcli::parseArguments({"--products", "flow,quiklet", "--json", "x"}, o, error))
        << error;
    EXPECT_TRUE(o.products.flow && o.products.simulationQuiklet);
    EXPECT_FALSE(o.products.simulation || o.products.motion || o.products.sustainability);
    EXPECT_TRUE(o.json);
    EXPECT_EQ(o.paths, std::vector<std::string>{"x"});

    spcli::Options all;
    ASSERT_TRUE(spcli::parseArguments({"--all", "--recursive", "--", "--odd-name"}, all, error))
        << error;
    EXPECT_TRUE(all.products.simulation && all.products.simulationQuiklet && all.products.flow &&
                all.products.motion && all.products.sustainability);
    EXPECT_EQ(all.paths, std::vector<std::string>{"--odd-name"});
}

TEST(ParseArguments, UsageErrorsSayWhatIsWrong) {
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const Case cases[] = {
        {{"x"}, "choose the products"},
        {{"--all"}, "name at least one"},
        {{"--all", "--products", "flow", "x"}, "exclude each other"},
        {{"--products", "flow,cad", "x"}, "unknown product \"cad\""},
        {{"--products", "flow,,motion", "x"}, "empty product name"},
        {{"--products"}, "needs a list"},
        {{"--all", "--fast", "x"}, "unknown option --fast"},
        {{"--all", "--dry-run", "--compact", "x"}, "cannot --compact"},
    };
    for (const Case& c : cases) {
        spcli::Options o;
        std::string error;
        EXPECT_FALSE(spcli::parseArguments(c.args, o, error)) << ::testing::PrintToString(c.args);
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
    }
}

// A project folder as administrators keep them.
class ProjectFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string error;
        clitest::makeFolder(dir.path("project/sub"));
        ASSERT_TRUE(clitest::writeDocument(bracket, kBracket, error)) << error;
        ASSERT_TRUE(
            clitest::writeDocument(plain, {{"Body", 9000}, {"ThirdPtyStore/Keep", 300}}, error))
            << error;
        ASSERT_TRUE(clitest::writeDocument(deep, kBracket, error)) << error;
        clitest::writeBytes(broken, std::vector<std::uint8_t>(2000, 'x'));
        clitest::writeBytes(dir.path("project/notes.txt"), {'n', 'o'});
    }

    int run(const std::vector<std::string>& args) {
        out.str("");
        err.str("");
        return spcli::runCommandLine(args, out, err);
    }
    std::vector<std::string> lines() const {
        std::vector<std::string> result;
        std::istringstream in(out.str());
        for (std::string line; std::getline(in, line);) {
            // Folder searches give Windows paths with backslashes (doubled in JSON).
            std::string plain;
            for (std::size_t i = 0; i < line.size(); ++i) {
                const bool slash = line[i] == '\\';
                plain += slash ? '/' : line[i];
                i += slash && i + 1 < line.size() && line[i + 1] == '\\';
            }
            line = plain;
            result.push_back(line);
        }
        return result;
    }

    const std::vector<Item> kBracket = {
        {"Body", 20000},
        {"ThirdPtyStore/Korworks/Study 1/Results", 6000},
        {"ThirdPtyStore/Korworks/Config", 300},
        {"ThirdPtyStore/KorworksCommon", 100},
        {"ThirdPtyStore/KorvexQuiklet", 700},
        {"ThirdPty/SUSTAINABILITY2010FULL", 5000},
        {"ThirdPty/Other", 40},
    };
    clitest::ScratchFolder dir;
    const std::string bracket = dir.path("project/bracket.pldprt");
    const std::string plain = dir.path("project/Plain.PLDASM");
    const std::string broken = dir.path("project/broken.pldprt");
    const std::string deep = dir.path("project/sub/deep.pldprt");
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(ProjectFolder, CleansTheDocumentsOfAFolderAndReportsEachAndTheTotal) {
    const auto brokenBytes = clitest::readBytes(broken);
    EXPECT_EQ(run({"--products", "simulation,sustainability", dir.path("project")}), 1);
    EXPECT_EQ(lines(), (std::vector<std::string>{
                           plain + ": unchanged: nothing to remove",
                           bracket + ": cleaned: removed ThirdPtyStore/Korworks, "
                                     "ThirdPty/SUSTAINABILITY2010FULL; 11300 bytes freed",
                           broken + ": refused: not a compound file",
                           "cleaned 1, unchanged 1, refused 1; 11300 bytes freed",
                       }));
    EXPECT_EQ(clitest::listDocument(bracket),
              (std::vector<std::string>{
                  "F Body 20000", "F ThirdPty/Other 40", "F ThirdPtyStore/KorvexQuiklet 700",
                  "F ThirdPtyStore/KorworksCommon 100", "S ThirdPty", "S ThirdPtyStore"}));
    EXPECT_EQ(clitest::readBytes(broken), brokenBytes);
    EXPECT_EQ(clitest::listDocument(deep).size(), 11u) << "sub-folders only with --recursive";
}

TEST_F(ProjectFolder, RecursiveSearchAndJsonForScripts) {
    EXPECT_EQ(run({"--json", "--recursive", "--products", "quiklet", dir.path("project"), bracket}),
              1);
    const auto got = lines();
    ASSERT_EQ(got.size(), 5u) << out.str();  // bracket once, though named twice
    EXPECT_EQ(got[3], "{\"path\":\"" + deep +
                          "\",\"outcome\":\"cleaned\",\"dryRun\":false,\"removed\":[{\"item\":"
                          "\"ThirdPtyStore/KorvexQuiklet\",\"bytes\":700}],\"bytesFreed\":700}");
    EXPECT_NE(got[2].find("\"outcome\":\"refused\",\"dryRun\":false,\"removed\":[],"
                          "\"bytesFreed\":0,\"reason\":\"not a compound file\""),
              std::string::npos)
        << got[2];
    EXPECT_EQ(got[4],
              "{\"summary\":{\"dryRun\":false,\"cleaned\":2,\"unchanged\":1,\"refused\":1,"
              "\"bytesFreed\":1400}}");
}

TEST_F(ProjectFolder, DryRunReportsWithoutWritingEvenOnReadOnlyFiles) {
    clitest::makeReadOnly(bracket);
    const auto before = clitest::readBytes(bracket);
    EXPECT_EQ(run({"--dry-run", "--all", bracket}), 0);
    EXPECT_EQ(lines(), (std::vector<std::string>{
                           bracket + ": would remove ThirdPtyStore/KorvexQuiklet, "
                                     "ThirdPtyStore/Korworks, ThirdPty/SUSTAINABILITY2010FULL; "
                                     "12000 bytes would be freed",
                           "would clean 1, unchanged 0, refused 0; 12000 bytes would be freed",
                       }));
    EXPECT_EQ(clitest::readBytes(bracket), before);

    // Without --dry-run the read-only document is refused and left as it was.
    EXPECT_EQ(run({"--all", bracket}), 1);
    EXPECT_EQ(lines().front(), bracket + ": refused: read-only");
    EXPECT_EQ(clitest::readBytes(bracket), before);
}

TEST_F(ProjectFolder, DocumentsInUseOrMissingAreRefused) {
    purge::OpenFailure failure;
    auto held = purge::platformStorageSystem().open(bracket, purge::AccessMode::ReadWrite, failure);
    ASSERT_TRUE(held);
    EXPECT_EQ(run({"--all", bracket, dir.path("project/gone.pldprt")}), 1);
    EXPECT_EQ(lines(), (std::vector<std::string>{
                           bracket + ": refused: open in another program",
                           dir.path("project/gone.pldprt") + ": refused: not found",
                           "cleaned 0, unchanged 0, refused 2; 0 bytes freed",
                       }));
}

TEST_F(ProjectFolder, ExitCodesForSuccessUsageHelpAndVersion) {
    EXPECT_EQ(run({"--products", "motion,flow", plain, bracket}), 0);
    EXPECT_EQ(run({"--all"}), 2);
    EXPECT_NE(err.str().find("usage: studypurge"), std::string::npos);
    EXPECT_EQ(run({"--help"}), 0);
    EXPECT_NE(out.str().find("--products LIST"), std::string::npos);
    EXPECT_EQ(run({"--version"}), 0);
    EXPECT_EQ(out.str(), "studypurge version 2012, korvex-tools " KT_VERSION "\n");
}

// Compacting through the platform's own storage: the tree and the stream sizes stay,
// the freed space goes.
TEST_F(ProjectFolder, CompactingKeepsTheTreeAndShrinksTheFile) {
    const std::string big = dir.path("big.pldprt");
    std::string error;
    ASSERT_TRUE(clitest::writeDocument(big,
                                       {{"Body", 200000},
                                        {"ThirdPtyStore/Korworks/Results", 50000},
                                        {"ThirdPtyStore/Keep", 3000},
                                        {"ThirdPty/SUSTAINABILITY2010FULL", 9000}},
                                       error))
        << error;
    const std::size_t before = clitest::readBytes(big).size();
    EXPECT_EQ(run({"--products", "simulation", "--compact", big}), 0) << out.str();
    const std::size_t after = clitest::readBytes(big).size();
    EXPECT_EQ(lines().front(), big +
                                   ": cleaned: removed ThirdPtyStore/Korworks; 50000 bytes freed; "
                                   "compacted from " +
                                   std::to_string(before) + " to " + std::to_string(after) +
                                   " bytes");
    EXPECT_EQ(
        clitest::listDocument(big),
        (std::vector<std::string>{"F Body 200000", "F ThirdPty/SUSTAINABILITY2010FULL 9000",
                                  "F ThirdPtyStore/Keep 3000", "S ThirdPty", "S ThirdPtyStore"}));
    EXPECT_LT(after + 49000, before);
    EXPECT_GT(after, 212000u);
}

// A compound file whose header points its directory beyond the end is refused as
// damaged on both legs and left byte-identical.
TEST_F(ProjectFolder, DamagedDocumentsAreRefusedUntouched) {
    auto bytes = clitest::readBytes(bracket);
    bytes[48] = 0xF0, bytes[49] = 0xFF, bytes[50] = 0xFF, bytes[51] = 0x0F;
    clitest::writeBytes(bracket, bytes);
    EXPECT_EQ(run({"--all", bracket}), 1);
    EXPECT_EQ(lines().front().rfind(bracket + ": refused: damaged: ", 0), 0u) << out.str();
    EXPECT_EQ(clitest::readBytes(bracket), bytes);
}

}  // namespace
