// Registry values for the system information tool, and Outlook's absence, on
// Windows.
#include <gtest/gtest.h>
#include <windows.h>

#include "MailDelivery.h"
#include "WinRegistryRoots.h"

namespace sysreport {
namespace {

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

}  // namespace
}  // namespace sysreport
