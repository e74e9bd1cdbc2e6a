#include "WideText.h"

#include <windows.h>

#include <climits>

namespace material::win32 {

bool decodeToWide(unsigned codePage, const char* bytes, std::size_t length, std::wstring& wide) {
    wide.clear();
    if (length == 0) {
        return true;
    }
    if (length > INT_MAX) {
        return false;
    }
    const int size = static_cast<int>(length);
    const int count = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes, size, nullptr, 0);
    if (count <= 0) {
        return false;
    }
    wide.resize(static_cast<std::size_t>(count));
    return MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes, size, wide.data(), count) ==
           count;
}

bool encodeUtf8(const std::wstring& wide, std::string& utf8) {
    utf8.clear();
    if (wide.empty()) {
        return true;
    }
    if (wide.size() > INT_MAX) {
        return false;
    }
    const int size = static_cast<int>(wide.size());
    const int count = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide.data(), size, nullptr,
                                          0, nullptr, nullptr);
    if (count <= 0) {
        return false;
    }
    utf8.resize(static_cast<std::size_t>(count));
    return WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide.data(), size, utf8.data(), count,
                               nullptr, nullptr) == count;
}

}  // namespace material::win32
