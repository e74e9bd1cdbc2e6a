// The predefined registry key of each root, and single values read through it
// (Windows builds only).
#pragma once

#include <windows.h>

#include "Registry.h"

namespace sysreport {

HKEY predefinedKey(RegistryRoot root);

// GetKeyValue: one registry value as text; a string as stored up to its NUL, a
// 32-bit value in decimal. False when the key cannot be opened, the value cannot
// be read or has another type.
bool getKeyValue(RegistryRoot root, const std::string& key, const std::string& valueName,
                 std::string& value);

}  // namespace sysreport
