// System facts of a Linux machine.
#include <ifaddrs.h>
#include <locale.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netpacket/packet.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <fstream>
#include <map>
#include <sstream>

#include "FilePaths.h"
#include "HostLookup.h"
#include "LinuxFacts.h"
#include "SystemFacts.h"
#include "Text.h"

extern char** environ;

namespace sysreport {
namespace {

// The host name lookup gives up after two seconds. It starts with the window, and
// one report waits for it at most a fifth of a second; an answer that comes later
// serves the next report, and meanwhile the interface address stands in.
constexpr std::chrono::milliseconds kLookupBound{2000};
constexpr std::chrono::milliseconds kReportWait{200};

ProbeError errnoError() {
    return ProbeError{errno, std::strerror(errno)};
}

std::vector<Ipv4Address> resolveIpv4(const std::string& host) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    std::vector<Ipv4Address> answers;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &list) != 0) {
        return answers;
    }
    for (addrinfo* entry = list; entry != nullptr; entry = entry->ai_next) {
        const auto* address = reinterpret_cast<const sockaddr_in*>(entry->ai_addr);
        Ipv4Address bytes;
        std::memcpy(bytes.data(), &address->sin_addr, 4);
        if (std::find(answers.begin(), answers.end(), bytes) == answers.end()) {
            answers.push_back(bytes);
        }
    }
    freeaddrinfo(list);
    return answers;
}

bool usableInterface(const ifaddrs* entry) {
    return entry->ifa_addr != nullptr && (entry->ifa_flags & IFF_UP) != 0 &&
           (entry->ifa_flags & IFF_LOOPBACK) == 0;
}

std::vector<Ipv4Address> interfaceAddresses() {
    std::vector<Ipv4Address> addresses;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) {
        return addresses;
    }
    for (ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        if (usableInterface(entry) && entry->ifa_addr->sa_family == AF_INET) {
            Ipv4Address bytes;
            std::memcpy(bytes.data(), &reinterpret_cast<sockaddr_in*>(entry->ifa_addr)->sin_addr,
                        4);
            addresses.push_back(bytes);
        }
    }
    freeifaddrs(list);
    return addresses;
}

std::string hostName() {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0) {
        return {};
    }
    return name;
}

std::string fileText(const char* path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string distributionName() {
    for (const char* path : {"/etc/os-release", "/usr/lib/os-release"}) {
        std::string name = osReleasePrettyName(fileText(path));
        if (!name.empty()) {
            return name;
        }
    }
    return "Linux";
}

std::string pciIdsText() {
    for (const char* path : {"/usr/share/misc/pci.ids", "/usr/share/hwdata/pci.ids"}) {
        std::string text = fileText(path);
        if (!text.empty()) {
            return text;
        }
    }
    return {};
}

// The mount point of the file system that holds `folder`: the highest parent on
// the same device.
std::string mountPointOf(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::path path = std::filesystem::weakly_canonical(folder, error);
    if (error) {
        path = folder;
    }
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        return {};
    }
    while (path.has_parent_path() && path.parent_path() != path) {
        struct stat parent {};
        if (stat(path.parent_path().c_str(), &parent) != 0 || parent.st_dev != info.st_dev) {
            break;
        }
        path = path.parent_path();
    }
    return pathToUtf8(path);
}

class LinuxSystemFacts : public SystemFacts {
  public:
    explicit LinuxSystemFacts(std::chrono::milliseconds addressWait)
        : addressWait_(addressWait), lookup_(resolveIpv4, kLookupBound) {
        // Start resolving at once so that the first report finds the answer ready.
        lookup_.start(hostName());
    }

    Probed<std::string> userName() override {
        if (const passwd* entry = getpwuid(geteuid()); entry != nullptr && entry->pw_name) {
            return std::string(entry->pw_name);
        }
        const char* user = std::getenv("USER");
        return std::string(user != nullptr ? user : "");
    }

    std::string computerName() override { return hostName(); }

    std::string ethernetAddress(int adapter) override {
        std::map<int, std::string> byIndex;
        ifaddrs* list = nullptr;
        if (getifaddrs(&list) == 0) {
            for (ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
                if (!usableInterface(entry) || entry->ifa_addr->sa_family != AF_PACKET) {
                    continue;
                }
                const auto* link = reinterpret_cast<const sockaddr_ll*>(entry->ifa_addr);
                if (link->sll_halen == 6) {
                    byIndex.emplace(link->sll_ifindex, hexBytes(link->sll_addr, 6));
                }
            }
            freeifaddrs(list);
        }
        auto chosen = byIndex.begin();
        for (int i = 0; i < adapter && chosen != byIndex.end(); ++i) {
            ++chosen;
        }
        return chosen != byIndex.end() ? chosen->second : std::string(12, '0');
    }

    std::string ipAddress(MessageSink&) override {
        return chooseReportAddress(lookup_.answers(hostName(), addressWait_), interfaceAddresses());
    }

    Probed<OsVersion> osVersion() override {
        utsname names{};
        if (uname(&names) != 0) {
            return errnoError();
        }
        LinuxSystem system;
        system.release = names.release;
        system.kernelBuild = names.version;
        system.distribution = distributionName();
        system.machine = names.machine;
        system.cpuModel = cpuModelName(fileText("/proc/cpuinfo"));
        system.processorCount = static_cast<int>(sysconf(_SC_NPROCESSORS_ONLN));
        return linuxOsVersion(system);
    }

    Probed<MemoryStatus> memoryStatus() override {
        std::ifstream file("/proc/meminfo");
        if (!file) {
            return errnoError();
        }
        std::map<std::string, std::uint64_t> kilobytes;
        std::string name;
        std::uint64_t amount = 0;
        std::string line;
        while (std::getline(file, line)) {
            std::istringstream fields(line);
            if (fields >> name >> amount) {
                kilobytes[name] = amount;
            }
        }
        MemoryStatus memory;
        memory.totalPhysical = kilobytes["MemTotal:"] * 1024;
        memory.availablePhysical = kilobytes["MemAvailable:"] * 1024;
        // Windows' total page file is the commit limit: memory plus swap.
        memory.totalPageFile = (kilobytes["MemTotal:"] + kilobytes["SwapTotal:"]) * 1024;
        return memory;
    }

    DiskSpace diskSpace(const std::string& folder) override {
        DiskSpace disk;
        struct statvfs info {};
        const auto path = pathFromUtf8(folder);
        if (statvfs(path.c_str(), &info) != 0) {
            return disk;
        }
        disk.totalBytes = static_cast<std::uint64_t>(info.f_blocks) * info.f_frsize;
        disk.freeBytes = static_cast<std::uint64_t>(info.f_bavail) * info.f_frsize;
        disk.drive = mountPointOf(path);
        return disk;
    }

    Probed<std::string> tempDirectory() override {
        const char* folder = std::getenv("TMPDIR");
        std::string text = folder != nullptr && *folder != '\0' ? folder : "/tmp";
        if (text.back() != '/') {
            text += '/';
        }
        return text;
    }

    Probed<std::string> environmentVariable(std::string_view name) override {
        // An exact match wins; otherwise the first name equal without regard to case.
        if (const char* exact = std::getenv(std::string(name).c_str()); exact != nullptr) {
            return std::string(exact);
        }
        for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
            const std::string_view variable(*entry);
            const auto equals = variable.find('=');
            if (equals != std::string_view::npos &&
                equalsNoCase(variable.substr(0, equals), name)) {
                return std::string(variable.substr(equals + 1));
            }
        }
        return std::string();
    }

    GraphicsAdapter graphicsAdapter() override { return drmGraphicsAdapter("/sys", pciIdsText()); }

  private:
    std::chrono::milliseconds addressWait_;
    BoundedHostLookup lookup_;
};

class LinuxClock : public Clock {
  public:
    std::uint64_t uptimeMilliseconds() override {
        timespec now{};
        clock_gettime(CLOCK_BOOTTIME, &now);
        return static_cast<std::uint64_t>(now.tv_sec) * 1000u +
               static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
    }
    std::string dateText() override { return format("%x"); }
    std::string timeText() override { return format("%X"); }

  private:
    static std::string format(const char* pattern) {
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        char text[128] = {};
        // The user's own formats, whatever the program's C locale is.
        locale_t user = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(0));
        if (user == static_cast<locale_t>(0)) {
            user = newlocale(LC_TIME_MASK, "C", static_cast<locale_t>(0));
        }
        strftime_l(text, sizeof text, pattern, &local, user);
        freelocale(user);
        return text;
    }
};

class NoCadHost : public CadHost {
  public:
    std::optional<CadHostInfo> readInfo() override { return std::nullopt; }
};

}  // namespace

std::unique_ptr<SystemFacts> makePlatformSystemFacts() {
    return makePlatformSystemFacts(kReportWait);
}

std::unique_ptr<SystemFacts> makePlatformSystemFacts(std::chrono::milliseconds addressWait) {
    return std::make_unique<LinuxSystemFacts>(addressWait);
}

std::unique_ptr<Clock> makePlatformClock() {
    return std::make_unique<LinuxClock>();
}

std::unique_ptr<CadHost> makePlatformCadHost() {
    return std::make_unique<NoCadHost>();
}

}  // namespace sysreport
