// Resolving the host's own name for its IPv4 address without ever blocking the
// caller for longer than a fixed bound.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace sysreport {

// IPv4 addresses in network order of their bytes: 192.168.0.12 is {192,168,0,12}.
using Ipv4Address = std::array<std::uint8_t, 4>;
using HostResolver = std::function<std::vector<Ipv4Address>(const std::string& host)>;

// "192.168.0.12".
std::string dottedAddress(const Ipv4Address& address);
bool isLoopback(const Ipv4Address& address);

// The address the report shows: the first resolver answer that is not loopback,
// else the first interface address, else "".
std::string chooseReportAddress(const std::vector<Ipv4Address>& answers,
                                const std::vector<Ipv4Address>& interfaceAddresses);

// Runs the resolver on a worker thread. A lookup counts as failed `bound` after
// its start; a lookup that hangs is left behind (and reused) rather than started
// again, so at most one worker is ever stuck.
class BoundedHostLookup {
  public:
    BoundedHostLookup(HostResolver resolver, std::chrono::milliseconds bound);
    ~BoundedHostLookup();

    // Starts a lookup now unless one is still running.
    void start(const std::string& host);
    // The answers of the current lookup (starting one if none), waiting no longer
    // than the lookup's bound nor than `maxWait`; a fresh lookup is started
    // afterwards so that the next call finds it ready.
    std::vector<Ipv4Address> answers(const std::string& host,
                                     std::chrono::milliseconds maxWait = std::chrono::hours(1));

  private:
    struct State;
    HostResolver resolver_;
    std::chrono::milliseconds bound_;
    std::shared_ptr<State> current_;
};

}  // namespace sysreport
