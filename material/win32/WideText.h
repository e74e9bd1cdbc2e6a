// UTF-8 text of the cores as the UTF-16 text of the Windows API, and back.
#pragma once

#include <string>
#include <string_view>

namespace material::win32 {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);
// Text in the process's ANSI code page (the paths the library operations keep) as UTF-16.
std::wstring widenAnsi(std::string_view ansi);

// The text of a string resource of this program, empty when there is none.
std::wstring loadString(unsigned id);

}  // namespace material::win32
