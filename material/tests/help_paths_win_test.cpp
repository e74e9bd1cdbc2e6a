// Help on Windows: paths in the Windows style and the HTML Help viewer.

#include <gtest/gtest.h>

#include "ui/platform/HelpPaths.h"
#include "ui/platform/HelpViewer.h"

namespace material {
namespace {

TEST(NativePathStyle, IsWindows) {
    EXPECT_EQ(nativePathStyle(), PathStyle::Windows);
    EXPECT_EQ(folderHelpPath("C:\\Korvex\\M\\Materials\\"), "C:\\Korvex\\M\\help\\Material.chm");
}

// A missing help file is not the program's to report: the call returns quietly.
TEST(HtmlHelpViewer, MissingFileReturnsQuietly) {
    auto viewer = createHtmlHelpViewer();
    ASSERT_NE(viewer, nullptr);
    viewer->displayHelpFile("C:\\no such folder\\help\\Material.chm");
    viewer->displayHelpFile("");
}

}  // namespace
}  // namespace material
