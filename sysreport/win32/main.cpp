// sysreport.exe: writes the support report of this computer and its Korvex
// products.
#include <windows.h>

#include "Program.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    return sysreport::win32::runProgram(instance, show);
}
