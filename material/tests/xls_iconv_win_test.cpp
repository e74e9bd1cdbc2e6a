// The iconv the Windows build's workbook reader runs on, and its UTF-8 fopen (Windows
// only: Linux uses the C library's own).

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <string>
#include <vector>

#include "Utf8FileOpen.h"
#include "iconv.h"

namespace {

const iconv_t kFailed = reinterpret_cast<iconv_t>(static_cast<std::intptr_t>(-1));

struct Conversion {
    std::size_t result;
    int error;
    std::string output;
    std::size_t inputLeft;
};

Conversion convert(const char* from, const std::string& input, std::size_t room = 256) {
    const iconv_t converter = iconv_open("UTF-8", from);
    EXPECT_NE(converter, kFailed) << from;
    if (converter == kFailed) {
        return {};
    }
    std::string in = input;
    std::vector<char> out(room);
    char* inPointer = in.data();
    char* outPointer = out.data();
    std::size_t inLeft = in.size();
    std::size_t outLeft = out.size();
    errno = 0;
    const std::size_t result = iconv(converter, &inPointer, &inLeft, &outPointer, &outLeft);
    const int error = errno;
    EXPECT_EQ(iconv_close(converter), 0);
    // Whatever the outcome, the pointers and counts move together.
    EXPECT_EQ(inPointer - in.data(), static_cast<std::ptrdiff_t>(in.size() - inLeft));
    EXPECT_EQ(outPointer - out.data(), static_cast<std::ptrdiff_t>(room - outLeft));
    return {result, error, std::string(out.data(), outPointer), inLeft};
}

TEST(WorkbookIconv, ConvertsEachKindOfSourceToUtf8) {
    struct Case {
        const char* from;
        std::string input;
        std::string utf8;
    };
    const std::vector<Case> cases = {
        {"ASCII", "Steel 4340", "Steel 4340"},
        {"UTF-16LE", std::string("A\0\xAC\x20", 4), "A\xE2\x82\xAC"},
        {"UTF-16LE", std::string("\x3D\xD8\x00\xDE", 4), "\xF0\x9F\x98\x80"},  // a surrogate pair
        {"CP1252", "\x80\xC4\xB5", "\xE2\x82\xAC\xC3\x84\xC2\xB5"},
        {"CP1250", "\x8A", "\xC5\xA0"},
        {"CP1251", "\xC0", "\xD0\x90"},
        {"CP1253", "\xC1", "\xCE\x91"},
        {"CP1255", "\xE0", "\xD7\x90"},
        {"CP437", "\x81", "\xC3\xBC"},
        {"CP866", "\x80", "\xD0\x90"},
        {"CP932", "\x82\xA0", "\xE3\x81\x82"},
        {"CP936", "\xC4\xE3", "\xE4\xBD\xA0"},
        {"CP949", "\xB0\xA1", "\xEA\xB0\x80"},
        {"CP950", "\xA4\xA4", "\xE4\xB8\xAD"},
        {"MacRoman", "\x80", "\xC3\x84"},
        {"cp1252", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.from);
        const Conversion done = convert(c.from, c.input);
        EXPECT_EQ(done.result, 0u);
        EXPECT_EQ(done.output, c.utf8);
        EXPECT_EQ(done.inputLeft, 0u);
    }
}

TEST(WorkbookIconv, RefusesInvalidInputAndTooLittleRoomWithoutWriting) {
    struct Case {
        const char* what;
        const char* from;
        std::string input;
        std::size_t room;
        int error;
    };
    const std::vector<Case> cases = {
        {"byte above 0x7F in ASCII", "ASCII", "Stahl \xC4", 256, EILSEQ},
        {"lead byte without its trail byte", "CP932", "ab\x82", 256, EILSEQ},
        {"odd number of UTF-16 bytes", "UTF-16LE", "A\0B", 256, EILSEQ},
        {"lone high surrogate", "UTF-16LE", "\x3D\xD8", 256, EILSEQ},
        {"lone low surrogate", "UTF-16LE", std::string("\x00\xDEx\0", 4), 256, EILSEQ},
        {"output one byte short", "CP1252", "\x80", 2, E2BIG},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Conversion done = convert(c.from, c.input, c.room);
        EXPECT_EQ(done.result, static_cast<std::size_t>(-1));
        EXPECT_EQ(done.error, c.error);
        EXPECT_EQ(done.output, "");
        EXPECT_EQ(done.inputLeft, c.input.size());
    }
}

TEST(WorkbookIconv, OpensEveryEncodingAWorkbookCanNameAndNoOther) {
    // The names the reader asks for, from a workbook's CODEPAGE record.
    for (const char* name :
         {"ASCII",    "CP437",  "CP737",  "CP775",  "CP850",   "CP852",  "CP855",
          "CP857",    "CP860",  "CP861",  "CP862",  "CP863",   "CP864",  "CP865",
          "CP866",    "CP869",  "CP874",  "CP932",  "CP936",   "CP949",  "CP950",
          "UTF-16LE", "CP1250", "CP1251", "CP1252", "CP1253",  "CP1254", "CP1255",
          "CP1256",   "CP1257", "CP1258", "CP1361", "MacRoman"}) {
        const iconv_t converter = iconv_open("UTF-8", name);
        EXPECT_NE(converter, kFailed) << name;
        if (converter != kFailed) {
            iconv_close(converter);
        }
    }
    const std::vector<std::pair<const char*, const char*>> refused = {
        {"UTF-16LE", "CP1252"}, {"UTF-8", "CP"},     {"UTF-8", "CP12a"},
        {"UTF-8", "CP99999"},   {"UTF-8", "EBCDIC"}, {"UTF-8", ""},
    };
    for (const auto& [to, from] : refused) {
        errno = 0;
        EXPECT_EQ(iconv_open(to, from), kFailed) << to << " from " << from;
        EXPECT_EQ(errno, EINVAL);
    }
}

TEST(WorkbookIconv, ResettingTheStateConvertsNothing) {
    const iconv_t converter = iconv_open("UTF-8", "CP1252");
    ASSERT_NE(converter, kFailed);
    EXPECT_EQ(iconv(converter, nullptr, nullptr, nullptr, nullptr), 0u);
    EXPECT_EQ(iconv_close(converter), 0);
}

TEST(WorkbookFileOpen, RefusesAPathThatIsNotUtf8) {
    errno = 0;
    EXPECT_EQ(kt_fopen_utf8("C:\\bad \xC4.xls", "rb"), nullptr);
    EXPECT_EQ(errno, EINVAL);
}

}  // namespace
