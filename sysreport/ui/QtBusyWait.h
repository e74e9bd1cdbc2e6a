// Waiting for another program while the window keeps painting, under the busy
// cursor; input waits until the end.
#pragma once

#include "BusyWait.h"

namespace sysreport {

class QtBusyWait : public BusyWait {
  public:
    void waitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) override;
};

}  // namespace sysreport
