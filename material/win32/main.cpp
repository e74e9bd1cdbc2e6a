// material.exe: the material library browser.
#include <windows.h>

#include "FrameWindow.h"
#include "FrameWithoutLibrary.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show) {
    material::win32::FrameWithoutLibrary commands;
    material::win32::FrameWindow frame(commands, nullptr, [] { PostQuitMessage(0); });
    ShowWindow(frame.window(), show);
    UpdateWindow(frame.window());
    return frame.runMessageLoop();
}
