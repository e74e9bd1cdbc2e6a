// The platform's system information tool, started from the about box.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "Registry.h"

namespace sysreport {

inline constexpr const char* kSystemInfoUnavailable =
    "System Information Is Unavailable At This Time";

class SystemInfoTool {
  public:
    virtual ~SystemInfoTool() = default;
    // Starts the tool; false when there is none or it cannot be started.
    virtual bool start() = 0;
};

// Windows: the tool the registry names; Linux: hardinfo2 or hardinfo from PATH.
std::unique_ptr<SystemInfoTool> makePlatformSystemInfoTool();

// How the Windows tool is found, as reads of the local machine's registry and a
// file test.
struct SystemInfoLookup {
    std::function<bool(const std::string& key, const std::string& valueName, std::string& value)>
        readMachineValue;
    std::function<bool(const std::string& path)> fileExists;
};

// The Windows tool's program: the "PATH" of the tool's own key, else the shared
// tools location + "\MSINFO32.EXE" when that file exists; "" when neither.
std::string systemInfoProgram(const SystemInfoLookup& lookup);

// The Linux tool's program: hardinfo2, else hardinfo, from the folders of
// `pathVariable`; "" when neither is there.
std::string desktopSystemInfoProgram(const std::string& pathVariable);

}  // namespace sysreport
