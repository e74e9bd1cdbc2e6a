// The report's candidate folders on Windows.
#include <shlobj.h>
#include <windows.h>

#include "ReportFile.h"
#include "WinText.h"

namespace sysreport {
namespace {

std::string programFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return fromWide(path.substr(0, path.find_last_of(L"\\/")));
}

std::string knownFolder(REFKNOWNFOLDERID id) {
    wchar_t* path = nullptr;
    std::string folder;
    if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path))) {
        folder = fromWide(path, wcslen(path));
    }
    CoTaskMemFree(path);
    return folder;
}

std::string tempFolder() {
    wchar_t buffer[MAX_PATH + 2] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
    std::string folder = fromWide(buffer, length);
    // The report's name is joined with its own separator.
    while (folder.size() > 3 && folder.back() == '\\') {
        folder.pop_back();
    }
    return folder;
}

}  // namespace

ReportLocations platformReportLocations() {
    return {programFolder(), knownFolder(FOLDERID_Documents), knownFolder(FOLDERID_Profile),
            tempFolder()};
}

}  // namespace sysreport
