// The system information tool on Linux: a hardware information browser from PATH.
#include <cstdlib>

#include "ProcessPosix.h"
#include "SystemInfoTool.h"

namespace sysreport {

std::string desktopSystemInfoProgram(const std::string& pathVariable) {
    for (const char* name : {"hardinfo2", "hardinfo"}) {
        std::string program = findOnPath(name, pathVariable);
        if (!program.empty()) {
            return program;
        }
    }
    return {};
}

namespace {

class DesktopSystemInfoTool : public SystemInfoTool {
  public:
    bool start() override {
        const char* path = std::getenv("PATH");
        const std::string program = desktopSystemInfoProgram(path != nullptr ? path : "");
        if (program.empty()) {
            return false;
        }
        // A short wait catches a tool that cannot run at all.
        const ProcessOutcome outcome = startProgram({program}, std::chrono::milliseconds(300));
        return outcome.started && !(outcome.finished && outcome.exitCode != 0);
    }
};

}  // namespace

std::unique_ptr<SystemInfoTool> makePlatformSystemInfoTool() {
    return std::make_unique<DesktopSystemInfoTool>();
}

}  // namespace sysreport
