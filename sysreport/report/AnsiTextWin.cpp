// The ANSI code page of the running Windows system.
#include <windows.h>

#include "AnsiText.h"

namespace sysreport {

std::string toAnsi(std::string_view utf8) {
    const std::u16string wide = utf8ToUtf16(utf8);
    if (wide.empty()) {
        return {};
    }
    const auto* source = reinterpret_cast<const wchar_t*>(wide.data());
    const int size = static_cast<int>(wide.size());
    const int needed = WideCharToMultiByte(CP_ACP, 0, source, size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(CP_ACP, 0, source, size, out.data(), needed, nullptr, nullptr);
    return out;
}

bool ansiByteOf(char16_t c, char& byte) {
    const wchar_t wide = static_cast<wchar_t>(c);
    char out[4] = {};
    BOOL usedDefault = FALSE;
    // No best fit: a character the code page lacks must not turn into a look-alike.
    const int written = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, &wide, 1, out, sizeof out,
                                            nullptr, &usedDefault);
    if (written != 1 || usedDefault) {
        return false;
    }
    byte = out[0];
    return true;
}

std::string fromAnsi(std::string_view ansi) {
    if (ansi.empty()) {
        return {};
    }
    const int size = static_cast<int>(ansi.size());
    const int needed = MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, nullptr, 0);
    std::u16string wide(static_cast<std::size_t>(needed), u'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, reinterpret_cast<wchar_t*>(wide.data()),
                        needed);
    return utf16ToUtf8(wide);
}

}  // namespace sysreport
