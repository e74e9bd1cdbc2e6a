// System facts of a Windows machine.
#include <winsock2.h>
// winsock2 first: windows.h would otherwise bring in the older header.
#include <nb30.h>
#include <windows.h>

#include <cstring>
#include <vector>

#include "SystemFacts.h"
#include "Text.h"
#include "WinText.h"

namespace sysreport {
namespace {

ProbeError lastError() {
    const DWORD code = GetLastError();
    return ProbeError{static_cast<long>(code), systemErrorText(code)};
}

// ---- NetBIOS adapter address ----------------------------------------------------

constexpr std::size_t kAdapterStatusBytes = 680;

std::string netbiosAdapterAddress(int adapter) {
    NCB reset{};
    reset.ncb_command = NCBRESET;
    Netbios(&reset);

    void* buffer = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, kAdapterStatusBytes);
    if (buffer == nullptr) {
        return {};
    }
    NCB status{};
    status.ncb_command = NCBASTAT;
    status.ncb_lana_num = static_cast<UCHAR>(adapter);
    std::memset(status.ncb_callname, ' ', NCBNAMSZ);
    status.ncb_callname[0] = '*';
    status.ncb_buffer = static_cast<PUCHAR>(buffer);
    status.ncb_length = kAdapterStatusBytes;
    // The return codes are not consulted: a failed call leaves the zero-filled buffer.
    Netbios(&status);
    const std::string address = hexBytes(static_cast<const unsigned char*>(buffer), 6);
    HeapFree(GetProcessHeap(), 0, buffer);
    return address;
}

// ---- Windows Sockets 1.1 --------------------------------------------------------

bool startSockets(MessageSink& messages) {
    WSADATA data{};
    if (WSAStartup(0x0101, &data) != 0) {
        messages.showMessage("The 32-bit Windows Socket is not responding.");
        return false;
    }
    // Windows Sockets 2 leaves the socket limit at zero; only version 1 reports one.
    if (LOBYTE(data.wVersion) < 2 && data.iMaxSockets < 1) {
        messages.showMessage(std::string("This application requires a minimum of ") + "1" +
                             " supported sockets.");
        WSACleanup();
        return false;
    }
    const int lo = LOBYTE(data.wVersion);
    const int hi = HIBYTE(data.wVersion);
    if (lo < 1 || (lo == 1 && hi < 1)) {
        messages.showMessage("Sockets version " + std::to_string(lo) + "." + std::to_string(hi) +
                             " is not supported by 32-bit Windows Sockets.");
        WSACleanup();
        return false;
    }
    return true;
}

void stopSockets(MessageSink& messages) {
    if (WSACleanup() != 0) {
        messages.showMessage("Socket error occurred in Cleanup.");
    }
}

std::string hostAddress(MessageSink& messages) {
    if (!startSockets(messages)) {
        return {};
    }
    char name[256] = {};
    if (gethostname(name, sizeof name) != 0) {
        messages.showMessage("Windows Sockets error " + signedText(WSAGetLastError()) +
                             " has occurred. Unable to successfully get Host Name.");
        stopSockets(messages);
        return {};
    }
    const hostent* entry = gethostbyname(trimBlanks(name).c_str());
    if (entry == nullptr) {
        messages.showMessage(std::string("Windows Sockets are not responding. ") +
                             "Unable to successfully get Host Name.");
        stopSockets(messages);
        return {};
    }
    std::string result;
    if (entry->h_addr_list != nullptr && entry->h_addr_list[0] != nullptr) {
        for (int i = 0; i < entry->h_length; ++i) {
            if (i > 0) {
                result += '.';
            }
            result += std::to_string(static_cast<unsigned char>(entry->h_addr_list[0][i]));
        }
    }
    stopSockets(messages);
    return result;
}

// ---- Version ------------------------------------------------------------------

// The true version: the compatibility layer makes GetVersionEx report 6.2 from
// Windows 8.1 on, so the version is asked of ntdll directly.
bool trueVersion(OSVERSIONINFOEXW& info) {
    info = {};
    info.dwOSVersionInfoSize = sizeof info;
    using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOEXW*);
    if (HMODULE ntdll = GetModuleHandleW(L"ntdll.dll"); ntdll != nullptr) {
        auto rtlGetVersion = reinterpret_cast<RtlGetVersionFunction>(
            reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")));
        if (rtlGetVersion != nullptr && rtlGetVersion(&info) == 0) {
            return true;
        }
    }
    return GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info)) != 0;
}

std::string processorTypeText(DWORD type) {
    if (type == 386) {
        return "386";
    }
    if (type == 486) {
        return "486";
    }
    return "586";
}

// "C:\Program Files\x" -> "C:\"; a share "\\server\x" -> "\\\".
std::string diskRootOf(const std::string& folder) {
    std::string root = folder.substr(0, 2);
    if (const auto blank = root.find(' '); blank != std::string::npos) {
        root.resize(blank);
    }
    if (root.empty() || root.back() != '\\') {
        root += '\\';
    }
    return root;
}

class WindowsSystemFacts : public SystemFacts {
  public:
    Probed<std::string> userName() override {
        wchar_t name[257] = {};
        DWORD size = 257;
        if (!GetUserNameW(name, &size)) {
            return std::string();
        }
        return fromWide(name, size > 0 ? size - 1 : 0);
    }

    std::string computerName() override {
        wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
        DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
        if (!GetComputerNameW(name, &size)) {
            return {};
        }
        return fromWide(name, size);
    }

    std::string ethernetAddress(int adapter) override { return netbiosAdapterAddress(adapter); }

    std::string ipAddress(MessageSink& messages) override { return hostAddress(messages); }

    Probed<OsVersion> osVersion() override {
        OSVERSIONINFOEXW info;
        if (!trueVersion(info)) {
            return lastError();
        }
        SYSTEM_INFO system{};
        GetSystemInfo(&system);
        OsVersion os;
        os.platform = info.dwPlatformId == 1   ? "Windows95 "
                      : info.dwPlatformId == 2 ? "Windows NT "
                                               : "";
        os.version =
            std::to_string(info.dwMajorVersion) + "." + std::to_string(info.dwMinorVersion);
        os.build = std::to_string(info.dwBuildNumber & 0xFFFF);
        os.servicePack = fromWide(info.szCSDVersion, wcsnlen(info.szCSDVersion, 128));
        os.classification = windowsClassification(info.dwMajorVersion, info.dwMinorVersion,
                                                  info.dwBuildNumber, info.wProductType);
        os.processor = processorTypeText(system.dwProcessorType);
        os.processorCount = static_cast<int>(system.dwNumberOfProcessors);
        return os;
    }

    Probed<MemoryStatus> memoryStatus() override {
        MEMORYSTATUSEX status{};
        status.dwLength = sizeof status;
        if (!GlobalMemoryStatusEx(&status)) {
            return lastError();
        }
        return MemoryStatus{status.ullTotalPhys, status.ullAvailPhys, status.ullTotalPageFile};
    }

    DiskSpace diskSpace(const std::string& folder) override {
        const std::string root = diskRootOf(folder);
        DiskSpace disk;
        disk.drive = root.substr(0, 2);
        DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
        if (GetDiskFreeSpaceW(toWide(root).c_str(), &sectorsPerCluster, &bytesPerSector,
                              &freeClusters, &totalClusters)) {
            const std::uint64_t cluster = std::uint64_t{sectorsPerCluster} * bytesPerSector;
            disk.totalBytes = cluster * totalClusters;
            disk.freeBytes = cluster * freeClusters;
        }
        return disk;
    }

    Probed<std::string> tempDirectory() override {
        wchar_t folder[MAX_PATH + 2] = {};
        const DWORD length = GetTempPathW(MAX_PATH + 2, folder);
        if (length < 1 || length > MAX_PATH + 1) {
            return std::string();
        }
        return fromWide(folder, length);
    }

    Probed<std::string> environmentVariable(std::string_view name) override {
        const std::wstring wideName = toWide(name);
        // No length limit: the buffer grows to what the variable needs.
        std::vector<wchar_t> buffer(1024);
        for (;;) {
            const DWORD length = GetEnvironmentVariableW(wideName.c_str(), buffer.data(),
                                                         static_cast<DWORD>(buffer.size()));
            if (length == 0) {
                return std::string();
            }
            if (length < buffer.size()) {
                return fromWide(buffer.data(), length);
            }
            buffer.resize(length + 1);
        }
    }

    // The adapter that drives the primary display, as the system names it.
    GraphicsAdapter graphicsAdapter() override {
        DISPLAY_DEVICEW device{};
        device.cb = sizeof device;
        for (DWORD index = 0; EnumDisplayDevicesW(nullptr, index, &device, 0); ++index) {
            if ((device.StateFlags & DISPLAY_DEVICE_PRIMARY_DEVICE) != 0) {
                return {fromWide(device.DeviceString, wcsnlen(device.DeviceString, 128)), {}};
            }
            device.cb = sizeof device;
        }
        return {};
    }
};

class WindowsClock : public Clock {
  public:
    std::uint64_t uptimeMilliseconds() override { return GetTickCount64(); }

    std::string dateText() override {
        wchar_t text[128] = {};
        const int length =
            GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, text, 128);
        return length > 0 ? fromWide(text, static_cast<std::size_t>(length - 1)) : std::string();
    }

    std::string timeText() override {
        wchar_t text[128] = {};
        const int length = GetTimeFormatW(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, text, 128);
        return length > 0 ? fromWide(text, static_cast<std::size_t>(length - 1)) : std::string();
    }
};

}  // namespace

// The Windows probes ask the resolver themselves, as the report reaches them.
std::unique_ptr<SystemFacts> makePlatformSystemFacts(std::chrono::milliseconds) {
    return makePlatformSystemFacts();
}

std::unique_ptr<SystemFacts> makePlatformSystemFacts() {
    return std::make_unique<WindowsSystemFacts>();
}

std::unique_ptr<Clock> makePlatformClock() {
    return std::make_unique<WindowsClock>();
}

}  // namespace sysreport
