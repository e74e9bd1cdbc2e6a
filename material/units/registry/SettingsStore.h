#pragma once
// The small key/value store behind the browser's settings: the Windows registry on
// Windows, a per-user file on other systems. Both hold typed values under named keys.

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace material {

// Value types, numbered as in the Windows registry.
inline constexpr std::uint32_t kTextValue = 1;    // REG_SZ
inline constexpr std::uint32_t kBinaryValue = 3;  // REG_BINARY

// One open key. Destroying it closes the key.
class SettingsKey {
  public:
    virtual ~SettingsKey() = default;

    // Type and size in bytes of a value; false when it is missing or cannot be read.
    virtual bool queryValueInfo(const std::string& valueName, std::uint32_t& type,
                                std::uint32_t& size) = 0;
    // Copies a value's bytes into `buffer` and sets `size` to their count; false when
    // the value is missing, unreadable or larger than the buffer.
    virtual bool readValue(const std::string& valueName, std::span<std::uint8_t> buffer,
                           std::uint32_t& size) = 0;
    // Creates or replaces a value.
    virtual bool writeValue(const std::string& valueName, std::uint32_t type,
                            std::span<const std::uint8_t> data) = 0;
    // Removes a value; false when it did not exist or could not be removed.
    virtual bool deleteValue(const std::string& valueName) = 0;
};

// The root under which keys live (HKEY_CURRENT_USER, or the user's settings folder).
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;

    // Opens an existing key; null when it is missing or cannot be opened.
    virtual std::unique_ptr<SettingsKey> openKey(const std::string& keyName) = 0;
    // Opens a key, creating it first when it is missing; null on failure.
    virtual std::unique_ptr<SettingsKey> createKey(const std::string& keyName) = 0;
};

// The current user's store of this platform.
std::unique_ptr<SettingsStore> makeUserSettingsStore();

}  // namespace material
