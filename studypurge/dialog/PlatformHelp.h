#pragma once
// The platform's help viewer for the Qt dialog, whose `owner` is the dialog's QWidget*.

#include <memory>

#include "HelpViewer.h"

namespace spdialog {

std::unique_ptr<HelpViewer> createPlatformHelpViewer();

}  // namespace spdialog
