// Message boxes owned by the window the user works in, and the report opened
// through the shell.
#pragma once

#include <windows.h>

#include "ReportFile.h"
#include "Shell.h"

namespace sysreport::win32 {

class Win32Prompts : public UserPrompts {
  public:
    explicit Win32Prompts(Shell& shell) : shell_(shell) {}

    // The window that owns boxes when no window of this thread is active.
    void setOwner(HWND owner) { owner_ = owner; }

    void showMessage(const std::string& text) override;
    // Yes and No only: such a box has no close box and ignores Escape.
    bool askYesNo(const std::string& text, const std::string& title) override;
    void inform(const std::string& text, const std::string& title) override;
    bool openFile(const std::string& path) override;

  private:
    HWND owner() const;

    Shell& shell_;
    HWND owner_ = nullptr;
};

}  // namespace sysreport::win32
