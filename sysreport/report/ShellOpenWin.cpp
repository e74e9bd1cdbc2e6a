#include <windows.h>
// shellapi.h relies on the definitions of windows.h.
#include <shellapi.h>

#include "ShellOpen.h"
#include "WinText.h"

namespace sysreport {

bool openWithDesktop(const std::string& path, BusyWait&) {
    const std::wstring file = toWide(path);
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, nullptr, file.c_str(), nullptr, L"C:\\", SW_SHOWNORMAL));
    // Values up to 32 are errors (no association, file not found, ...).
    return result > 32;
}

}  // namespace sysreport
