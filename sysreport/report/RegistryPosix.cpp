// On Linux the registry is that of the user's Wine prefix.
#include "WineRegistry.h"

namespace sysreport {

std::unique_ptr<RegistryBackend> makePlatformRegistry() {
    return std::make_unique<WineRegistryBackend>(defaultWinePrefix());
}

}  // namespace sysreport
