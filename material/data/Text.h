#pragma once
// Small text helpers for the single-byte (Windows-1252) text the data core keeps.
// One byte is one character, so column positions are byte positions.

#include <string>
#include <string_view>

namespace material::text {

// Removes leading and trailing blanks (spaces only).
inline std::string_view Trim(std::string_view s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

inline std::string_view TrimRight(std::string_view s) {
    const auto last = s.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string_view{} : s.substr(0, last + 1);
}

// `s` filled with blanks on the right up to `width`; a longer text stays whole.
inline std::string PadRight(std::string_view s, std::size_t width) {
    std::string out(s);
    if (out.size() < width) {
        out.append(width - out.size(), ' ');
    }
    return out;
}

// Like VB's Mid$: up to `count` characters from the 1-based column `column`.
inline std::string_view Columns(std::string_view s, std::size_t column, std::size_t count) {
    if (column - 1 >= s.size()) {
        return {};
    }
    return s.substr(column - 1, count);
}

// Upper case of a Windows-1252 letter; other bytes unchanged.
inline unsigned char UpperCp1252(unsigned char c) {
    if (c >= 'a' && c <= 'z') {
        return static_cast<unsigned char>(c - 32);
    }
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) {  // a-grave .. thorn, without the division sign
        return static_cast<unsigned char>(c - 32);
    }
    switch (c) {
        case 0x9A:  // s caron
        case 0x9C:  // oe
        case 0x9E:  // z caron
            return static_cast<unsigned char>(c - 0x10);
        case 0xFF:  // y diaeresis
            return 0x9F;
        default:
            return c;
    }
}

// Equality without regard to letter case.
inline bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (UpperCp1252(static_cast<unsigned char>(a[i])) !=
            UpperCp1252(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

inline bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && EqualNoCase(s.substr(0, prefix.size()), prefix);
}

}  // namespace material::text
