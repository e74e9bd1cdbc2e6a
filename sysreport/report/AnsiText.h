// Conversion between the UTF-8 text used inside the program and the system's
// single-byte code page of the report file (Windows-1252 on Linux, the ANSI code
// page on Windows).
#pragma once

#include <string>
#include <string_view>

namespace sysreport {

// UTF-8 to the single-byte code page; characters it cannot hold become "?".
std::string toAnsi(std::string_view utf8);

// UTF-8 to the single-byte code page for an HTML file: characters it cannot hold
// become numeric character references ("&#26085;"), so nothing is lost.
std::string toAnsiHtml(std::string_view utf8);

// The code page's byte of one UTF-16 code unit; false when it has none.
bool ansiByteOf(char16_t c, char& byte);

// Single-byte code page to UTF-8.
std::string fromAnsi(std::string_view ansi);

// UTF-8 of a sequence of UTF-16 code units.
std::string utf16ToUtf8(std::u16string_view text);

// UTF-16 code units of UTF-8 text (invalid bytes become U+FFFD).
std::u16string utf8ToUtf16(std::string_view text);

}  // namespace sysreport
