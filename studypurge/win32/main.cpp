// studypurge.exe: removes the stored data of chosen analysis products from a PLANDRY
// part or assembly document; with options, from many documents without a window.
#include <windows.h>

#include "CkwpurgeApp.h"
#include "CommandLine.h"
#include "CommandLineStart.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    const std::vector<std::string> args = spwin::programArguments();
    const spcli::Launch launch = spcli::classifyArguments(args);
    if (launch.kind == spcli::LaunchKind::CommandLine) {
        return spwin::runCommandLine(args);
    }
    // No arguments, or a single document as a file manager passes it.
    return spwin::CkwpurgeApp(instance).InitInstance(launch.path);
}
