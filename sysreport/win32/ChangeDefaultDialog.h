// frmChangeDefault: the modeless dialog that changes the address the report is
// mailed to. It is owned by the main window and so closes with it.
#pragma once

#include <windows.h>

#include "MainBehaviour.h"
#include "TwipsLayout.h"

namespace sysreport::win32 {

class ChangeDefaultDialog {
  public:
    ChangeDefaultDialog(HINSTANCE instance, MainBehaviour& behaviour)
        : instance_(instance), behaviour_(behaviour) {}
    ~ChangeDefaultDialog();
    ChangeDefaultDialog(const ChangeDefaultDialog&) = delete;
    ChangeDefaultDialog& operator=(const ChangeDefaultDialog&) = delete;

    // Shows the dialog beside `owner` without blocking it; brings an open one
    // to the front.
    void show(HWND owner);
    // The dialog while it is open, else null.
    HWND hwnd() const { return hwnd_; }

    void attach(HWND dialog) { hwnd_ = dialog; }
    INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    void onInit();
    void onCommand(int id);

    HINSTANCE instance_;
    MainBehaviour& behaviour_;
    HWND hwnd_ = nullptr;
    TwipsLayout layout_;
};

}  // namespace sysreport::win32
