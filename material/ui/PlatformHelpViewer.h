// The help viewer of the system the program runs on.
#pragma once

#include <memory>

#include "ui/platform/HelpViewer.h"

namespace material {

// Windows: the HTML Help viewer. Elsewhere: the desktop's handler for the file, when the
// file exists (there is no compiled-help viewer to report a missing one).
std::unique_ptr<HelpViewer> createPlatformHelpViewer();

}  // namespace material
