// How Linux describes itself, turned into the report's facts. The readers take
// the text of the system's files (or a folder standing in for /sys), so that
// they work on any platform.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "SystemFacts.h"

namespace sysreport {

// The processor's model name from the text of /proc/cpuinfo; "" when none.
std::string cpuModelName(std::string_view cpuinfo);

// PRETTY_NAME from the text of os-release; "" when none.
std::string osReleasePrettyName(std::string_view osRelease);

// What uname and the files above tell, as the operating-system lines: the whole
// kernel release and the distribution in the first line, the kernel's build in
// the second, the patch number as the build, and the model beside the
// architecture.
struct LinuxSystem {
    std::string release;       // "6.18.44-fc-v1272"
    std::string kernelBuild;   // "#1 SMP PREEMPT_DYNAMIC ..."
    std::string distribution;  // "Debian GNU/Linux 12 (bookworm)"
    std::string machine;       // "x86_64"
    std::string cpuModel;      // "AMD EPYC 7B13"
    int processorCount = 0;
};
OsVersion linuxOsVersion(const LinuxSystem& system);

// The name of a PCI device in the text of pci.ids ("vendor device"); "" when not
// listed. Identifiers are four hexadecimal digits, in any letter case.
std::string pciDeviceName(std::string_view pciIds, std::string_view vendor,
                          std::string_view device);

// The first display adapter the kernel lists under `sysFolder`/class/drm, named
// from `pciIds` when it lists the device, else by its PCI identifiers.
GraphicsAdapter drmGraphicsAdapter(const std::filesystem::path& sysFolder, std::string_view pciIds);

}  // namespace sysreport
