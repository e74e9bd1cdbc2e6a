#include <windows.h>

#include "TestEnvironment.h"
#include "WinText.h"

namespace sysreport::testing {

void setEnvironmentVariable(const std::string& name, const std::string& value) {
    // The probes read the process environment, which the C runtime's copy is not.
    SetEnvironmentVariableW(toWide(name).c_str(), toWide(value).c_str());
}

}  // namespace sysreport::testing
