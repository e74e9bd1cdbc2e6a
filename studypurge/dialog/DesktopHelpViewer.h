#pragma once
// Help where no HTML help viewer exists: "studypurge.chm" is handed to the desktop's
// handler for the file, if the file is next to the program or in the current folder.

#include <QString>

#include "HelpViewer.h"

namespace spdialog {

class DesktopHelpViewer : public HelpViewer {
  public:
    bool show(void* owner) override;

    // The help file's full path, or an empty string when there is none.
    static QString findHelpFile();
};

}  // namespace spdialog
