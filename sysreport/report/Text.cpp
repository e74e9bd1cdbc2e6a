#include "Text.h"

#include <cmath>
#include <cstdio>

namespace sysreport {

std::string signedText(long long n) {
    std::string text = n < 0 ? "" : " ";
    text += std::to_string(n);
    return text;
}

namespace {

// Mantissa digits without trailing zeros ("1.500000" -> "1.5", "2.000000" -> "2").
std::string trimFraction(std::string mantissa) {
    if (mantissa.find('.') == std::string::npos) {
        return mantissa;
    }
    while (!mantissa.empty() && mantissa.back() == '0') {
        mantissa.pop_back();
    }
    if (!mantissa.empty() && mantissa.back() == '.') {
        mantissa.pop_back();
    }
    return mantissa;
}

}  // namespace

std::string signedSingleText(float value) {
    const double v = value;
    const double magnitude = std::fabs(v);
    char buffer[64];
    std::string text;
    if (magnitude != 0.0 && (magnitude >= 1e7 || magnitude < 1e-2)) {
        std::snprintf(buffer, sizeof buffer, "%.6E", magnitude);
        const std::string all = buffer;
        const auto e = all.find('E');
        text = trimFraction(all.substr(0, e)) + all.substr(e);
    } else {
        std::snprintf(buffer, sizeof buffer, "%.7G", magnitude);
        text = trimFraction(buffer);
    }
    return (v < 0 ? "-" : " ") + text;
}

std::string megabytesText(std::uint64_t bytes) {
    return signedText(std::llround(static_cast<double>(bytes) / 1048576.0));
}

std::string htmlEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string textBeforeNul(std::string_view text) {
    const auto nul = text.find('\0');
    return nul == std::string_view::npos ? std::string() : std::string(text.substr(0, nul));
}

std::string hexBytes(const unsigned char* bytes, std::size_t count) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (std::size_t i = 0; i < count; ++i) {
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 0x0F];
    }
    return out;
}

std::string asciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && asciiLower(a) == asciiLower(b);
}

std::string trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

Uptime uptimeFromMilliseconds(std::uint64_t milliseconds) {
    Uptime uptime;
    uptime.hours = static_cast<std::int32_t>(milliseconds / 3600000u);
    uptime.minutes = static_cast<std::int32_t>((milliseconds / 60000u) % 60u);
    return uptime;
}

std::string uptimeSentence(const Uptime& uptime) {
    return "Your system has been running for " + std::to_string(uptime.hours) + " hours and " +
           std::to_string(uptime.minutes) + " minutes.";
}

}  // namespace sysreport
