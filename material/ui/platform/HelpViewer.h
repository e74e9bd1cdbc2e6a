// Shows a compiled help file. One implementation per system: the HTML Help viewer on
// Windows (HtmlHelpViewer), the desktop's handler for the file elsewhere (in the UI).
#pragma once

#include <memory>
#include <string>

namespace material {

class HelpViewer {
  public:
    virtual ~HelpViewer() = default;

    // Opens the help file at its default topic. The path is UTF-8. Nothing is reported back:
    // a missing file shows whatever the viewer shows for it.
    virtual void displayHelpFile(const std::string& path) = 0;
};

// The HTML Help viewer of hhctrl.ocx, loaded on first use (Windows builds only).
std::unique_ptr<HelpViewer> createHtmlHelpViewer();

}  // namespace material
