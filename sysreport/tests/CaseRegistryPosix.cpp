// On Linux the fixture's files are the registry itself.
#include "CaseRegistry.h"
#include "WineRegistry.h"

namespace sysreport::testing {

std::unique_ptr<RegistryBackend> makeCaseBackend(const std::string& folder,
                                                 const std::vector<std::string>&) {
    return std::make_unique<WineRegistryBackend>(folder);
}

}  // namespace sysreport::testing
