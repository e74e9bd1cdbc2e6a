// Where no HTML help viewer exists, the desktop's handler opens the help file.
#include "DesktopHelpViewer.h"
#include "PlatformHelp.h"

namespace spdialog {

std::unique_ptr<HelpViewer> createPlatformHelpViewer() {
    return std::make_unique<DesktopHelpViewer>();
}

}  // namespace spdialog
