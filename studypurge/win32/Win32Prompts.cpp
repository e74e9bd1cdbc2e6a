#include "Win32Prompts.h"

#include <windows.h>

#include <commdlg.h>

#include <vector>

#include "WideText.h"

namespace spwin {

void Win32MessageBoxes::show(void* owner, const std::string& text) {
    MessageBoxW(static_cast<HWND>(owner), toWide(text).c_str(), kProgramName,
                MB_OK | MB_ICONEXCLAMATION);
}

std::optional<std::string> Win32FileChooser::openFile(void* owner, const std::string& filter) {
    const std::wstring filterList = openFileFilter(filter);
    // Room for a long path; a choice that does not fit counts as cancelled.
    std::vector<wchar_t> path(32768, L'\0');
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = static_cast<HWND>(owner);
    ofn.lpstrFilter = filterList.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = path.data();
    ofn.nMaxFile = static_cast<DWORD>(path.size());
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING;
    if (!GetOpenFileNameW(&ofn)) {
        return std::nullopt;
    }
    return toUtf8(path.data());
}

}  // namespace spwin
