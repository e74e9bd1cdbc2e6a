// The system information tool on Windows, found through the registry.
#include <windows.h>

#include <shellapi.h>

#include <cstring>
#include <string>

#include "SystemInfoTool.h"
#include "WinRegistryRoots.h"
#include "WinText.h"

namespace sysreport {
namespace {

bool fileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(toWide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

class RegisteredSystemInfoTool : public SystemInfoTool {
  public:
    bool start() override {
        const SystemInfoLookup lookup{
            [](const std::string& key, const std::string& name, std::string& value) {
                return getKeyValue(RegistryRoot::LocalMachine, key, name, value);
            },
            fileExists};
        const std::string program = systemInfoProgram(lookup);
        if (program.empty()) {
            return false;
        }
        const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(
            nullptr, L"open", toWide(program).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
        return result > 32;
    }
};

}  // namespace

bool getKeyValue(RegistryRoot root, const std::string& key, const std::string& valueName,
                 std::string& value) {
    HKEY handle = nullptr;
    // Read access is all a lookup needs; asking for more fails for users without
    // administrator rights on the local machine's keys.
    if (RegOpenKeyExW(predefinedKey(root), toWide(key).c_str(), 0, KEY_QUERY_VALUE, &handle) !=
        ERROR_SUCCESS) {
        return false;
    }
    constexpr DWORD kBufferCharacters = 1024;
    wchar_t buffer[kBufferCharacters + 1] = {};
    DWORD size = kBufferCharacters * sizeof(wchar_t);
    DWORD type = 0;
    const LONG status = RegQueryValueExW(handle, toWide(valueName).c_str(), nullptr, &type,
                                         reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(handle);
    if (status != ERROR_SUCCESS) {
        return false;
    }
    if (type == REG_SZ) {
        // The text ends at its first NUL, or at the end of the data without one.
        std::size_t length = 0;
        const std::size_t units = size / sizeof(wchar_t);
        while (length < units && buffer[length] != L'\0') {
            ++length;
        }
        value = fromWide(buffer, length);
        return true;
    }
    if (type == REG_DWORD && size == sizeof(DWORD)) {
        DWORD number = 0;
        std::memcpy(&number, buffer, sizeof number);
        value = std::to_string(number);
        return true;
    }
    return false;
}

std::unique_ptr<SystemInfoTool> makePlatformSystemInfoTool() {
    return std::make_unique<RegisteredSystemInfoTool>();
}

}  // namespace sysreport
