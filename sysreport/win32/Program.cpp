#include "Program.h"

#include <objbase.h>
#include <shellapi.h>

#include <commctrl.h>

#include "MainWindow.h"
#include "WinText.h"

namespace sysreport::win32 {

std::vector<std::string> commandLineArguments() {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> texts;
    for (int i = 1; arguments != nullptr && i < count; ++i) {
        texts.push_back(fromWide(arguments[i]));
    }
    LocalFree(arguments);
    return texts;
}

PlatformServices::PlatformServices()
    : facts(makePlatformSystemFacts()),
      clock(makePlatformClock()),
      backend(makePlatformRegistry()),
      ini(makeIniFileReader()),
      registry(*backend, *ini),
      cadHost(makePlatformCadHost()),
      shell(makeSystemShell()),
      platformMail(makePlatformMailClient(busyWait)),
      mail(*shell, *platformMail),
      systemInfo(makePlatformSystemInfoTool()),
      prompts(*shell) {}

AppServices PlatformServices::services() {
    return AppServices{*facts,  *clock, registry,    *cadHost,
                       prompts, mail,   *systemInfo, platformReportLocations()};
}

int runMessageLoop() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        HWND active = GetActiveWindow();
        if (active != nullptr && IsDialogMessageW(active, &message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

int runProgram(HINSTANCE instance, int show) {
    // Outlook and the CAD host are reached through COM on this thread.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    PlatformServices platform;

    int exitCode = 0;
    {
        MainWindow window(platform.services(), instance);
        platform.prompts.setOwner(window.hwnd());
        ShowWindow(window.hwnd(), show);
        exitCode = runMessageLoop();
    }
    if (SUCCEEDED(com)) {
        CoUninitialize();
    }
    return exitCode;
}

}  // namespace sysreport::win32
