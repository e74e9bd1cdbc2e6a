// File-system paths from and to the UTF-8 text used inside the program.
#pragma once

#include <filesystem>
#include <string>

namespace sysreport {

inline std::filesystem::path pathFromUtf8(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

inline std::string pathToUtf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// Separator between the program's folder and the report's name on this platform.
inline constexpr char kPathSeparator[] = {
    static_cast<char>(std::filesystem::path::preferred_separator), '\0'};

}  // namespace sysreport
