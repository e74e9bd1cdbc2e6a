// Waiting for another program (a mail program starting) while the windows keep
// painting and their timers run, under the busy cursor. Keyboard and mouse input
// stays queued until the wait ends, so no command starts inside another.
#pragma once

#include "BusyWait.h"

namespace sysreport::win32 {

class Win32BusyWait : public BusyWait {
  public:
    void waitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) override;
};

}  // namespace sysreport::win32
