#include "SystemInfoTool.h"

namespace sysreport {

std::string systemInfoProgram(const SystemInfoLookup& lookup) {
    std::string value;
    if (lookup.readMachineValue("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", value)) {
        return value;
    }
    if (lookup.readMachineValue("SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", value)) {
        const std::string program = value + "\\MSINFO32.EXE";
        if (lookup.fileExists(program)) {
            return program;
        }
    }
    return {};
}

}  // namespace sysreport
