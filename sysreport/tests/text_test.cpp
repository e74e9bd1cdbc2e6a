// Number forms, escaping, uptime and the code page of the report.
#include <gtest/gtest.h>

#include "AnsiText.h"
#include "SystemFacts.h"
#include "Text.h"

namespace sysreport {
namespace {

TEST(SignedText, PutsABlankInTheSignPosition) {
    EXPECT_EQ(signedText(4), " 4");
    EXPECT_EQ(signedText(0), " 0");
    EXPECT_EQ(signedText(-12), "-12");
}

TEST(SignedSingleText, ColourCountsUseSevenDigitsThenExponentForm) {
    const struct {
        int bits;
        const char* text;
    } cases[] = {{1, " 2"},        {8, " 256"},           {16, " 65536"},
                 {23, " 8388608"}, {24, " 1.677722E+07"}, {32, " 4.294967E+09"}};
    for (const auto& c : cases) {
        EXPECT_EQ(signedSingleText(static_cast<float>(1ull << c.bits)), c.text) << c.bits;
    }
    EXPECT_EQ(signedSingleText(1e7f), " 1E+07");
}

TEST(MegabytesText, RoundsAndNeverOverflows) {
    EXPECT_EQ(megabytesText(0), " 0");
    EXPECT_EQ(megabytesText(1048576ull * 3 / 2), " 2");  // halves round away from zero
    EXPECT_EQ(megabytesText(1048576ull * 3 / 2 - 1), " 1");
    EXPECT_EQ(megabytesText(3ull << 40), " 3145728");  // a 3 TB disk
}

TEST(HtmlEscape, ReplacesTheThreeMarkupCharacters) {
    EXPECT_EQ(htmlEscape("a<b>&c \"d\""), "a&lt;b&gt;&amp;c \"d\"");
    EXPECT_EQ(htmlEscape("C:\\plain"), "C:\\plain");
}

TEST(Uptime, HoursAndMinutesDoNotWrapAfter49Days) {
    const struct {
        std::uint64_t milliseconds;
        int hours;
        int minutes;
    } cases[] = {
        {0, 0, 0},
        {(1 * 3600 + 59 * 60 + 59) * 1000ull, 1, 59},
        {4294967296ull, 1193, 2},             // the point where a 32-bit count wrapped
        {50ull * 24 * 3600 * 1000, 1200, 0},  // 50 days
    };
    for (const auto& c : cases) {
        const Uptime uptime = uptimeFromMilliseconds(c.milliseconds);
        EXPECT_EQ(uptime.hours, c.hours) << c.milliseconds;
        EXPECT_EQ(uptime.minutes, c.minutes) << c.milliseconds;
    }
    EXPECT_EQ(uptimeSentence({1, 59}), "Your system has been running for 1 hours and 59 minutes.");
}

TEST(WindowsClassification, KnowsTheOldLinesAndTheLaterVersions) {
    const struct {
        unsigned major, minor, build, productType;
        const char* text;
    } cases[] = {
        {5, 0, 2195, 1, "Windows 2000"},
        {5, 1, 2600, 1, "Windows XP 32bit"},
        {5, 2, 3790, 1, "Windows XP 64bit"},
        {6, 0, 6002, 1, "Windows Vista 32bit or 64bit"},
        {6, 1, 7601, 1, "Windows 7"},
        {6, 1, 7601, 3, "Windows Server 2008 R2"},
        {6, 2, 9200, 1, "Windows 8"},
        {6, 3, 9600, 1, "Windows 8.1"},
        {6, 3, 9600, 2, "Windows Server 2012 R2"},
        {10, 0, 19045, 1, "Windows 10"},
        {10, 0, 22000, 1, "Windows 11"},
        {10, 0, 26100, 1, "Windows 11"},
        {10, 0, 14393, 3, "Windows Server 2016"},
        {10, 0, 17763, 3, "Windows Server 2019"},
        {10, 0, 20348, 3, "Windows Server 2022"},
        {10, 0, 26100, 3, "Windows Server 2025"},
        {4, 0, 1381, 1, "unknown version"},
        {11, 0, 30000, 1, "unknown version"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(windowsClassification(c.major, c.minor, c.build, c.productType), c.text)
            << c.major << "." << c.minor << " build " << c.build;
    }
}

TEST(AnsiText, UnicodeRoundTripsThroughUtf16) {
    const std::string text = "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80";
    EXPECT_EQ(utf16ToUtf8(utf8ToUtf16(text)), text);
    EXPECT_EQ(utf8ToUtf16("\xC3"), std::u16string(u"\uFFFD"));
}

TEST(AnsiText, ReportCharactersOutsideTheCodePageBecomeReferences) {
    const std::pair<const char*, const char*> cases[] = {
        {"plain ? text", "plain ? text"},
        {"\xE6\x97\xA5\xE6\x9C\xAC", "&#26085;&#26412;"},
        {"x\xF0\x9F\x98\x80y", "x&#128512;y"},
        {"\xE2\x98\xBA", "&#9786;"},
    };
    for (const auto& [utf8, ansi] : cases) {
        EXPECT_EQ(toAnsiHtml(utf8), ansi) << utf8;
    }
}

}  // namespace
}  // namespace sysreport
