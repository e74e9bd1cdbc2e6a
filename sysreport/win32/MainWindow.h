// frmSysInformation: the main window of sysreport.exe, a thin view over
// MainBehaviour. Closing it ends the program.
#pragma once

#include <windows.h>

#include "ChangeDefaultDialog.h"
#include "MainBehaviour.h"
#include "TwipsLayout.h"

namespace sysreport::win32 {

class MainWindow : private MainView {
  public:
    // Creates the window hidden; the caller shows it.
    MainWindow(AppServices services, HINSTANCE instance);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Null once the window is closed.
    HWND hwnd() const { return hwnd_; }
    HWND control(int id) const { return GetDlgItem(hwnd_, id); }
    MainBehaviour& behaviour() { return behaviour_; }
    ChangeDefaultDialog& changeDefault() { return changeDefault_; }

    void attach(HWND dialog) { hwnd_ = dialog; }
    INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    void onInit();
    void onCommand(int id);
    void showAbout();

    std::string emailField() const override;
    void setEmailField(const std::string& text) override;
    ScreenFacts screenFacts() const override;
    OpenGlFacts openGlFacts() const override;

    HINSTANCE instance_;
    MainBehaviour behaviour_;
    ChangeDefaultDialog changeDefault_;
    HWND hwnd_ = nullptr;
    TwipsLayout layout_;
};

// The menu bar of the main window.
HMENU makeMainMenu();

}  // namespace sysreport::win32
