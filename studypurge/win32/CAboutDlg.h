#pragma once
// The about box (CAboutDlg): dialog template 100, run modally.

#include <windows.h>

namespace spwin {

class CAboutDlg {
  public:
    explicit CAboutDlg(HINSTANCE instance) : instance_(instance) {}

    // Runs the box until OK or Escape; returns the command that closed it.
    INT_PTR DoModal(HWND owner);

  private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HINSTANCE instance_;
};

}  // namespace spwin
