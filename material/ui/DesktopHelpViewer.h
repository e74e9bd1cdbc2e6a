// Help where there is no compiled-help viewer (Linux): the browser's HTML help book,
// installed as <prefix>/share/korvex-tools/help/material and repeated in the build tree,
// is handed to the desktop, which opens it in the browser. A compiled help file at the
// path asked for is tried when there is no book. When nothing can be shown, the user is
// told where the help is, or where it would be. No toolkit here: the opener and the
// teller are handed in.
#pragma once

#include <functional>
#include <string>

#include "ui/platform/HelpViewer.h"

namespace material {

class DesktopHelpViewer final : public HelpViewer {
  public:
    // Hands a file to the desktop; false when nothing took it.
    using Opener = std::function<bool(const std::string& file)>;
    // Shows the user a message (UTF-8).
    using Teller = std::function<void(const std::string& text)>;

    // An empty opener is a desktop that opens nothing.
    DesktopHelpViewer(std::string bookPage, Opener open, Teller tell);

    void displayHelpFile(const std::string& path) override;

    // The book's first page for a program in `programFolder` (the installed layout:
    // <prefix>/bin and <prefix>/share/korvex-tools/help/material).
    static std::string bookPageFor(const std::string& programFolder);

  private:
    std::string bookPage_;
    Opener open_;
    Teller tell_;
};

}  // namespace material
