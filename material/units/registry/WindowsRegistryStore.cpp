#include "WindowsRegistryStore.h"

namespace material {
namespace {

class WindowsRegistryKey : public SettingsKey {
  public:
    explicit WindowsRegistryKey(HKEY key) : key_(key) {}
    ~WindowsRegistryKey() override { RegCloseKey(key_); }
    WindowsRegistryKey(const WindowsRegistryKey&) = delete;
    WindowsRegistryKey& operator=(const WindowsRegistryKey&) = delete;

    bool queryValueInfo(const std::string& valueName, std::uint32_t& type,
                        std::uint32_t& size) override {
        DWORD valueType = 0;
        DWORD valueSize = 0;
        if (RegQueryValueExA(key_, valueName.c_str(), nullptr, &valueType, nullptr, &valueSize) !=
            ERROR_SUCCESS) {
            return false;
        }
        type = valueType;
        size = valueSize;
        return true;
    }

    bool readValue(const std::string& valueName, std::span<std::uint8_t> buffer,
                   std::uint32_t& size) override {
        BYTE empty = 0;
        DWORD valueSize = static_cast<DWORD>(buffer.size());
        BYTE* data = buffer.empty() ? &empty : buffer.data();
        // Fails with ERROR_MORE_DATA when the value does not fit the buffer.
        if (RegQueryValueExA(key_, valueName.c_str(), nullptr, nullptr, data, &valueSize) !=
            ERROR_SUCCESS) {
            return false;
        }
        size = valueSize;
        return true;
    }

    bool writeValue(const std::string& valueName, std::uint32_t type,
                    std::span<const std::uint8_t> data) override {
        return RegSetValueExA(key_, valueName.c_str(), 0, type, data.data(),
                              static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
    }

    bool deleteValue(const std::string& valueName) override {
        return RegDeleteValueA(key_, valueName.c_str()) == ERROR_SUCCESS;
    }

  private:
    HKEY key_;
};

}  // namespace

WindowsRegistryStore::WindowsRegistryStore(HKEY root) : root_(root) {}

std::unique_ptr<SettingsKey> WindowsRegistryStore::openKey(const std::string& keyName) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root_, keyName.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return nullptr;
    }
    return std::make_unique<WindowsRegistryKey>(key);
}

std::unique_ptr<SettingsKey> WindowsRegistryStore::createKey(const std::string& keyName) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(root_, keyName.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_READ | KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return nullptr;
    }
    return std::make_unique<WindowsRegistryKey>(key);
}

std::unique_ptr<SettingsStore> makeUserSettingsStore() {
    return std::make_unique<WindowsRegistryStore>();
}

}  // namespace material
