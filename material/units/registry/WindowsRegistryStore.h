#pragma once
// Settings in the Windows registry, through the ANSI registry calls.

#include <windows.h>

#include "SettingsStore.h"

namespace material {

class WindowsRegistryStore : public SettingsStore {
  public:
    // Keys are opened below `root`, which stays owned by the caller.
    explicit WindowsRegistryStore(HKEY root = HKEY_CURRENT_USER);

    // Opened for reading only; writes through such a key fail.
    std::unique_ptr<SettingsKey> openKey(const std::string& keyName) override;
    std::unique_ptr<SettingsKey> createKey(const std::string& keyName) override;

  private:
    HKEY root_;
};

}  // namespace material
