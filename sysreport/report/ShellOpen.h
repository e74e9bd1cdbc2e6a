// The desktop's default action on a file or folder (the report in the browser,
// its folder in the file manager).
#pragma once

#include <string>

#include "BusyWait.h"

namespace sysreport {

// Opens `path` with the program the desktop associates with it; false when there
// is none or it fails to start. On Linux xdg-open is awaited through `wait` for
// a moment, since a missing handler shows only in its exit code.
bool openWithDesktop(const std::string& path, BusyWait& wait);

}  // namespace sysreport
