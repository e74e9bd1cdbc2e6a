// OpenGL renderer and version as the window system's default context reports
// them, for the report's graphics line.
#pragma once

#include "SystemFacts.h"

namespace sysreport {

// Made once per run (a context costs tens of milliseconds); empty when no
// context can be made.
OpenGlFacts probeOpenGl();

}  // namespace sysreport
