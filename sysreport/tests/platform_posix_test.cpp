// The platform's own probes on Linux.
#include <gtest/gtest.h>

#include "SystemFacts.h"

namespace sysreport {
namespace {

TEST(PlatformFacts, LinuxNamesItselfAndMountPoints) {
    auto facts = makePlatformSystemFacts();
    const auto os = facts->osVersion();
    ASSERT_TRUE(os.ok());
    EXPECT_EQ(os.value().platform, "Linux ");
    const auto temp = facts->tempDirectory();
    ASSERT_TRUE(temp.ok());
    const DiskSpace disk = facts->diskSpace(temp.value());
    ASSERT_FALSE(disk.drive.empty());
    EXPECT_EQ(disk.drive.front(), '/');
}

}  // namespace
}  // namespace sysreport
