// Windows: the command line as a console program, for scripts and for the tests that
// start it as a process. The dialog program is a windowed one and has no console.
#include <objbase.h>

#include <iostream>
#include <string>
#include <vector>

#include "CleanDocument.h"
#include "CommandLine.h"

int wmain(int argc, wchar_t** argv) {
    // The storage calls want the thread in a COM apartment.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        args.push_back(purge::Utf16ToUtf8(reinterpret_cast<const char16_t*>(argv[i])));
    }
    const int code = spcli::runCommandLine(args, std::cout, std::cerr);
    std::cout.flush();
    CoUninitialize();
    return code;
}
