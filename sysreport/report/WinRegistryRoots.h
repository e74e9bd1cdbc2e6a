// The predefined registry key of each root (Windows builds only).
#pragma once

#include <windows.h>

#include "Registry.h"

namespace sysreport {

HKEY predefinedKey(RegistryRoot root);

}  // namespace sysreport
