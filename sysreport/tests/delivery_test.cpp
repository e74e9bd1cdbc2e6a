// Mail links, the mail programs of each platform and the system information tool.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <thread>

#include "MailDelivery.h"
#include "ShellOpen.h"
#include "SystemInfoTool.h"
#include "TestData.h"

#ifdef _WIN32
#include <windows.h>

#include "WinText.h"
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace sysreport {
namespace {

TEST(MailLink, PrefixIsAddedUnlessPresentInAnyLetterCase) {
    const std::pair<const char*, const char*> cases[] = {
        {"desk@example.org", "mailto:desk@example.org?subject=S"},
        {"mailto:desk@example.org", "mailto:desk@example.org?subject=S"},
        {"MailTo:Desk@Example.org", "MailTo:Desk@Example.org?subject=S"},
        {"MAILTO:desk@example.org", "MAILTO:desk@example.org?subject=S"},
        {"mail@example.org", "mailto:mail@example.org?subject=S"},
        {"mailto", "mailto:mailto?subject=S"},
    };
    for (const auto& [address, link] : cases) {
        EXPECT_EQ(mailToLink(address, "S", ""), link) << address;
    }
}

TEST(MailLink, FieldsAreJoinedByQuestionMarkThenAmpersand) {
    EXPECT_EQ(mailToLink("a@b", "", ""), "mailto:a@b");
    EXPECT_EQ(mailToLink("a@b", "S", "B"), "mailto:a@b?subject=S&body=B");
    EXPECT_EQ(mailToLink("a@b", "", "B"), "mailto:a@b?body=B");
}

TEST(MailLink, SubjectAndBodyArePercentEncoded) {
    const std::pair<const char*, const char*> cases[] = {
        {"a b", "a%20b"},
        {"line\r\nnext", "line%0D%0Anext"},
        {"&=?#%+", "%26%3D%3F%23%25%2B"},
        {"C:\\Program Files\\Korvex", "C:%5CProgram%20Files%5CKorvex"},
        {"caf\xC3\xA9", "caf%C3%A9"},
        {"-._~/:@AZaz09", "-._~/:@AZaz09"},
    };
    for (const auto& [text, encoded] : cases) {
        EXPECT_EQ(percentEncodeMailField(text), encoded) << text;
    }
}

TEST(MailLink, AnAddressCannotAddHeaderFields) {
    const std::pair<const char*, const char*> cases[] = {
        {"evil@x.example?bcc=spy@y.example", "mailto:evil@x.example%3Fbcc%3Dspy@y.example"},
        {"a@b&cc=c@d", "mailto:a@b%26cc%3Dc@d"},
        {"a b@c", "mailto:a%20b@c"},
        {"100%@c", "mailto:100%25@c"},
        {"a@b, c@d", "mailto:a@b,%20c@d"},
        {"MAILTO:x@y?body=z", "MAILTO:x@y%3Fbody%3Dz"},
    };
    for (const auto& [address, link] : cases) {
        EXPECT_EQ(mailToLink(address, "", ""), link) << address;
    }
    EXPECT_EQ(mailToLink("a?b@c", "x&y", "1 2"), "mailto:a%3Fb@c?subject=x%26y&body=1%202");
}

TEST(MailLink, DesktopComposerGetsTheAddressAsALinkNeverAsAnOption) {
    const MailMessage message{"-evil@x.example", "S", "B", "/tmp/r.htm"};
    EXPECT_EQ(desktopComposeArguments(message),
              (std::vector<std::string>{"xdg-email", "--subject", "S", "--body", "B", "--attach",
                                        "/tmp/r.htm", "mailto:-evil@x.example"}));
}

TEST(MailHandler, OnlyKnownComposersAreTrustedWithAttachments) {
    for (const char* handler :
         {"thunderbird.desktop", "org.mozilla.Thunderbird.desktop", "org.gnome.Evolution.desktop",
          "org.kde.kmail2.desktop", "claws-mail.desktop", "org.gnome.Geary.desktop",
          "sylpheed.desktop"}) {
        EXPECT_TRUE(mailHandlerTakesAttachments(handler)) << handler;
    }
    for (const char* handler : {"", "firefox.desktop", "google-chrome.desktop",
                                "userapp-mutt.desktop", "org.gnome.Nautilus.desktop"}) {
        EXPECT_FALSE(mailHandlerTakesAttachments(handler)) << handler;
    }
}

// A registry of the local machine's values and a set of existing files.
struct LookupScript {
    std::map<std::string, std::string> values;  // "key|name" -> value
    std::vector<std::string> files;

    SystemInfoLookup lookup() const {
        return {[this](const std::string& key, const std::string& name, std::string& value) {
                    const auto found = values.find(key + "|" + name);
                    if (found == values.end()) {
                        return false;
                    }
                    value = found->second;
                    return true;
                },
                [this](const std::string& path) {
                    return std::find(files.begin(), files.end(), path) != files.end();
                }};
    }
};

TEST(SystemInfoProgram, ToolKeyFirstThenSharedLocationWhenTheFileExists) {
    const std::string toolKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO|PATH";
    const std::string locationKey = "SOFTWARE\\Microsoft\\Shared Tools Location|MSINFO";
    const struct {
        LookupScript script;
        std::string program;
    } cases[] = {
        {{{{toolKey, "C:\\Tools\\msinfo32.exe"}, {locationKey, "C:\\Shared"}},
          {"C:\\Shared\\MSINFO32.EXE"}},
         "C:\\Tools\\msinfo32.exe"},
        {{{{locationKey, "C:\\Shared"}}, {"C:\\Shared\\MSINFO32.EXE"}}, "C:\\Shared\\MSINFO32.EXE"},
        {{{{locationKey, "C:\\Shared"}}, {}}, ""},
        {{{}, {"C:\\Shared\\MSINFO32.EXE"}}, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(systemInfoProgram(c.script.lookup()), c.program);
    }
}

#ifndef _WIN32

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

#else

TEST(GetKeyValue, ReadsTextAndThirtyTwoBitValuesOnly) {
    const wchar_t* key = L"Software\\KtKeyValueTest";
    RegDeleteTreeW(HKEY_CURRENT_USER, key);
    HKEY handle = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &handle, nullptr),
              ERROR_SUCCESS);
    const std::wstring text = L"C:\\Program Files\\Tools\\msinfo32.exe";
    RegSetValueExW(handle, L"PATH", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    const DWORD number = 305419896;  // 0x12345678
    RegSetValueExW(handle, L"Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                   sizeof number);
    const BYTE bytes[] = {1, 2, 3};
    RegSetValueExW(handle, L"Bytes", 0, REG_BINARY, bytes, sizeof bytes);
    RegCloseKey(handle);

    std::string value;
    EXPECT_TRUE(getKeyValue(RegistryRoot::CurrentUser, "Software\\KtKeyValueTest", "PATH", value));
    EXPECT_EQ(value, "C:\\Program Files\\Tools\\msinfo32.exe");
    EXPECT_TRUE(
        getKeyValue(RegistryRoot::CurrentUser, "Software\\KtKeyValueTest", "Number", value));
    EXPECT_EQ(value, "305419896");
    EXPECT_FALSE(
        getKeyValue(RegistryRoot::CurrentUser, "Software\\KtKeyValueTest", "Bytes", value));
    EXPECT_FALSE(
        getKeyValue(RegistryRoot::CurrentUser, "Software\\KtKeyValueTest", "Absent", value));
    EXPECT_FALSE(
        getKeyValue(RegistryRoot::CurrentUser, "Software\\KtKeyValueTest\\NoKey", "PATH", value));
    RegDeleteTreeW(HKEY_CURRENT_USER, key);
    RegDeleteKeyW(HKEY_CURRENT_USER, key);
}

TEST(WindowsMail, MissingOutlookIsReportedNotFatal) {
    auto mail = makePlatformMailClient();
    EXPECT_FALSE(mail->canCompose());
    std::string error;
    // Twice: a failed first attempt must not leave a broken application behind.
    for (int attempt = 0; attempt < 2; ++attempt) {
        EXPECT_FALSE(mail->sendAutomated({"a@b", "s", "b", "C:\\r.htm"}, error));
        EXPECT_FALSE(error.empty());
    }
}

#endif

}  // namespace
}  // namespace sysreport
