#include "Program.h"

#include <objbase.h>
#include <shlobj.h>

#include <commctrl.h>

#include "MainWindow.h"
#include "WinText.h"

namespace sysreport::win32 {
namespace {

std::string folderOf(const std::wstring& path) {
    const std::size_t cut = path.find_last_of(L"\\/");
    return fromWide(cut == std::wstring::npos ? std::wstring() : path.substr(0, cut));
}

std::string programFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return folderOf(path);
        }
        path.resize(path.size() * 2);
    }
}

std::string knownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    std::string text;
    if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path))) {
        text = fromWide(path);
    }
    CoTaskMemFree(path);
    return text;
}

}  // namespace

ReportLocations programReportLocations() {
    return ReportLocations{programFolder(), knownFolder(FOLDERID_Documents),
                           knownFolder(FOLDERID_Profile)};
}

PlatformServices::PlatformServices()
    : facts(makePlatformSystemFacts()),
      clock(makePlatformClock()),
      backend(makePlatformRegistry()),
      ini(makeIniFileReader()),
      registry(*backend, *ini),
      cadHost(makePlatformCadHost()),
      shell(makeSystemShell()),
      platformMail(makePlatformMailClient()),
      mail(*shell, *platformMail),
      systemInfo(makePlatformSystemInfoTool()),
      prompts(*shell) {}

AppServices PlatformServices::services() {
    return AppServices{*facts,  *clock, registry,    *cadHost,
                       prompts, mail,   *systemInfo, programReportLocations()};
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
