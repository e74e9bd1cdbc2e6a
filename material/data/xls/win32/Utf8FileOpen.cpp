#include "Utf8FileOpen.h"

#include <windows.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "WideText.h"

extern "C" FILE* kt_fopen_utf8(const char* path, const char* mode) {
    std::wstring widePath;
    std::wstring wideMode;
    if (!material::win32::decodeToWide(CP_UTF8, path, std::strlen(path), widePath) ||
        !material::win32::decodeToWide(CP_UTF8, mode, std::strlen(mode), wideMode)) {
        errno = EINVAL;
        return nullptr;
    }
    return _wfopen(widePath.c_str(), wideMode.c_str());
}
