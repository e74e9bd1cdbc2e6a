#include <string>

#include "SystemFacts.h"

namespace sysreport {
namespace {

constexpr unsigned kWorkstation = 1;

std::string laterWindows(unsigned major, unsigned minor, unsigned build, bool server) {
    if (major == 6 && minor == 1) {
        return server ? "Windows Server 2008 R2" : "Windows 7";
    }
    if (major == 6 && minor == 2) {
        return server ? "Windows Server 2012" : "Windows 8";
    }
    if (major == 6 && minor == 3) {
        return server ? "Windows Server 2012 R2" : "Windows 8.1";
    }
    if (major == 10 && minor == 0) {
        if (!server) {
            return build >= 22000 ? "Windows 11" : "Windows 10";
        }
        if (build >= 26100) {
            return "Windows Server 2025";
        }
        if (build >= 20348) {
            return "Windows Server 2022";
        }
        if (build >= 17763) {
            return "Windows Server 2019";
        }
        return "Windows Server 2016";
    }
    return "unknown version";
}

}  // namespace

std::string windowsClassification(unsigned major, unsigned minor, unsigned build,
                                  unsigned productType) {
    const std::string version = std::to_string(major) + "." + std::to_string(minor);
    if (version == "5.0") {
        return "Windows 2000";
    }
    if (version == "5.1") {
        return "Windows XP 32bit";
    }
    if (version == "5.2") {
        return "Windows XP 64bit";
    }
    if (version == "6.0") {
        return "Windows Vista 32bit or 64bit";
    }
    return laterWindows(major, minor, build, productType != kWorkstation);
}

}  // namespace sysreport
