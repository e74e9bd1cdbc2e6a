// The about form (the text's `aboutForm`): modeless, one at a time, closed by OK or Esc.
#pragma once

#include <windows.h>

namespace material::win32 {

class AboutWindow {
  public:
    // Shows the form, creating it first when none is open, and brings it to the front.
    static HWND show(HWND owner);
    // The open form, or null.
    static HWND current();
    // Lets an open form see its dialog keys (Tab, Enter, Esc) in the program's message loop.
    static bool translate(MSG& message);

  private:
    static INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

}  // namespace material::win32
