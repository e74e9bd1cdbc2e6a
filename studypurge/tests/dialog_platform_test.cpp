// The dialog's toolkit-free platform services: how the HTML help viewer is found
// (once per run), and the about item of the window menu.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HtmlHelpViewer.h"
#include "WindowMenu.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace spdialog {
namespace {

// A host whose registry value and loadable libraries a test sets; it logs each call.
class FakeHost : public HtmlHelpHost {
  public:
    std::optional<std::u16string> registered;
    std::vector<std::u16string> loadable;
    bool hasOrdinal = true;

    std::vector<std::string> log;
    void* calledOwner = nullptr;
    std::u16string calledFile;
    unsigned calledCommand = 99;
    std::uintptr_t calledData = 99;

    std::optional<std::u16string> registeredPath(std::u16string_view key) override {
        log.push_back("registry " + narrow(std::u16string(key)));
        return registered;
    }
    void* loadLibrary(const std::u16string& path) override {
        log.push_back("load " + narrow(path));
        for (std::size_t i = 0; i < loadable.size(); ++i) {
            if (loadable[i] == path) {
                return &modules_[i];
            }
        }
        return nullptr;
    }
    void freeLibrary(void* module) override { log.push_back("free " + moduleName(module)); }
    void* exportByOrdinal(void* module, unsigned ordinal) override {
        log.push_back("export " + std::to_string(ordinal) + " of " + moduleName(module));
        return hasOrdinal ? &entry_ : nullptr;
    }
    void callHtmlHelp(void* entry, void* owner, const std::u16string& file, unsigned command,
                      std::uintptr_t data) override {
        log.push_back(entry == &entry_ ? "call" : "call of a wrong entry");
        calledOwner = owner;
        calledFile = file;
        calledCommand = command;
        calledData = data;
    }

  private:
    static std::string narrow(const std::u16string& text) {
        return std::string(text.begin(), text.end());
    }
    std::string moduleName(void* module) const {
        for (std::size_t i = 0; i < loadable.size(); ++i) {
            if (module == &modules_[i]) {
                return narrow(loadable[i]);
            }
        }
        return "unknown module";
    }

    int modules_[4] = {};
    int entry_ = 0;
};

const std::string kRegistryCall =
    "registry CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";

struct LookupCase {
    const char* name;
    std::optional<std::u16string> registered;
    std::vector<std::u16string> loadable;
    std::vector<std::string> expectedLog;
};

TEST(HtmlHelpViewerTest, FindsTheRegisteredControlOrFallsBackToTheSystemOne) {
    const std::vector<LookupCase> cases = {
        {"registered path loads",
         u"C:\\Windows\\System32\\hhctrl.ocx",
         {u"C:\\Windows\\System32\\hhctrl.ocx"},
         {kRegistryCall, "load C:\\Windows\\System32\\hhctrl.ocx",
          "export 15 of C:\\Windows\\System32\\hhctrl.ocx", "call"}},
        {"key missing",
         std::nullopt,
         {u"hhctrl.ocx"},
         {kRegistryCall, "load hhctrl.ocx", "export 15 of hhctrl.ocx", "call"}},
        {"registered path does not load",
         u"D:\\gone\\hhctrl.ocx",
         {u"hhctrl.ocx"},
         {kRegistryCall, "load D:\\gone\\hhctrl.ocx", "load hhctrl.ocx", "export 15 of hhctrl.ocx",
          "call"}},
    };
    for (const LookupCase& c : cases) {
        SCOPED_TRACE(c.name);
        FakeHost host;
        host.registered = c.registered;
        host.loadable = c.loadable;
        HtmlHelpViewer viewer(host);
        int owner = 0;
        EXPECT_TRUE(viewer.show(&owner));
        EXPECT_EQ(host.log, c.expectedLog);
        EXPECT_EQ(host.calledOwner, &owner);
        EXPECT_EQ(host.calledFile, u"studypurge.chm");
        EXPECT_EQ(host.calledCommand, 0u);
        EXPECT_EQ(host.calledData, 0u);
    }
}

TEST(HtmlHelpViewerTest, RemembersTheEntryPointAndFreesTheLibraryAtTheEnd) {
    FakeHost host;
    host.loadable = {u"hhctrl.ocx"};
    {
        HtmlHelpViewer viewer(host);
        EXPECT_TRUE(viewer.show(nullptr));
        EXPECT_TRUE(viewer.show(nullptr));
    }
    const std::vector<std::string> expected = {
        kRegistryCall, "load hhctrl.ocx", "export 15 of hhctrl.ocx", "call",
        "call",        "free hhctrl.ocx"};
    EXPECT_EQ(host.log, expected);
}

TEST(HtmlHelpViewerTest, RemembersAFailureAndNeverTriesAgain) {
    // No library at all.
    FakeHost noLibrary;
    HtmlHelpViewer first(noLibrary);
    EXPECT_FALSE(first.show(nullptr));
    const std::size_t callsAfterFirstTry = noLibrary.log.size();
    EXPECT_FALSE(first.show(nullptr));
    EXPECT_FALSE(first.resolve());
    EXPECT_EQ(noLibrary.log.size(), callsAfterFirstTry);

    // A library without the entry point: it is given back and not loaded again.
    FakeHost noEntry;
    noEntry.loadable = {u"hhctrl.ocx"};
    noEntry.hasOrdinal = false;
    HtmlHelpViewer second(noEntry);
    EXPECT_FALSE(second.show(nullptr));
    EXPECT_FALSE(second.show(nullptr));
    const std::vector<std::string> expected = {kRegistryCall, "load hhctrl.ocx",
                                               "export 15 of hhctrl.ocx", "free hhctrl.ocx"};
    EXPECT_EQ(noEntry.log, expected);
}

#ifdef _WIN32

// A private classes-root key, created for one test and removed after it.
class RegistryKeyTest : public ::testing::Test {
  protected:
    static constexpr const wchar_t* kKey =
        L"CLSID\\{5E0C1A55-6B7D-4E2B-9C41-2D9F3A7B8C01}\\InprocServer32";
    static constexpr std::u16string_view kKeyU16 =
        u"CLSID\\{5E0C1A55-6B7D-4E2B-9C41-2D9F3A7B8C01}\\InprocServer32";

    void TearDown() override {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, L"CLSID\\{5E0C1A55-6B7D-4E2B-9C41-2D9F3A7B8C01}");
    }

    void setValue(DWORD type, const std::wstring& text) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, kKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                                  nullptr),
                  ERROR_SUCCESS);
        const auto* bytes = reinterpret_cast<const BYTE*>(text.c_str());
        ASSERT_EQ(RegSetValueExW(key, nullptr, 0, type, bytes,
                                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }

    std::unique_ptr<HtmlHelpHost> host_ = createWindowsHtmlHelpHost();
};

TEST_F(RegistryKeyTest, ReadsPlainAndExpandableValues) {
    EXPECT_EQ(host_->registeredPath(kKeyU16), std::nullopt);

    setValue(REG_SZ, L"C:\\Help\\hhctrl.ocx");
    EXPECT_EQ(host_->registeredPath(kKeyU16), u"C:\\Help\\hhctrl.ocx");

    wchar_t systemRoot[MAX_PATH] = {};
    ASSERT_GT(GetEnvironmentVariableW(L"SystemRoot", systemRoot, MAX_PATH), 0u);
    setValue(REG_EXPAND_SZ, L"%SystemRoot%\\System32\\hhctrl.ocx");
    const std::wstring expected = std::wstring(systemRoot) + L"\\System32\\hhctrl.ocx";
    EXPECT_EQ(host_->registeredPath(kKeyU16), std::u16string(expected.begin(), expected.end()));
}

TEST_F(RegistryKeyTest, RejectsValuesLongerThanAPathOrNotStrings) {
    const std::wstring longest = L"C:\\" + std::wstring(kMaxPathChars - 3, L'a');
    setValue(REG_SZ, longest);
    EXPECT_EQ(host_->registeredPath(kKeyU16), std::u16string(longest.begin(), longest.end()));

    setValue(REG_SZ, longest + L"b");
    EXPECT_EQ(host_->registeredPath(kKeyU16), std::nullopt);

    // Expansion beyond the limit counts as missing too.
    ASSERT_TRUE(SetEnvironmentVariableW(L"SPDIALOG_TEST_PART", std::wstring(100, L'a').c_str()));
    setValue(REG_EXPAND_SZ, L"%SPDIALOG_TEST_PART%%SPDIALOG_TEST_PART%%SPDIALOG_TEST_PART%");
    EXPECT_EQ(host_->registeredPath(kKeyU16), std::nullopt);

    setValue(REG_SZ, L"");
    EXPECT_EQ(host_->registeredPath(kKeyU16), std::nullopt);

    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, kKey, 0, KEY_WRITE, &key), ERROR_SUCCESS);
    const DWORD number = 7;
    RegSetValueExW(key, nullptr, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                   sizeof(number));
    RegCloseKey(key);
    EXPECT_EQ(host_->registeredPath(kKeyU16), std::nullopt);
}

TEST(HtmlHelpViewerWindowsTest, FindsTheInstalledHelpControl) {
    std::unique_ptr<HtmlHelpHost> host = createWindowsHtmlHelpHost();
    HtmlHelpViewer viewer(*host);
    EXPECT_TRUE(viewer.resolve());
    EXPECT_TRUE(viewer.resolve());
}

TEST(WindowMenuWindowsTest, AppendsSeparatorAndAboutItem) {
    ASSERT_TRUE(hasWindowMenu());
    HWND window = CreateWindowExW(0, L"STATIC", L"menu test", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (window == nullptr) {
        GTEST_SKIP() << "no window station to create a window in";
    }
    HMENU menu = GetSystemMenu(window, FALSE);
    ASSERT_NE(menu, nullptr);
    const int before = GetMenuItemCount(menu);

    EXPECT_TRUE(appendAboutItem(window, u"&About studypurge..."));

    ASSERT_EQ(GetMenuItemCount(menu), before + 2);
    MENUITEMINFOW separator = {};
    separator.cbSize = sizeof(separator);
    separator.fMask = MIIM_FTYPE;
    ASSERT_TRUE(GetMenuItemInfoW(menu, before, TRUE, &separator));
    EXPECT_TRUE(separator.fType & MFT_SEPARATOR);
    EXPECT_EQ(GetMenuItemID(menu, before + 1), kAboutCommandId);
    wchar_t text[64] = {};
    GetMenuStringW(menu, before + 1, text, 64, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(text), L"&About studypurge...");
    DestroyWindow(window);
}

TEST(WindowMenuWindowsTest, RecognisesTheAboutSystemCommand) {
    MSG about = {};
    about.message = WM_SYSCOMMAND;
    about.wParam = 16;
    EXPECT_TRUE(isAboutCommand(&about));
    about.wParam = 31;
    EXPECT_TRUE(isAboutCommand(&about));
    about.wParam = SC_CLOSE;
    EXPECT_FALSE(isAboutCommand(&about));
    MSG command = {};
    command.message = WM_COMMAND;
    command.wParam = 16;
    EXPECT_FALSE(isAboutCommand(&command));
    EXPECT_FALSE(isAboutCommand(nullptr));
}

#endif

}  // namespace
}  // namespace spdialog
