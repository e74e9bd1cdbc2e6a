// Where the report goes, its replacement on every write, and the View/Save prompts.
#include <gtest/gtest.h>

#include <filesystem>

#include "Fakes.h"
#include "FilePaths.h"
#include "ReportFile.h"
#include "TestData.h"
#include "Version.h"

namespace sysreport::testing {
namespace {

namespace fs = std::filesystem;

class ReportFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ =
            fs::temp_directory_path() /
            ("sysreport-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_ / "program");
        fs::create_directories(root_ / "documents");
        fs::create_directories(root_ / "home");
        fs::create_directories(root_ / "temp");
    }
    void TearDown() override { fs::remove_all(root_); }

    std::string folder(const char* name) const { return pathToUtf8(root_ / name); }
    std::string reportIn(const char* name) const {
        return folder(name) + kPathSeparator + kReportFileName;
    }

    fs::path root_;
};

TEST_F(ReportFileTest, FallsBackWhenTheProgramFolderCannotBeWritten) {
    const std::string missing = folder("no-such-folder");
    EXPECT_EQ(resolveReportPath({folder("program"), folder("documents"), folder("home")}),
              reportIn("program"));
    EXPECT_EQ(resolveReportPath({missing, folder("documents"), folder("home")}),
              reportIn("documents"));
    EXPECT_EQ(resolveReportPath({missing, "", folder("home")}), reportIn("home"));
    // The temporary folder is the last resort before giving up.
    EXPECT_EQ(resolveReportPath({missing, missing, missing, folder("temp")}), reportIn("temp"));
    EXPECT_EQ(resolveReportPath({missing, missing, missing, missing}),
              missing + kPathSeparator + kReportFileName);
    // Probing leaves nothing behind.
    EXPECT_FALSE(fs::exists(pathFromUtf8(reportIn("program"))));
}

TEST_F(ReportFileTest, EveryWriteReplacesTheWholeFile) {
    RecordingPrompts prompts;
    int runs = 0;
    ReportCommands commands([&] { return "<html>\r\nrun " + std::to_string(++runs) + "\r\n"; },
                            prompts, {folder("program"), folder("documents"), folder("home")});
    EXPECT_EQ(commands.writeToFile(), reportIn("program"));
    EXPECT_EQ(commands.writeToFile(), reportIn("program"));
    EXPECT_EQ(readBytes(reportIn("program")), "<html>\r\nrun 2\r\n");
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(ReportFileTest, ViewSaveAsksThenOpensOrTellsWhereTheReportIs) {
    for (bool view : {true, false}) {
        RecordingPrompts prompts;
        prompts.answerYes = view;
        ReportCommands commands([] { return std::string("report\r\n"); }, prompts,
                                {folder("no-such-folder"), folder("documents"), folder("home")});
        commands.viewSave();
        const std::string path = reportIn("documents");
        ASSERT_EQ(prompts.questions.size(), 1u);
        EXPECT_EQ(prompts.questions[0],
                  "View/Save to a File| Do you want to view the information?\r\n"
                  "(Information will be automatically saved to " +
                      path + " File.)");
        EXPECT_EQ(readBytes(path), "report\r\n");
        if (view) {
            EXPECT_EQ(prompts.opened, std::vector<std::string>{path});
            EXPECT_TRUE(prompts.messages.empty());
        } else {
            EXPECT_TRUE(prompts.opened.empty());
            EXPECT_EQ(prompts.messages,
                      std::vector<std::string>{"View/Save to a File|Information written to " +
                                               path + " File. "});
        }
    }
}

TEST_F(ReportFileTest, ViewSaveNamesTheFolderReallyUsedAndWritesThere) {
    RecordingPrompts prompts;
    const std::string missing = folder("no-such-folder");
    ReportCommands commands([] { return std::string("report\r\n"); }, prompts,
                            {missing, missing, "", folder("temp")});
    commands.viewSave();
    ASSERT_EQ(prompts.questions.size(), 1u);
    EXPECT_NE(prompts.questions[0].find(reportIn("temp") + " File.)"), std::string::npos);
    EXPECT_EQ(readBytes(reportIn("temp")), "report\r\n");
    EXPECT_EQ(prompts.opened, std::vector<std::string>{reportIn("temp")});
}

TEST_F(ReportFileTest, AReportThatCannotBeOpenedIsNamedInAMessage) {
    RecordingPrompts prompts;
    prompts.openSucceeds = false;  // no handler for the file type
    ReportCommands commands([] { return std::string("report\r\n"); }, prompts,
                            {folder("program"), folder("documents"), folder("home")});
    commands.viewSave();
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].rfind("View/Save to a File|The report could not be opened", 0),
              0u);
    EXPECT_NE(prompts.messages[0].find(reportIn("program")), std::string::npos);
}

TEST_F(ReportFileTest, WritingLeavesNoScratchFilesAndTheTextIsSingleByte) {
    std::string error;
    ASSERT_TRUE(writeReportFile(reportIn("program"), "caf\xC3\xA9 \xE6\x97\xA5", error)) << error;
    ASSERT_TRUE(writeReportFile(reportIn("program"), "second", error)) << error;
    EXPECT_EQ(readBytes(reportIn("program")), "second");
    EXPECT_EQ(std::distance(fs::directory_iterator(root_ / "program"), fs::directory_iterator()),
              1);
    EXPECT_FALSE(writeReportFile(folder("no-such-folder") + "/r.htm", "x", error));
    EXPECT_FALSE(error.empty());
}

TEST_F(ReportFileTest, AFailedWriteIsReportedAndNothingIsOpened) {
    RecordingPrompts prompts;
    const std::string missing = folder("no-such-folder");
    ReportCommands commands([] { return std::string("report\r\n"); }, prompts,
                            {missing, missing, missing});
    commands.viewSave();
    EXPECT_TRUE(prompts.opened.empty());
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].rfind(
                  std::string(kAppTitle) + "|The report could not be written to " + missing, 0),
              0u)
        << prompts.messages[0];
}

}  // namespace
}  // namespace sysreport::testing
