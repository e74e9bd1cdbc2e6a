#pragma once
// Text through the Windows code-page API, for the workbook reader's C library.

#include <cstddef>
#include <string>

namespace material::win32 {

// Decodes `length` bytes in `codePage`; false for bytes that are not valid there
// (a lead byte without its trail byte included).
bool decodeToWide(unsigned codePage, const char* bytes, std::size_t length, std::wstring& wide);

// Encodes as UTF-8; false for a lone surrogate.
bool encodeUtf8(const std::wstring& wide, std::string& utf8);

}  // namespace material::win32
