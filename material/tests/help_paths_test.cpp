#include <gtest/gtest.h>

#include <string>

#include "ui/platform/HelpPaths.h"
#include "ui/platform/HelpViewer.h"

namespace material {
namespace {

struct FolderCase {
    const char* folder;
    PathStyle style;
    const char* expected;
};

class FolderHelpPathTest : public ::testing::TestWithParam<FolderCase> {};

TEST_P(FolderHelpPathTest, DropsTheProgramFolderName) {
    const FolderCase& c = GetParam();
    EXPECT_EQ(folderHelpPath(c.folder, c.style), c.expected) << "folder: " << c.folder;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, FolderHelpPathTest,
    ::testing::Values(
        // the installed layout: <suite>\<9-character program folder>
        FolderCase{"C:\\Korvex\\M\\Materials", PathStyle::Windows,
                   "C:\\Korvex\\M\\help\\Material.chm"},
        FolderCase{"/opt/korvex/materials", PathStyle::Posix, "/opt/korvex/help/Material.chm"},
        // one trailing separator is not part of the folder name
        FolderCase{"C:\\Korvex\\M\\Materials\\", PathStyle::Windows,
                   "C:\\Korvex\\M\\help\\Material.chm"},
        FolderCase{"/opt/korvex/materials/", PathStyle::Posix, "/opt/korvex/help/Material.chm"},
        FolderCase{"D:\\Suite\\Materials/", PathStyle::Windows, "D:\\Suite\\help\\Material.chm"},
        // a backslash is an ordinary character in a Posix folder name
        FolderCase{"/opt/ab\\", PathStyle::Posix, "/opt/ab\\/help/Material.chm"},
        // exactly 10 characters leave nothing of the folder
        FolderCase{"C:\\Korvexm", PathStyle::Windows, "\\help\\Material.chm"},
        // shorter folders are kept whole, roots included
        FolderCase{"C:\\Korvex", PathStyle::Windows, "C:\\Korvex\\help\\Material.chm"},
        FolderCase{"C:\\", PathStyle::Windows, "C:\\help\\Material.chm"},
        FolderCase{"/", PathStyle::Posix, "/help/Material.chm"},
        FolderCase{"", PathStyle::Posix, "/help/Material.chm"},
        // characters, not bytes: never cut inside a multi-byte character
        FolderCase{"/opt/Prüfstand/Materiaüß", PathStyle::Posix,
                   "/opt/Prüfstand/help/Material.chm"},
        FolderCase{"/ü/äöüäöüäöü", PathStyle::Posix, "/ü/help/Material.chm"}));

struct InstallationCase {
    const char* value;
    PathStyle style;
    const char* expected;
};

class InstallationHelpPathTest : public ::testing::TestWithParam<InstallationCase> {};

TEST_P(InstallationHelpPathTest, AppendsTheHelpFileToTheValueAsItStands) {
    const InstallationCase& c = GetParam();
    EXPECT_EQ(installationHelpPath(c.value, c.style), c.expected) << "value: " << c.value;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, InstallationHelpPathTest,
    ::testing::Values(InstallationCase{"C:\\Program Files\\Korvex", PathStyle::Windows,
                                       "C:\\Program Files\\Korvex\\help\\Material.chm"},
                      InstallationCase{"/opt/korvex", PathStyle::Posix,
                                       "/opt/korvex/help/Material.chm"},
                      InstallationCase{"", PathStyle::Windows, "\\help\\Material.chm"},
                      InstallationCase{"", PathStyle::Posix, "/help/Material.chm"}));

}  // namespace
}  // namespace material
