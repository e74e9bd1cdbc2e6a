#pragma once
// The settings back ends the unit-list setting is tested against: the settings file
// everywhere, and the system's own store where there is one.

#include <filesystem>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "units/registry/SettingsStore.h"

namespace material::testing {

// A fresh, empty root for one test, opened through one back end.
class Backend {
  public:
    virtual ~Backend() = default;
    virtual std::unique_ptr<SettingsStore> open() = 0;
};

using BackendFactory = std::function<std::unique_ptr<Backend>()>;

// The system's own settings stores (the registry on Windows; none elsewhere).
std::vector<BackendFactory> nativeBackends();

inline std::filesystem::path uniqueTempFolder(const std::string& stem) {
    std::random_device random;
    return std::filesystem::temp_directory_path() / (stem + "-" + std::to_string(random()));
}

}  // namespace material::testing
