// frmAbout: the modal about box.
#pragma once

#include <windows.h>

#include "SystemFacts.h"
#include "SystemInfoTool.h"
#include "TwipsLayout.h"

namespace sysreport::win32 {

class AboutBox {
  public:
    AboutBox(SystemInfoTool& systemInfo, MessageSink& messages)
        : systemInfo_(systemInfo), messages_(messages) {}

    // Shows the box over `owner` until OK closes it.
    void run(HINSTANCE instance, HWND owner);

    void attach(HWND dialog) { hwnd_ = dialog; }
    INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    void onInit();

    SystemInfoTool& systemInfo_;
    MessageSink& messages_;
    HWND hwnd_ = nullptr;
    TwipsLayout layout_;
};

}  // namespace sysreport::win32
