#include "Cp1252.h"

#include <array>
#include <cstdio>

namespace material {
namespace {

// Code points of the bytes 0x80-0x9F; 0 where the code page leaves the byte undefined
// (such bytes are carried as the C1 control of the same number).
constexpr std::array<char32_t, 32> kHighBytes = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

// The byte of a code point; empty when the code page has none.
bool ToByte(char32_t codePoint, char& byte) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
        byte = static_cast<char>(codePoint);
        return true;
    }
    for (std::size_t i = 0; i < kHighBytes.size(); ++i) {
        if (kHighBytes[i] == codePoint || (kHighBytes[i] == 0 && codePoint == 0x80 + i)) {
            byte = static_cast<char>(0x80 + i);
            return true;
        }
    }
    return false;
}

char32_t ToCodePoint(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F && kHighBytes[byte - 0x80] != 0) {
        return kHighBytes[byte - 0x80];
    }
    return byte;
}

// Bytes of a UTF-8 sequence that starts with `lead`; 0 for a byte that cannot start one.
std::size_t SequenceLength(unsigned char lead) {
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        return 4;
    }
    return 0;
}

// The code point of the sequence at `utf8[at]` and its length; length 1 and an invalid
// code point for a broken sequence.
char32_t NextCodePoint(std::string_view utf8, std::size_t at, std::size_t& length) {
    constexpr char32_t kBroken = 0xFFFFFFFF;
    const auto lead = static_cast<unsigned char>(utf8[at]);
    length = SequenceLength(lead);
    if (length == 0 || at + length > utf8.size()) {
        length = 1;
        return kBroken;
    }
    char32_t codePoint = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(utf8[at + k]);
        if ((next & 0xC0) != 0x80) {
            length = 1;
            return kBroken;
        }
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    return codePoint;
}

void AppendUtf8(std::string& out, char32_t codePoint) {
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

}  // namespace

EncodedText EncodeLibraryText(std::string_view utf8) {
    EncodedText out;
    out.bytes.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        std::size_t length = 0;
        const char32_t codePoint = NextCodePoint(utf8, at, length);
        char byte = '?';
        if (!ToByte(codePoint, byte) && out.firstUnheld.empty()) {
            out.firstUnheld = std::string(utf8.substr(at, length));
        }
        out.bytes += byte;
        at += length;
    }
    return out;
}

std::string DecodeLibraryText(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        AppendUtf8(out, ToCodePoint(static_cast<unsigned char>(c)));
    }
    return out;
}

std::string CharacterName(std::string_view character) {
    if (character.empty()) {
        return {};
    }
    std::size_t length = 0;
    const char32_t codePoint = NextCodePoint(character, 0, length);
    if (codePoint > 0x10FFFF) {
        return "an unreadable character";
    }
    char digits[16];
    std::snprintf(digits, sizeof digits, "U+%04X", static_cast<unsigned>(codePoint));
    return "the character " + std::string(digits);
}

std::string UnheldCharacterMessage(std::string_view character) {
    return "The text holds " + CharacterName(character) +
           ", which a material library cannot hold. Please type another character.";
}

}  // namespace material
