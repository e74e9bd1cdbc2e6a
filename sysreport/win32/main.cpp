// sysreport.exe: writes the support report of this computer and its Korvex
// products.
#include <windows.h>

#include <iostream>

#include "CommandLine.h"
#include "Program.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    // With arguments the report is written without a window, its output going to
    // the console the program was started from. Without them the window stays
    // free of that console, which would take the program down when it closes.
    const std::vector<std::string> arguments = sysreport::win32::commandLineArguments();
    if (!arguments.empty()) {
        sysreport::cli::attachParentConsole();
    }
    if (const auto exitCode = sysreport::cli::runCommandLine(arguments, std::cout, std::cerr)) {
        return *exitCode;
    }
    return sysreport::win32::runProgram(instance, show);
}
