#include "ConfigFileStore.h"

namespace material {

std::unique_ptr<SettingsStore> makeUserSettingsStore() {
    // Without a known home folder the store has no folder: every read finds nothing
    // and every write fails, so the browser starts with position 0.
    return std::make_unique<ConfigFileStore>(userSettingsFolder().value_or(""));
}

}  // namespace material
