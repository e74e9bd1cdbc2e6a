// Windows-1252, the single-byte code page the report uses on Linux.
#include "AnsiText.h"

namespace sysreport {
namespace {

// Code points of the bytes 0x80..0x9F; 0 marks the five unassigned bytes.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char16_t codePointOfByte(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) {
        const char16_t c = kHighControls[byte - 0x80];
        return c != 0 ? c : byte;  // unassigned bytes map to the C1 controls, as Windows does
    }
    return byte;
}

char byteOfCodePoint(char16_t c) {
    char byte = '?';
    ansiByteOf(c, byte);
    return byte;
}

}  // namespace

bool ansiByteOf(char16_t c, char& byte) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        byte = static_cast<char>(c);
        return true;
    }
    for (int i = 0; i < 32; ++i) {
        if (codePointOfByte(static_cast<unsigned char>(0x80 + i)) == c) {
            byte = static_cast<char>(0x80 + i);
            return true;
        }
    }
    return false;
}

std::string toAnsi(std::string_view utf8) {
    const std::u16string wide = utf8ToUtf16(utf8);
    std::string out;
    out.reserve(wide.size());
    for (std::size_t i = 0; i < wide.size(); ++i) {
        const char16_t c = wide[i];
        if (c >= 0xD800 && c <= 0xDBFF) {
            ++i;  // a character outside the basic plane takes one "?"
            out += '?';
            continue;
        }
        out += byteOfCodePoint(c);
    }
    return out;
}

std::string fromAnsi(std::string_view ansi) {
    std::u16string wide;
    wide.reserve(ansi.size());
    for (char c : ansi) {
        wide += codePointOfByte(static_cast<unsigned char>(c));
    }
    return utf16ToUtf8(wide);
}

}  // namespace sysreport
