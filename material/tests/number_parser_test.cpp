#include <gtest/gtest.h>

#include <clocale>
#include <optional>
#include <string>

#include "data/DecimalSeparator.h"
#include "data/NumberParser.h"

namespace material {
namespace {

struct ParseCase {
    const char* separator;
    const char* text;
    std::optional<double> value;
};

TEST(NumberParserTest, ParseLeniently) {
    const ParseCase cases[] = {
        {".", "2.07E+11", 2.07e11},
        {".", "   20700E7    N/m^2", 2.07e11},
        {".", "1.5D3", 1500},
        {".", "1 2 3", 123},  // blanks inside are ignored
        {".", "\t-4.5\n", -4.5},
        {".", "+.5", 0.5},
        {".", "7E", 7},
        {".", "7E+x", 7},
        {".", "abc", 0},
        {".", "", 0},
        {".", "1,5", 1},  // with "." the comma ends the number
        {",", "1,5", 1.5},
        {",", "   2.5E+3", 2500},
        {",", "1,5,7", 1.5},
        {"", "1.5", 1.5},
        {".", "1E999", std::nullopt},  // beyond a double: unreadable
        {".", "-1E999", std::nullopt},
        {".", "123456E304", std::nullopt},
        {".", "1E-999", 0},  // too small: zero
        {".", "0E99999999999999999999", 0},
        {".", "1E99999999999999999999", std::nullopt},
        {".", "1.7976931348623157E308", 1.7976931348623157e308},
    };
    for (const ParseCase& c : cases) {
        EXPECT_EQ(NumberParser(c.separator).Parse(c.text), c.value)
            << "'" << c.text << "' sep '" << c.separator << "'";
    }
}

TEST(NumberParserTest, ParseEntryWantsOneWholeNumber) {
    const ParseCase cases[] = {
        {".", " 2.5 ", 2.5},          {".", "-3E-2", -0.03},      {".", "4D2", 400},
        {".", "", std::nullopt},      {".", "  ", std::nullopt},  {".", "1 2", std::nullopt},
        {".", "1,5", std::nullopt},   {".", "5kg", std::nullopt}, {".", ".", std::nullopt},
        {".", "1E999", std::nullopt}, {",", "1,5", 1.5},          {",", "1.5", 1.5},
        {",", "1,5,5", std::nullopt},
    };
    for (const ParseCase& c : cases) {
        EXPECT_EQ(NumberParser(c.separator).ParseEntry(c.text), c.value)
            << "'" << c.text << "' sep '" << c.separator << "'";
    }
}

TEST(DecimalSeparatorTest, UserLocaleIsReadWithoutChangingTheProcessLocale) {
    const std::string before = std::setlocale(LC_ALL, nullptr);
    const std::string separator = UserLocaleDecimalSeparator().ReadDecimalSeparator();
    EXPECT_FALSE(separator.empty());
    EXPECT_EQ(std::setlocale(LC_ALL, nullptr), before);
}

}  // namespace
}  // namespace material
