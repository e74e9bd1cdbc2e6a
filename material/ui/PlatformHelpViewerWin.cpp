#include "PlatformHelpViewer.h"

namespace material {

std::unique_ptr<HelpViewer> createPlatformHelpViewer() {
    return createHtmlHelpViewer();
}

}  // namespace material
