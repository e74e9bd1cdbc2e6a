#include "HostLookup.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace sysreport {

struct BoundedHostLookup::State {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    std::vector<Ipv4Address> answers;
    std::chrono::steady_clock::time_point deadline;
};

std::string dottedAddress(const Ipv4Address& address) {
    return std::to_string(address[0]) + "." + std::to_string(address[1]) + "." +
           std::to_string(address[2]) + "." + std::to_string(address[3]);
}

bool isLoopback(const Ipv4Address& address) {
    return address[0] == 127;
}

std::string chooseReportAddress(const std::vector<Ipv4Address>& answers,
                                const std::vector<Ipv4Address>& interfaceAddresses) {
    for (const Ipv4Address& address : answers) {
        if (!isLoopback(address)) {
            return dottedAddress(address);
        }
    }
    for (const Ipv4Address& address : interfaceAddresses) {
        if (!isLoopback(address)) {
            return dottedAddress(address);
        }
    }
    return {};
}

BoundedHostLookup::BoundedHostLookup(HostResolver resolver, std::chrono::milliseconds bound)
    : resolver_(std::move(resolver)), bound_(bound) {}

BoundedHostLookup::~BoundedHostLookup() = default;

void BoundedHostLookup::start(const std::string& host) {
    if (current_) {
        std::lock_guard lock(current_->mutex);
        if (!current_->done) {
            return;
        }
    }
    auto state = std::make_shared<State>();
    state->deadline = std::chrono::steady_clock::now() + bound_;
    // The worker owns a copy of the state, so it may outlive this object safely.
    std::thread([state, resolver = resolver_, host] {
        std::vector<Ipv4Address> found = resolver(host);
        std::lock_guard lock(state->mutex);
        state->answers = std::move(found);
        state->done = true;
        state->finished.notify_all();
    }).detach();
    current_ = std::move(state);
}

std::vector<Ipv4Address> BoundedHostLookup::answers(const std::string& host,
                                                    std::chrono::milliseconds maxWait) {
    if (!current_) {
        start(host);
    }
    std::vector<Ipv4Address> result;
    {
        std::unique_lock lock(current_->mutex);
        const auto until = std::min(current_->deadline, std::chrono::steady_clock::now() + maxWait);
        current_->finished.wait_until(lock, until, [&] { return current_->done; });
        if (current_->done) {
            result = current_->answers;
        }
    }
    start(host);
    return result;
}

}  // namespace sysreport
