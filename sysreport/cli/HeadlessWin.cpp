// Running without a window on Windows: the console of the caller, and the screen
// as the system reports it.
#include <windows.h>

#include <cstdio>

#include "CommandLine.h"

namespace sysreport::cli {

bool displayAvailable() {
    return true;
}

void attachParentConsole() {
    // Output already redirected (a pipe or a file) stays where it goes.
    const bool redirected = GetFileType(GetStdHandle(STD_OUTPUT_HANDLE)) != FILE_TYPE_UNKNOWN;
    if (redirected || !AttachConsole(ATTACH_PARENT_PROCESS)) {
        return;
    }
    std::FILE* ignored = nullptr;
    ignored = std::freopen("CONOUT$", "w", stdout);
    ignored = std::freopen("CONOUT$", "w", stderr);
    (void)ignored;
}

ScreenFacts screenFactsWithoutWindow() {
    ScreenFacts screen;
    screen.width = GetSystemMetrics(SM_CXSCREEN);
    screen.height = GetSystemMetrics(SM_CYSCREEN);
    if (HDC dc = GetDC(nullptr); dc != nullptr) {
        screen.bitsPerPixel = GetDeviceCaps(dc, PLANES) * GetDeviceCaps(dc, BITSPIXEL);
        ReleaseDC(nullptr, dc);
    }
    return screen;
}

}  // namespace sysreport::cli
