#pragma once
// The browser's one remembered setting: the selected position of the unit list
// ("IPS", "SI", "MKS(G)"), kept per user under the key "Unit", value "BinaryValue".

#include <cstdint>
#include <memory>
#include <string>

#include "SettingsStore.h"

namespace material {

// Entries of the library window's unit list.
inline constexpr int kUnitListEntries = 3;

class clsRegistry {
  public:
    // Reads and writes through `store` (the user's own store unless a test passes another).
    explicit clsRegistry(std::unique_ptr<SettingsStore> store = makeUserSettingsStore(),
                         int unitListEntries = kUnitListEntries);

    // Stores a unit-list position from 0 to the number of entries; anything else stores
    // nothing. Returns whether a value was written.
    bool SetValue(std::int16_t position);
    // The stored position; 0 when there is none or it is unusable (which also writes 0 back).
    std::int16_t GetValue();
    // Removes "BinaryValue" from "Unit", creating the key first when it is missing.
    bool DeleteValue();
    // One value of an open key as text: text values up to their first NUL, binary values
    // as the decimal number they hold; empty for any other type or a failing read.
    std::string RegQueryStringValue(SettingsKey& key, const std::string& valueName);

  private:
    std::string ReadSetting(SettingsStore& root, const std::string& keyName,
                            const std::string& valueName);
    bool WriteBinarySetting(SettingsStore& root, const std::string& keyName,
                            const std::string& valueName, const std::string& text);

    std::unique_ptr<SettingsStore> store_;
    int unitListEntries_;
};

// The program's one settings object, created on first use with the user's store.
clsRegistry& programSettings();

}  // namespace material
