#pragma once
// The dialog's prompts and choosers with the Win32 API. The owner is an HWND.

#include "Prompts.h"

namespace spwin {

// Caption of the program's message boxes: its name.
inline constexpr const wchar_t* kProgramName = L"studypurge";

class Win32MessageBoxes : public spapp::MessageBoxes {
  public:
    void show(void* owner, const std::string& text) override;
};

class Win32FileChooser : public spapp::FileChooser {
  public:
    std::optional<std::string> openFile(void* owner, const std::string& filter) override;
};

}  // namespace spwin
