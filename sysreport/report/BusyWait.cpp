#include "BusyWait.h"

#include <thread>

namespace sysreport {
namespace {

class SleepingWait : public BusyWait {
  public:
    void waitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) override {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (!done() && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
};

}  // namespace

std::unique_ptr<BusyWait> makeSleepingWait() {
    return std::make_unique<SleepingWait>();
}

}  // namespace sysreport
