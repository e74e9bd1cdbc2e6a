// Help paths on POSIX systems.

#include <gtest/gtest.h>

#include "ui/platform/HelpPaths.h"
#include "ui/platform/HelpViewer.h"

namespace material {
namespace {

TEST(NativePathStyle, IsPosix) {
    EXPECT_EQ(nativePathStyle(), PathStyle::Posix);
    EXPECT_EQ(installationHelpPath("/k"), "/k/help/Material.chm");
}

}  // namespace
}  // namespace material
