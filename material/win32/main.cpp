// material.exe: the material library browser.
#include <windows.h>

#include "Win32Browser.h"
#include "Win32LibraryPrompts.h"
#include "data/DecimalSeparator.h"
#include "data/LibraryFileSystem.h"
#include "data/xls/win32/ReaderProgram.h"
#include "units/registry/clsRegistry.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show) {
    using namespace material;
    // Started again by itself to read a workbook out of harm's way: no window.
    if (const std::optional<int> status = serveWorkbookRequest(GetCommandLineW())) {
        return *status;
    }
    win32::Win32LibraryPrompts prompts;
    UserLocaleDecimalSeparator separator;
    win32::Win32Browser browser(win32::BrowserServices{prompts, PlatformFileSystem(), separator,
                                                       programSettings(), PlatformWorkbookReader(),
                                                       nullptr, [] { PostQuitMessage(0); }});
    prompts.setOwner(browser.frame().window());
    ShowWindow(browser.frame().window(), show);
    UpdateWindow(browser.frame().window());
    return browser.frame().runMessageLoop();
}
