#include <cstdlib>

#include "TestEnvironment.h"

namespace sysreport::testing {

void setEnvironmentVariable(const std::string& name, const std::string& value) {
    setenv(name.c_str(), value.c_str(), 1);
}

}  // namespace sysreport::testing
