// Platform services of the system survey. Each probe returns its result as a
// value; a probe that fails outright returns a ProbeError that the report shows
// with the probe's source tag.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace sysreport {

struct ProbeError {
    long number = 0;
    std::string description;
};

// A probe's value or the error that stopped it.
template <typename T>
class Probed {
  public:
    Probed(T value) : result_(std::move(value)) {}
    Probed(ProbeError error) : result_(std::move(error)) {}
    bool ok() const { return std::holds_alternative<T>(result_); }
    const T& value() const { return std::get<T>(result_); }
    const ProbeError& error() const { return std::get<ProbeError>(result_); }

  private:
    std::variant<T, ProbeError> result_;
};

// The parts of the operating-system lines.
struct OsVersion {
    std::string platform;        // "Windows NT ", "Linux ", ...
    std::string version;         // "6.1", "10.0", kernel "6.1"
    std::string build;           // build number, kernel patch number
    std::string servicePack;     // "" when none
    std::string classification;  // text between the parentheses of the second line
    std::string processor;       // "586", "x86_64", ...
    int processorCount = 0;
};

struct MemoryStatus {
    std::uint64_t totalPhysical = 0;
    std::uint64_t availablePhysical = 0;
    std::uint64_t totalPageFile = 0;
};

struct DiskSpace {
    std::uint64_t totalBytes = 0;
    std::uint64_t freeBytes = 0;  // space available to the user
    std::string drive;            // "C:" on Windows, the mount point on Linux
};

// Screen facts come from the window system; the UI hands them over.
struct ScreenFacts {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;  // colour planes x bits per pixel
};

// OpenGL as a context of the window system reports it; "" when none was made.
struct OpenGlFacts {
    std::string renderer;
    std::string version;
};

// The display adapter as the system lists it; "" where it cannot be read.
struct GraphicsAdapter {
    std::string name;    // "Red Hat, Inc. Virtio 1.0 GPU", "PCI 1af4:1050"
    std::string driver;  // kernel module or driver name
};

// The value of the report's graphics line: adapter, driver and OpenGL renderer
// and version where known, a software renderer marked as such; a plain statement
// when nothing could be read.
std::string graphicsSummary(const GraphicsAdapter& adapter, const OpenGlFacts& openGl);

// True for OpenGL renderers that draw on the processor (llvmpipe and the like).
bool isSoftwareRenderer(const std::string& renderer);

// Receives the messages a probe shows (the socket messages on Windows).
class MessageSink {
  public:
    virtual ~MessageSink() = default;
    virtual void showMessage(const std::string& text) = 0;
};

class SystemFacts {
  public:
    virtual ~SystemFacts() = default;
    virtual Probed<std::string> userName() = 0;
    virtual std::string computerName() = 0;
    // Twelve upper-case hexadecimal digits; twelve zeros when there is no adapter.
    virtual std::string ethernetAddress(int adapter) = 0;
    // Dotted IPv4 address, "" when none; failures may be told through `messages`.
    virtual std::string ipAddress(MessageSink& messages) = 0;
    virtual Probed<OsVersion> osVersion() = 0;
    virtual Probed<MemoryStatus> memoryStatus() = 0;
    // The disk that holds `folder`; zeros when it cannot be queried.
    virtual DiskSpace diskSpace(const std::string& folder) = 0;
    // With its trailing separator; "" when unknown.
    virtual Probed<std::string> tempDirectory() = 0;
    // The variable's value, "" when not set; names compare without regard to case.
    virtual Probed<std::string> environmentVariable(std::string_view name) = 0;
    // The display adapter; empty where the platform cannot say.
    virtual GraphicsAdapter graphicsAdapter() { return {}; }
};

// Time services: the uptime and the current date and time in the user's formats.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual std::uint64_t uptimeMilliseconds() = 0;
    virtual std::string dateText() = 0;  // the user's short date format
    virtual std::string timeText() = 0;  // the user's long time format
};

// The CAD host's automation server: one instance is started, its two properties
// read and the instance closed again.
struct CadHostInfo {
    long long dateCode = 0;
    std::string revisionNumber;
};
class CadHost {
  public:
    virtual ~CadHost() = default;
    // nullopt when the host cannot be started (not installed, or no such platform).
    virtual std::optional<CadHostInfo> readInfo() = 0;
};

std::unique_ptr<SystemFacts> makePlatformSystemFacts();
// The same, a report waiting at most `addressWait` for the host's address where
// the lookup runs beside the program (a run without a window, whose report comes
// at once, waits less than the window's).
std::unique_ptr<SystemFacts> makePlatformSystemFacts(std::chrono::milliseconds addressWait);
std::unique_ptr<Clock> makePlatformClock();
std::unique_ptr<CadHost> makePlatformCadHost();

// Classification of a Windows version: the known lines of 5.0 to 6.0 and the
// later versions by number, build and product type (1 = workstation).
std::string windowsClassification(unsigned major, unsigned minor, unsigned build,
                                  unsigned productType);

}  // namespace sysreport
