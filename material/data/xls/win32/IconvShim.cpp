// iconv for the workbook reader over the Windows code-page API (see iconv.h).
#include <windows.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string>

#include "WideText.h"
#include "iconv.h"

struct kt_iconv_converter {
    unsigned codePage;
};

namespace {

constexpr unsigned kAscii = 20127;
constexpr unsigned kUtf16Le = 1200;
constexpr unsigned kMacRoman = 10000;

iconv_t failed(int error) {
    errno = error;
    return reinterpret_cast<iconv_t>(static_cast<std::intptr_t>(-1));
}

size_t refused(int error) {
    errno = error;
    return static_cast<size_t>(-1);
}

bool sameName(const char* name, const char* wanted) {
    return _stricmp(name, wanted) == 0;
}

// "CPnnn" names a Windows code page by its number; 0 for any other name.
unsigned numberedCodePage(const char* name) {
    if (_strnicmp(name, "CP", 2) != 0 || name[2] == '\0') {
        return 0;
    }
    unsigned number = 0;
    for (const char* digit = name + 2; *digit; ++digit) {
        if (*digit < '0' || *digit > '9' || number > 65535) {
            return 0;
        }
        number = number * 10 + static_cast<unsigned>(*digit - '0');
    }
    return number <= 65535 && IsValidCodePage(number) ? number : 0;
}

unsigned codePageNamed(const char* name) {
    if (sameName(name, "ASCII") || sameName(name, "US-ASCII")) {
        return kAscii;
    }
    if (sameName(name, "UTF-16LE")) {
        return kUtf16Le;
    }
    if (sameName(name, "MacRoman") || sameName(name, "MACINTOSH")) {
        return IsValidCodePage(kMacRoman) ? kMacRoman : 0;
    }
    return numberedCodePage(name);
}

// The code page's own decoding would map bytes above 0x7F instead of refusing them.
bool decodeAscii(const char* bytes, std::size_t length, std::wstring& wide) {
    wide.clear();
    for (std::size_t i = 0; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte > 0x7F) {
            return false;
        }
        wide.push_back(static_cast<wchar_t>(byte));
    }
    return true;
}

bool decodeUtf16Le(const char* bytes, std::size_t length, std::wstring& wide) {
    if (length % 2 != 0) {
        return false;
    }
    wide.resize(length / 2);
    for (std::size_t i = 0; i < wide.size(); ++i) {
        const auto low = static_cast<unsigned char>(bytes[2 * i]);
        const auto high = static_cast<unsigned char>(bytes[2 * i + 1]);
        wide[i] = static_cast<wchar_t>(low | (high << 8));
    }
    return true;
}

bool decode(unsigned codePage, const char* bytes, std::size_t length, std::wstring& wide) {
    switch (codePage) {
        case kAscii:
            return decodeAscii(bytes, length, wide);
        case kUtf16Le:
            return decodeUtf16Le(bytes, length, wide);
        default:
            return material::win32::decodeToWide(codePage, bytes, length, wide);
    }
}

}  // namespace

extern "C" iconv_t iconv_open(const char* tocode, const char* fromcode) {
    if (!tocode || !fromcode || !(sameName(tocode, "UTF-8") || sameName(tocode, "UTF8"))) {
        return failed(EINVAL);
    }
    const unsigned codePage = codePageNamed(fromcode);
    if (codePage == 0) {
        return failed(EINVAL);
    }
    return new kt_iconv_converter{codePage};
}

extern "C" size_t iconv(iconv_t converter, char** inbuf, size_t* inbytesleft, char** outbuf,
                        size_t* outbytesleft) {
    if (!converter || converter == reinterpret_cast<iconv_t>(static_cast<std::intptr_t>(-1))) {
        return refused(EBADF);
    }
    // No shift state is kept between calls: resetting it is a no-op.
    if (!inbuf || !*inbuf || !inbytesleft) {
        return 0;
    }
    if (!outbuf || !*outbuf || !outbytesleft) {
        return refused(E2BIG);
    }
    std::wstring wide;
    std::string utf8;
    if (!decode(converter->codePage, *inbuf, *inbytesleft, wide) ||
        !material::win32::encodeUtf8(wide, utf8)) {
        return refused(EILSEQ);
    }
    if (utf8.size() > *outbytesleft) {
        return refused(E2BIG);
    }
    std::memcpy(*outbuf, utf8.data(), utf8.size());
    *inbuf += *inbytesleft;
    *inbytesleft = 0;
    *outbuf += utf8.size();
    *outbytesleft -= utf8.size();
    return 0;
}

extern "C" int iconv_close(iconv_t converter) {
    if (!converter || converter == reinterpret_cast<iconv_t>(static_cast<std::intptr_t>(-1))) {
        errno = EBADF;
        return -1;
    }
    delete converter;
    return 0;
}
