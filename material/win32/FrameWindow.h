// The browser's main window: the MDI frame (the text's `MDIForm1`, its window class name)
// with its menus, toolbar, status bar and animation. It holds no library: its commands go
// to FrameCommands, and the rules it follows (Save versus Save As, placement, animation
// pictures) live in the toolkit-free app layer.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <memory>

#include "app/FrameCommands.h"
#include "app/StatusAnimation.h"
#include "ui/platform/HelpViewer.h"

namespace material::win32 {

class FrameWindow {
  public:
    static constexpr UINT kTimerIntervalMs = 500;
    static constexpr UINT_PTR kTimerId = 1;  // the text's `Timer1`
    static constexpr int kAnimationSize = 20;

    // Creates the frame hidden; `closed` runs once the window is gone (the program quits).
    FrameWindow(FrameCommands& commands, std::unique_ptr<HelpViewer> helpViewer,
                std::function<void()> closed = {});
    ~FrameWindow();
    FrameWindow(const FrameWindow&) = delete;
    FrameWindow& operator=(const FrameWindow&) = delete;

    HWND window() const { return window_; }
    HWND client() const { return client_; }  // the MDI client (the text's workspace)
    HWND toolbar() const { return toolbar_; }
    HWND statusBar() const { return statusBar_; }
    // The accelerators the message loop runs: the active library window's, else the frame's.
    HACCEL accelerators() const {
        return windowAccelerators_ ? windowAccelerators_ : accelerators_;
    }
    void setWindowAccelerators(HACCEL accelerators) { windowAccelerators_ = accelerators; }
    // The window whose controls the keyboard moves between (Tab, mnemonics), null for none.
    void setDialogWindow(HWND window) { dialogWindow_ = window; }
    // What the message loop does with `message` before dispatching it: true when it was
    // handled (an accelerator, dialog navigation, the about window's keys).
    bool translate(MSG& message);

    // The picture the animation shows, 0 before the first one.
    int shownFrame() const { return shownFrame_; }

    // Save and Delete stay disabled while no library is open.
    void setLibraryButtonsEnabled(bool enabled);
    // The View menu's toggles; each returns whether its bar is now shown.
    bool toggleToolbar();
    bool toggleStatusBar();

    // Shows `menu` in the menu bar while a library window is active, the frame's own
    // menu again for null.
    void showMenu(HMENU menu);

    // Runs one of the frame's commands (menu, toolbar or accelerator id); false for another.
    bool onCommand(int id);

    // Runs the program's message loop until the frame is gone; returns the exit code.
    int runMessageLoop();

  private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    void create();
    void placeOnScreen();
    void buildToolbar();
    void buildStatusBar();
    void layout();
    void onTimerTick();
    void drawAnimation(const DRAWITEMSTRUCT& item) const;
    LRESULT onNotify(const NMHDR& header);
    void showFolderHelp();
    void showInstallationHelp();

    FrameCommands& commands_;
    std::unique_ptr<HelpViewer> helpViewer_;
    std::function<void()> closed_;
    StatusAnimation animation_;
    HWND window_ = nullptr;
    HWND client_ = nullptr;
    HWND toolbar_ = nullptr;
    HWND statusBar_ = nullptr;
    HWND dialogWindow_ = nullptr;
    HWND savedFocus_ = nullptr;  // the control given the focus back on activation
    HMENU frameMenu_ = nullptr;
    HACCEL accelerators_ = nullptr;
    HACCEL windowAccelerators_ = nullptr;
    HIMAGELIST imageList_ = nullptr;
    HBRUSH workspaceBrush_ = nullptr;
    int shownFrame_ = 0;
};

}  // namespace material::win32
