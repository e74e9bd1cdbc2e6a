#include "WideText.h"

#include <windows.h>

namespace material::win32 {

namespace {

std::wstring widenFrom(UINT codePage, std::string_view bytes) {
    if (bytes.empty()) {
        return {};
    }
    const int length = static_cast<int>(bytes.size());
    const int size = MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
    std::wstring text(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), length, text.data(), size);
    return text;
}

}  // namespace

std::wstring widen(std::string_view utf8) {
    return widenFrom(CP_UTF8, utf8);
}

std::wstring widenAnsi(std::string_view ansi) {
    return widenFrom(CP_ACP, ansi);
}

std::string narrow(std::wstring_view utf16) {
    if (utf16.empty()) {
        return {};
    }
    const int size = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), text.data(), size,
                        nullptr, nullptr);
    return text;
}

std::wstring loadString(unsigned id) {
    const wchar_t* text = nullptr;
    // With a zero length LoadStringW hands out a pointer into the resource itself.
    const int length =
        LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<wchar_t*>(&text), 0);
    return length > 0 ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
}

}  // namespace material::win32
