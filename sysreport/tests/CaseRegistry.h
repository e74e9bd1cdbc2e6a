// The registry of a test case folder (Wine prefix files system.reg and user.reg)
// as this platform reads it: from the files on Linux, and on Windows from the
// real registry after writing the same keys into it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Registry.h"
#include "WineRegistry.h"

#ifdef _WIN32
#include <windows.h>

#include "WinText.h"
#endif

namespace sysreport::testing {

#ifdef _WIN32
// Writes the keys of a fixture into the registry and removes them again.
class ImportedKeys {
  public:
    ImportedKeys(HKEY root, const WineRegistryFile& file) : root_(root) {
        for (const std::string& key : file.keys()) {
            const std::wstring wide = toWide(key);
            HKEY handle = nullptr;
            if (RegOpenKeyExW(root, wide.c_str(), 0, KEY_READ, &handle) == ERROR_SUCCESS) {
                RegCloseKey(handle);
                continue;
            }
            // Keys are listed parents first, so the topmost new key is met first.
            bool underCreated = false;
            for (const std::wstring& created : created_) {
                underCreated = underCreated || wide.rfind(created + L"\\", 0) == 0;
            }
            if (!underCreated) {
                created_.push_back(wide);
            }
            RegCreateKeyExW(root, wide.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle,
                            nullptr);
            RegCloseKey(handle);
        }
        for (const auto& [key, values] : file.values()) {
            HKEY handle = nullptr;
            RegOpenKeyExW(root, toWide(key).c_str(), 0, KEY_SET_VALUE, &handle);
            for (const auto& [name, value] : values) {
                RegSetValueExW(handle, toWide(name).c_str(), 0, value.type, value.data.data(),
                               static_cast<DWORD>(value.data.size()));
            }
            RegCloseKey(handle);
        }
    }
    ~ImportedKeys() {
        for (const std::wstring& key : created_) {
            RegDeleteTreeW(root_, key.c_str());
            RegDeleteKeyW(root_, key.c_str());
        }
    }

  private:
    HKEY root_;
    std::vector<std::wstring> created_;
};
#endif

#ifdef _WIN32
// Removes keys a test run that was cut short may have left behind.
inline void removeLeftoverKeys(const std::vector<std::string>& keys) {
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        for (const std::string& key : keys) {
            RegDeleteTreeW(root, toWide(key).c_str());
            RegDeleteKeyW(root, toWide(key).c_str());
        }
    }
}
#endif

// A back end that names a fixed source, so that reports of both legs agree.
class FixedSourceRegistry : public RegistryBackend {
  public:
    explicit FixedSourceRegistry(RegistryBackend& inner) : inner_(inner) {}
    std::int32_t openKey(RegistryRoot root, std::string_view key) override {
        return inner_.openKey(root, key);
    }
    RawRegistryValue readValue(RegistryRoot root, std::string_view key,
                               std::string_view valueName) override {
        return inner_.readValue(root, key, valueName);
    }
    void refresh() override { inner_.refresh(); }
    std::string sourceDescription() const override { return "Wine prefix /home/engineer/.wine"; }

  private:
    RegistryBackend& inner_;
};

// The registry of one case folder, as this platform reads it.
class CaseRegistry {
  public:
    // `leftovers`: the topmost keys this test's fixtures create, cleared first on Windows.
    CaseRegistry(const std::string& folder,
                 [[maybe_unused]] const std::vector<std::string>& leftovers)
#ifdef _WIN32
        : cleared_((removeLeftoverKeys(leftovers), true)),
          machineKeys_(HKEY_LOCAL_MACHINE, WineRegistryFile::load(folder + "/system.reg")),
          userKeys_(HKEY_CURRENT_USER, WineRegistryFile::load(folder + "/user.reg")),
          backend_(makePlatformRegistry())
#else
        : backend_(std::make_unique<WineRegistryBackend>(folder))
#endif
    {
    }
    RegistryBackend& backend() {
        return fixedSource_;
    }

  private:
#ifdef _WIN32
    bool cleared_;
    ImportedKeys machineKeys_;
    ImportedKeys userKeys_;
#endif
    std::unique_ptr<RegistryBackend> backend_;
    FixedSourceRegistry fixedSource_{*backend_};
};

}  // namespace sysreport::testing
