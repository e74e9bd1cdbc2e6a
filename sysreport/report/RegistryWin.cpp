// Windows' own registry.
#include <windows.h>

#include "Registry.h"
#include "WinRegistryRoots.h"
#include "WinText.h"

#ifndef HKEY_DYN_DATA
#define HKEY_DYN_DATA ((HKEY)(ULONG_PTR)((LONG)0x80000006))
#endif

namespace sysreport {

HKEY predefinedKey(RegistryRoot root) {
    switch (root) {
        case RegistryRoot::CurrentUser:
            return HKEY_CURRENT_USER;
        case RegistryRoot::LocalMachine:
            return HKEY_LOCAL_MACHINE;
        case RegistryRoot::Users:
            return HKEY_USERS;
        case RegistryRoot::CurrentConfig:
            return HKEY_CURRENT_CONFIG;
        case RegistryRoot::DynData:
            return HKEY_DYN_DATA;
        case RegistryRoot::ClassesRoot:
            return HKEY_CLASSES_ROOT;
    }
    return HKEY_LOCAL_MACHINE;
}

namespace {

class Win32Registry : public RegistryBackend {
  public:
    std::int32_t openKey(RegistryRoot root, std::string_view key) override {
        HKEY handle = nullptr;
        const LONG status =
            RegOpenKeyExW(predefinedKey(root), toWide(key).c_str(), 0, KEY_QUERY_VALUE, &handle);
        if (status != ERROR_SUCCESS) {
            return status;
        }
        return RegCloseKey(handle);
    }

    RawRegistryValue readValue(RegistryRoot root, std::string_view key,
                               std::string_view valueName) override {
        RawRegistryValue value;
        HKEY handle = nullptr;
        value.status =
            RegOpenKeyExW(predefinedKey(root), toWide(key).c_str(), 0, KEY_QUERY_VALUE, &handle);
        if (value.status != ERROR_SUCCESS) {
            return value;
        }
        const std::wstring name = toWide(valueName);
        DWORD type = 0;
        DWORD size = 0;
        value.status = RegQueryValueExW(handle, name.c_str(), nullptr, &type, nullptr, &size);
        if (value.status == ERROR_SUCCESS && size > 0) {
            value.data.resize(size);
            value.status =
                RegQueryValueExW(handle, name.c_str(), nullptr, &type, value.data.data(), &size);
            value.data.resize(size);
        }
        value.type = type;
        RegCloseKey(handle);
        return value;
    }
};

}  // namespace

std::unique_ptr<RegistryBackend> makePlatformRegistry() {
    return std::make_unique<Win32Registry>();
}

}  // namespace sysreport
