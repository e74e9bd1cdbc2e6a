// Waiting for another program while the window stays drawn.
#pragma once

#include <chrono>
#include <functional>
#include <memory>

namespace sysreport {

class BusyWait {
  public:
    virtual ~BusyWait() = default;
    // Returns once `done` answers true or `limit` has passed; `done` is asked
    // again every few milliseconds. A window keeps painting meanwhile and shows
    // the busy cursor; input waits until the end.
    virtual void waitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) = 0;
};

// For programs without a window: sleeps between the questions.
std::unique_ptr<BusyWait> makeSleepingWait();

}  // namespace sysreport
