// Conversion between the UTF-8 text used inside the program and the system's
// single-byte code page of the report file (Windows-1252 on Linux, the ANSI code
// page on Windows).
#pragma once

#include <string>
#include <string_view>

namespace sysreport {

// UTF-8 to the single-byte code page; characters it cannot hold become "?".
std::string toAnsi(std::string_view utf8);

// Single-byte code page to UTF-8.
std::string fromAnsi(std::string_view ansi);

// UTF-8 of a sequence of UTF-16 code units.
std::string utf16ToUtf8(std::u16string_view text);

// UTF-16 code units of UTF-8 text (invalid bytes become U+FFFD).
std::u16string utf8ToUtf16(std::string_view text);

}  // namespace sysreport
