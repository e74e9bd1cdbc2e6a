// The library operations' questions as the system's message boxes and common file
// dialogs. Texts arrive in the library's code page (Windows-1252); chosen paths go back
// in the process's ANSI code page, which the Win32 library file system opens them with.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "data/library/LibraryPrompts.h"

namespace material::win32 {

// "description|pattern|..." as the dialogs want it: pairs ended by NULs, a second NUL last.
std::wstring dialogFilter(std::string_view filter);

class Win32LibraryPrompts final : public LibraryPrompts {
  public:
    // The window the boxes and dialogs belong to; null leaves them ownerless.
    void setOwner(HWND owner) { owner_ = owner; }

    MessageAnswer Message(const std::string& text, MessageButtons buttons,
                          MessageIcon icon) override;
    std::optional<std::string> OpenFile(const FileDialogRequest& request) override;
    std::optional<std::string> SaveFile(const FileDialogRequest& request) override;

  private:
    std::optional<std::string> askForFile(const FileDialogRequest& request, bool forSaving);

    HWND owner_ = nullptr;
};

}  // namespace material::win32
