// OpenGL renderer and version as the display driver's default context reports
// them, for the report's graphics line.
#pragma once

#include "SystemFacts.h"

namespace sysreport::win32 {

// Made once per run (a context costs tens of milliseconds); empty when no
// context can be made, as with a driver without OpenGL.
OpenGlFacts probeOpenGl();

}  // namespace sysreport::win32
