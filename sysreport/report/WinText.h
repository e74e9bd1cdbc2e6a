// UTF-16 <-> UTF-8 for the Windows probes (Windows builds only).
#pragma once

#include <windows.h>

#include <string>

#include "AnsiText.h"

namespace sysreport {

inline std::string fromWide(const wchar_t* text, std::size_t length) {
    return utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(text), length));
}

inline std::string fromWide(const std::wstring& text) {
    return fromWide(text.data(), text.size());
}

inline std::wstring toWide(std::string_view utf8) {
    const std::u16string units = utf8ToUtf16(utf8);
    return std::wstring(units.begin(), units.end());
}

// The system's description of an error code, without its line end.
inline std::string systemErrorText(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text = length > 0 ? fromWide(buffer, length) : std::string();
    LocalFree(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
        text.pop_back();
    }
    return text;
}

}  // namespace sysreport
