// The desktop's own programs on Linux: the system information tool, the mail
// composer and handler, and the file opener, stood in for by shell scripts.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "MailDelivery.h"
#include "ShellOpen.h"
#include "SystemInfoTool.h"
#include "TestData.h"

namespace sysreport {
namespace {

namespace fs = std::filesystem;

// A folder of small shell scripts standing in for desktop programs.
class ScriptFolder {
  public:
    ScriptFolder()
        : folder_(fs::temp_directory_path() / ("kt-sysreport-" + std::to_string(getpid()))) {
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    ~ScriptFolder() { fs::remove_all(folder_); }

    void add(const std::string& name, const std::string& script, bool executable = true) {
        const fs::path path = folder_ / name;
        std::ofstream(path) << "#!/bin/sh\n" << script << "\n";
        chmod(path.c_str(), executable ? 0755 : 0644);
    }
    std::string path() const { return folder_.string(); }
    std::string file(const std::string& name) const { return (folder_ / name).string(); }

  private:
    fs::path folder_;
};

TEST(DesktopSystemInfo, PrefersHardinfo2ThenHardinfoAndSkipsNonPrograms) {
    ScriptFolder first, second;
    EXPECT_EQ(desktopSystemInfoProgram(first.path() + ":" + second.path()), "");
    first.add("hardinfo2", "", false);  // not executable
    second.add("hardinfo", "");
    EXPECT_EQ(desktopSystemInfoProgram(first.path() + ":" + second.path()),
              second.file("hardinfo"));
    second.add("hardinfo2", "");
    EXPECT_EQ(desktopSystemInfoProgram(first.path() + ":" + second.path()),
              second.file("hardinfo2"));
}

// PATH replaced for the lifetime of the object.
class PathOverride {
  public:
    explicit PathOverride(const std::string& path) : saved_(std::getenv("PATH")) {
        setenv("PATH", path.c_str(), 1);
    }
    ~PathOverride() { setenv("PATH", saved_.c_str(), 1); }

  private:
    std::string saved_;
};

TEST(DesktopMail, ComposeHandsSubjectBodyAttachmentAndAddressToXdgEmail) {
    ScriptFolder scripts;
    const std::string argumentsFile = scripts.file("arguments");
    scripts.add("xdg-email", "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" + argumentsFile +
                                 "'\n"
                                 "exit ${KT_FAKE_EXIT:-0}");
    PathOverride path(scripts.path() + ":/usr/bin:/bin");
    auto mail = makePlatformMailClient();
    ASSERT_TRUE(mail->canCompose());
    const MailMessage message{"desk@example.org", "Report File", "Report file attached",
                              "/tmp/Folder With Blanks/Simulation Product Info.htm"};
    std::string error;
    EXPECT_TRUE(mail->composeWithAttachment(message, error)) << error;
    EXPECT_EQ(testing::readBytes(argumentsFile),
              "--subject\nReport File\n--body\nReport file attached\n--attach\n"
              "/tmp/Folder With Blanks/Simulation Product Info.htm\nmailto:desk@example.org\n");

    setenv("KT_FAKE_EXIT", "3", 1);
    EXPECT_FALSE(mail->composeWithAttachment(message, error));
    EXPECT_EQ(error, "no mail program is set up on this computer");
    unsetenv("KT_FAKE_EXIT");
}

// Counts the waits and answers at once whenever the program has ended.
class CountingWait : public BusyWait {
  public:
    void waitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) override {
        ++waits;
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (!done() && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    int waits = 0;
};

TEST(DesktopMail, TheComposerIsAwaitedThroughTheWindowsWait) {
    ScriptFolder scripts;
    scripts.add("xdg-email", "sleep 0.2\nexit 3");
    PathOverride path(scripts.path() + ":/usr/bin:/bin");
    CountingWait wait;
    auto mail = makePlatformMailClient(wait);
    std::string error;
    EXPECT_FALSE(mail->composeWithAttachment({"a@b", "s", "b", "/tmp/r.htm"}, error));
    EXPECT_EQ(error, "no mail program is set up on this computer");
    EXPECT_EQ(wait.waits, 1);
}

TEST(DesktopOpen, AMissingOrFailingHandlerIsAFailure) {
    ScriptFolder scripts;
    PathOverride path(scripts.path());
    CountingWait wait;
    EXPECT_FALSE(openWithDesktop("/tmp/r.htm", wait));  // no xdg-open at all
    const std::pair<const char*, bool> cases[] = {
        {"exit 3", false},  // no handler for the file type
        {"exit 4", false},  // the handler failed
        {"exit 0", true},
        {"exec /bin/sleep 5", true},  // still running: the handler is up
    };
    for (const auto& [script, opened] : cases) {
        scripts.add("xdg-open", script);
        EXPECT_EQ(openWithDesktop("/tmp/r.htm", wait), opened) << script;
    }
}

TEST(DesktopMail, MailHandlerIsWhatXdgMimeNames) {
    ScriptFolder scripts;
    PathOverride path(scripts.path());
    auto mail = makePlatformMailClient();
    EXPECT_EQ(mail->mailHandler(), "");
    scripts.add("xdg-mime",
                "[ \"$*\" = 'query default x-scheme-handler/mailto' ] && "
                "echo org.mozilla.Thunderbird.desktop");
    EXPECT_EQ(mail->mailHandler(), "org.mozilla.Thunderbird.desktop");
}

TEST(DesktopMail, MissingXdgEmailIsAFailureAndNoAutomationExists) {
    ScriptFolder empty;
    PathOverride path(empty.path());
    auto mail = makePlatformMailClient();
    std::string error;
    EXPECT_FALSE(mail->composeWithAttachment({"a@b", "s", "b", "/tmp/r.htm"}, error));
    EXPECT_NE(error.find("xdg-email"), std::string::npos) << error;
    EXPECT_FALSE(mail->sendAutomated({"a@b", "s", "b", "/tmp/r.htm"}, error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace sysreport
