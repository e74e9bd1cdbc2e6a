#include "NumberParser.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "Text.h"

namespace material {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsIgnored(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

// The number scanned from a text, in a form std::from_chars reads.
struct Scan {
    std::string normal;        // "-123.45e-6"
    std::size_t consumed = 0;  // characters of the source used, ignored blanks included
    bool hasDigits = false;
    long long pointShift = 0;  // exponent of the first significant digit, roughly
};

class Scanner {
  public:
    Scanner(std::string_view s, bool skipBlanks) : s_(s), skipBlanks_(skipBlanks) {}

    Scan Run() {
        Scan out;
        if (Peek() == '+' || Peek() == '-') {
            if (Peek() == '-') {
                out.normal += '-';
            }
            Take();
        }
        long long intDigits = 0;
        bool seenNonZero = false;
        long long leadingFraction = 0;
        while (IsDigit(Peek())) {
            out.normal += Take();
            seenNonZero = seenNonZero || out.normal.back() != '0';
            if (seenNonZero) {
                ++intDigits;
            }
            out.hasDigits = true;
        }
        if (Peek() == '.') {
            Take();
            out.normal += '.';
            while (IsDigit(Peek())) {
                const char d = Take();
                out.normal += d;
                if (!seenNonZero && d == '0') {
                    ++leadingFraction;
                }
                seenNonZero = seenNonZero || d != '0';
                out.hasDigits = true;
            }
        }
        out.consumed = pos_;
        if (out.hasDigits) {
            ReadExponent(out);
        }
        out.pointShift = intDigits > 0 ? intDigits : -leadingFraction;
        return out;
    }

  private:
    void ReadExponent(Scan& out) {
        const char e = Peek();
        if (e != 'E' && e != 'e' && e != 'D' && e != 'd') {
            return;
        }
        const std::size_t mark = pos_;
        Take();
        std::string exponent = "e";
        if (Peek() == '+' || Peek() == '-') {
            exponent += Take();
        }
        if (!IsDigit(Peek())) {
            pos_ = mark;  // "1E" alone: the number ends before the letter
            return;
        }
        while (IsDigit(Peek())) {
            exponent += Take();
        }
        out.normal += exponent;
        out.consumed = pos_;
    }

    void SkipIgnored() {
        while (skipBlanks_ && pos_ < s_.size() && IsIgnored(s_[pos_])) {
            ++pos_;
        }
    }
    char Peek() {
        SkipIgnored();
        return pos_ < s_.size() ? s_[pos_] : '\0';
    }
    char Take() { return s_[pos_++]; }

    std::string_view s_;
    bool skipBlanks_;
    std::size_t pos_ = 0;
};

// The value of a scanned number; empty when it overflows a double. A number too small
// for a double reads as zero.
std::optional<double> ValueOf(const Scan& scan) {
    if (!scan.hasDigits) {
        return 0.0;
    }
    double value = 0.0;
    const char* first = scan.normal.data();
    const char* last = first + scan.normal.size();
    const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        const auto e = scan.normal.find('e');
        long long exponent =
            e == std::string::npos ? 0 : std::strtoll(scan.normal.c_str() + e + 1, nullptr, 10);
        exponent = std::clamp(exponent, -100000LL, 100000LL);
        if (scan.pointShift + exponent > 0) {
            return std::nullopt;
        }
        return scan.normal.front() == '-' ? -0.0 : 0.0;
    }
    if (ec != std::errc() || ptr != last || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

NumberParser::NumberParser(std::string decimalSeparator)
    : separator_(std::move(decimalSeparator)) {}

std::string NumberParser::Localised(std::string_view text) const {
    if (separator_ != ",") {
        return std::string(text);
    }
    const auto first = text.find_first_not_of(' ');
    std::string out(first == std::string_view::npos ? std::string_view{} : text.substr(first));
    const auto comma = out.find(',');
    if (comma != std::string::npos) {
        out[comma] = '.';
    }
    return out;
}

std::optional<double> NumberParser::Parse(std::string_view text) const {
    const std::string localised = Localised(text);
    return ValueOf(Scanner(localised, true).Run());
}

std::optional<double> NumberParser::ParseEntry(std::string_view text) const {
    const std::string localised = Localised(text::Trim(text));
    const std::string_view trimmed = text::Trim(localised);
    const Scan scan = Scanner(trimmed, false).Run();
    if (!scan.hasDigits || scan.consumed != trimmed.size()) {
        return std::nullopt;
    }
    return ValueOf(scan);
}

}  // namespace material
