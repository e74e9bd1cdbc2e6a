// Folders the user may not write to (permissions do not bind the superuser, who
// is told so by a skipped test).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "FilePaths.h"
#include "ReportFile.h"
#include "TestData.h"
#include "Version.h"

namespace sysreport::testing {
namespace {

namespace fs = std::filesystem;

class ReadOnlyFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / "kt-sysreport-readonly";
        fs::remove_all(root_);
        fs::create_directories(root_ / "program");
        fs::create_directories(root_ / "documents");
        // An old report the user owns and may write, in a folder that takes no new file.
        std::ofstream(root_ / "program" / kReportFileName) << "old report";
        chmod((root_ / "program").c_str(), 0555);
        if (std::ofstream(root_ / "program" / "probe")) {
            fs::remove(root_ / "program" / "probe");
            GTEST_SKIP() << "folder permissions do not bind this user";
        }
    }
    void TearDown() override {
        chmod((root_ / "program").c_str(), 0755);
        fs::remove_all(root_);
    }
    std::string folder(const char* name) const { return pathToUtf8(root_ / name); }

    fs::path root_;
};

TEST_F(ReadOnlyFolder, AStaleReportDoesNotMakeTheFolderWritable) {
    const std::string path =
        resolveReportPath({folder("program"), folder("documents"), folder("documents")});
    EXPECT_EQ(path, folder("documents") + "/" + kReportFileName);
    // The old report stays as it was.
    EXPECT_EQ(readBytes(folder("program") + "/" + kReportFileName), "old report");
}

TEST_F(ReadOnlyFolder, AFailedWriteKeepsTheOldReport) {
    std::string error;
    EXPECT_FALSE(writeReportFile(folder("program") + "/" + kReportFileName, "new", error));
    EXPECT_EQ(readBytes(folder("program") + "/" + kReportFileName), "old report");
}

// An installed program's folder is the system's: its report goes elsewhere, even for
// root, who could write there.
TEST(InstalledProgram, SystemFoldersAreNeverTheReportsPlace) {
    const struct {
        const char* folder;
        bool system;
    } cases[] = {
        {"/usr/bin", true},         {"/usr/local/bin", true}, {"/bin", true},
        {"/opt/korvex/bin", true},  {"/snap/bin", true},      {"/app/bin", true},
        {"/home/ann/tools", false}, {"/usr2/bin", false},     {"/work/build/bin", false},
        {"/optical/bin", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isSystemProgramFolder(c.folder), c.system) << c.folder;
    }
}

}  // namespace
}  // namespace sysreport::testing
