// Registry files that are not regular files must not stop the program.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "WineRegistry.h"

namespace sysreport {
namespace {

TEST(WineRegistryFile, AFifoOrDeviceIsPassedOverInsteadOfRead) {
    const auto folder = std::filesystem::temp_directory_path() / "kt-prefix-fifo";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    // Opening a FIFO nobody writes to would wait for ever.
    ASSERT_EQ(mkfifo((folder / "system.reg").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", folder / "user.reg");

    WineRegistryBackend backend(folder.string());
    EXPECT_EQ(backend.openKey(RegistryRoot::LocalMachine, "Software"), 2);
    EXPECT_EQ(backend.sourceDescription(), "no Wine prefix found in " + folder.string());
    EXPECT_TRUE(WineRegistryFile::load("/dev/zero").keys().empty());
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace sysreport
