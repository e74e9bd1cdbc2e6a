#include "CommandLineStart.h"

#include <objbase.h>
#include <shellapi.h>
#include <windows.h>

#include <cstdio>
#include <iostream>

#include "CommandLine.h"
#include "WideText.h"

namespace spwin {
namespace {

bool isUsableHandle(HANDLE handle) {
    return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
           GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

// A windowed program has no console of its own. Redirected standard handles (a pipe
// from a script or a test, a file from "> out.txt") are kept as the runtime opened
// them; a stream with no handle is re-opened on the console of the process that
// started the program, when it has one.
void connectStandardStreams() {
    const bool outUsable = isUsableHandle(GetStdHandle(STD_OUTPUT_HANDLE));
    const bool errUsable = isUsableHandle(GetStdHandle(STD_ERROR_HANDLE));
    if (outUsable && errUsable) {
        return;
    }
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) {
        return;  // started without a console and without handles: nothing is shown
    }
    if (!outUsable && std::freopen("CONOUT$", "w", stdout) != nullptr) {
        std::cout.clear();
    }
    if (!errUsable && std::freopen("CONOUT$", "w", stderr) != nullptr) {
        std::cerr.clear();
    }
}

}  // namespace

std::vector<std::string> programArguments() {
    int count = 0;
    wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> args;
    for (int i = 1; words != nullptr && i < count; ++i) {
        args.push_back(toUtf8(words[i]));
    }
    LocalFree(words);
    return args;
}

int runCommandLine(const std::vector<std::string>& args) {
    connectStandardStreams();
    // The structured-storage calls want the thread in a COM apartment.
    const bool comReady = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    const int code = spcli::runCommandLine(args, std::cout, std::cerr);
    std::cout.flush();
    std::cerr.flush();
    if (comReady) {
        CoUninitialize();
    }
    return code;
}

}  // namespace spwin
