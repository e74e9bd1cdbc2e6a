#pragma once
// Shows the program's help file. One implementation per platform.

namespace spdialog {

class HelpViewer {
  public:
    virtual ~HelpViewer() = default;

    // Opens the help for the window `owner` (a native window handle or null).
    // Returns false when no help could be shown; the caller shows nothing either.
    virtual bool show(void* owner) = 0;
};

}  // namespace spdialog
