// Settings on POSIX systems: no store of the system's own, and the settings folder
// found from the XDG variables.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "registry_backends.h"
#include "units/registry/ConfigFileStore.h"
#include "units/registry/clsRegistry.h"

namespace material {

std::vector<testing::BackendFactory> testing::nativeBackends() {
    return {};
}

namespace {

namespace fs = std::filesystem;
using testing::uniqueTempFolder;

TEST(UserSettingsFolder, FollowsXdgConfigHomeThenHome) {
    const std::string oldXdg = std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
    const std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    const fs::path temp = uniqueTempFolder("kt-xdg");

    setenv("XDG_CONFIG_HOME", temp.c_str(), 1);
    EXPECT_EQ(userSettingsFolder(), temp / "korvex-material");
    clsRegistry(makeUserSettingsStore()).SetValue(2);
    EXPECT_EQ(clsRegistry().GetValue(), 2);
    EXPECT_TRUE(fs::is_regular_file(temp / "korvex-material" / "Unit"));

    setenv("XDG_CONFIG_HOME", "relative/ignored", 1);
    setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(userSettingsFolder(), fs::path("/home/someone/.config/korvex-material"));
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("HOME");
    EXPECT_EQ(userSettingsFolder(), std::nullopt);

    fs::remove_all(temp);
    oldXdg.empty() ? unsetenv("XDG_CONFIG_HOME") : setenv("XDG_CONFIG_HOME", oldXdg.c_str(), 1);
    oldHome.empty() ? unsetenv("HOME") : setenv("HOME", oldHome.c_str(), 1);
}

}  // namespace
}  // namespace material
