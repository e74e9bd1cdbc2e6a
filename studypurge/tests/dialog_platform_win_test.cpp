// The dialog's platform services against the real Windows registry and window menu.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "HtmlHelpViewer.h"
#include "WindowMenu.h"

namespace spdialog {
namespace {

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

}  // namespace
}  // namespace spdialog
