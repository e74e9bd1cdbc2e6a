// Small text helpers shared by the report writer and the surveys.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace sysreport {

// A number with a blank in the sign position when it is not negative (" 4", "-4").
std::string signedText(long long n);

// A single-precision number in the general numeric form with a sign blank: at most
// seven significant digits, exponent form ("1.677722E+07") from 10,000,000 on.
std::string signedSingleText(float value);

// Bytes as megabytes, rounded to a whole number, with a sign blank.
std::string megabytesText(std::uint64_t bytes);

// `&`, `<` and `>` replaced by their HTML entities.
std::string htmlEscape(std::string_view text);

// The part before the first NUL character, or "" when there is none.
std::string textBeforeNul(std::string_view text);

// Bytes as upper-case hexadecimal pairs without separators.
std::string hexBytes(const unsigned char* bytes, std::size_t count);

// Lower-case ASCII copy, for comparisons without regard to case.
std::string asciiLower(std::string_view text);
bool equalsNoCase(std::string_view a, std::string_view b);

// Blanks and tabs removed from both ends.
std::string trimBlanks(std::string_view text);

// Whole hours and the minutes part (0..59) of an uptime in milliseconds.
struct Uptime {
    std::int32_t hours = 0;
    std::int32_t minutes = 0;
};
Uptime uptimeFromMilliseconds(std::uint64_t milliseconds);

// "Your system has been running for H hours and M minutes."
std::string uptimeSentence(const Uptime& uptime);

}  // namespace sysreport
