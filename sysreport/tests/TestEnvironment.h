// Changing the process environment from a test, as the platform's probes read it.
#pragma once

#include <string>

namespace sysreport::testing {

void setEnvironmentVariable(const std::string& name, const std::string& value);

}  // namespace sysreport::testing
