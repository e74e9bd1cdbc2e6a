// On Windows the fixture's keys are written into the real registry for as long
// as the back end lives.
#include <windows.h>

#include "CaseRegistry.h"
#include "WinText.h"
#include "WineRegistry.h"

namespace sysreport::testing {
namespace {

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
// Removes keys a test run that was cut short may have left behind.
void removeLeftoverKeys(const std::vector<std::string>& keys) {
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        for (const std::string& key : keys) {
            RegDeleteTreeW(root, toWide(key).c_str());
            RegDeleteKeyW(root, toWide(key).c_str());
        }
    }
}

// The platform's registry over the imported keys, removed when it ends.
class ImportedCaseBackend : public RegistryBackend {
  public:
    ImportedCaseBackend(const std::string& folder, const std::vector<std::string>& leftovers)
        : cleared_((removeLeftoverKeys(leftovers), true)),
          machineKeys_(HKEY_LOCAL_MACHINE, WineRegistryFile::load(folder + "/system.reg")),
          userKeys_(HKEY_CURRENT_USER, WineRegistryFile::load(folder + "/user.reg")),
          platform_(makePlatformRegistry()) {}

    std::int32_t openKey(RegistryRoot root, std::string_view key) override {
        return platform_->openKey(root, key);
    }
    RawRegistryValue readValue(RegistryRoot root, std::string_view key,
                               std::string_view valueName) override {
        return platform_->readValue(root, key, valueName);
    }
    void refresh() override { platform_->refresh(); }
    std::string sourceDescription() const override { return platform_->sourceDescription(); }

  private:
    bool cleared_;
    ImportedKeys machineKeys_;
    ImportedKeys userKeys_;
    std::unique_ptr<RegistryBackend> platform_;
};

}  // namespace

std::unique_ptr<RegistryBackend> makeCaseBackend(const std::string& folder,
                                                 const std::vector<std::string>& leftovers) {
    return std::make_unique<ImportedCaseBackend>(folder, leftovers);
}

}  // namespace sysreport::testing
