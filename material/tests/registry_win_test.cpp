// The registry as a settings back end, below a private test key.

#include <random>
#include <string>

#include "registry_backends.h"
#include "units/registry/WindowsRegistryStore.h"

namespace material::testing {
namespace {

class RegistryBackend : public Backend {
  public:
    RegistryBackend() {
        std::random_device random;
        name_ = "Software\\KtSettingsTest\\run" + std::to_string(random());
        RegCreateKeyExA(HKEY_CURRENT_USER, name_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &root_, nullptr);
    }
    ~RegistryBackend() override {
        RegDeleteKeyA(root_, "Unit");
        RegCloseKey(root_);
        RegDeleteKeyA(HKEY_CURRENT_USER, name_.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\KtSettingsTest");
    }
    std::unique_ptr<SettingsStore> open() override {
        return std::make_unique<WindowsRegistryStore>(root_);
    }

  private:
    std::string name_;
    HKEY root_ = nullptr;
};

}  // namespace

std::vector<BackendFactory> nativeBackends() {
    return {[] { return std::make_unique<RegistryBackend>(); }};
}

}  // namespace material::testing
