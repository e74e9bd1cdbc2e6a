#pragma once
// The application object (CkwpurgeApp): prepares the process and runs the dialog.

#include <windows.h>

#include <string>

namespace spwin {

class CkwpurgeApp {
  public:
    explicit CkwpurgeApp(HINSTANCE instance) : instance_(instance) {}

    // Runs the dialog modally, with `startPath` in the path box when it is not empty,
    // and returns the program's exit code once it closes.
    int InitInstance(const std::string& startPath = {});

  private:
    HINSTANCE instance_;
};

}  // namespace spwin
