#pragma once
// The application object (CkwpurgeApp): prepares the process and runs the dialog.

#include <windows.h>

namespace spwin {

class CkwpurgeApp {
  public:
    explicit CkwpurgeApp(HINSTANCE instance) : instance_(instance) {}

    // Runs the dialog modally and returns the program's exit code once it closes.
    int InitInstance();

  private:
    HINSTANCE instance_;
};

}  // namespace spwin
