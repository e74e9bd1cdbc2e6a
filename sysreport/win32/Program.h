// Start-up of sysreport.exe: the platform's services, the main window and the
// message loop.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "MainBehaviour.h"
#include "Shell.h"
#include "Win32BusyWait.h"
#include "Win32Prompts.h"

namespace sysreport::win32 {

// The program's arguments after its name, as UTF-8.
std::vector<std::string> commandLineArguments();

// The platform's own services, as the program uses them.
struct PlatformServices {
    PlatformServices();
    AppServices services();

    std::unique_ptr<SystemFacts> facts;
    std::unique_ptr<Clock> clock;
    std::unique_ptr<RegistryBackend> backend;
    std::unique_ptr<IniFileReader> ini;
    RegistryReader registry;
    std::unique_ptr<CadHost> cadHost;
    std::unique_ptr<Shell> shell;
    Win32BusyWait busyWait;
    std::unique_ptr<MailClient> platformMail;
    ShellMailClient mail;
    std::unique_ptr<SystemInfoTool> systemInfo;
    Win32Prompts prompts;
};

// Runs the program with its main window shown as `show` asks; the exit code.
int runProgram(HINSTANCE instance, int show);

// Dispatches messages until WM_QUIT, giving the active dialog its keyboard
// handling (Tab, access keys, Enter and Escape) first.
int runMessageLoop();

}  // namespace sysreport::win32
