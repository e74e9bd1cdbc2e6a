// The help viewer of the system the program runs on.
#pragma once

#include <memory>

#include "ui/platform/HelpViewer.h"

namespace material {

// Windows: the HTML Help viewer. Elsewhere: the program's HTML help book in the desktop's
// browser, with a message saying where the help is when it cannot be shown.
std::unique_ptr<HelpViewer> createPlatformHelpViewer();

}  // namespace material
