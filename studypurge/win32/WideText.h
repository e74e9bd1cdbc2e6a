#pragma once
// UTF-8 (the behaviour layer's text) to and from UTF-16 (the wide Win32 API).

#include <string>
#include <string_view>

namespace spwin {

std::wstring toWide(std::string_view utf8);
std::string toUtf8(std::wstring_view wide);

// A "description|patterns|...||" filter as the open-file dialog takes it: the bars
// become NULs and the list ends with two NULs.
std::wstring openFileFilter(std::string_view pairs);

}  // namespace spwin
