#include <string_view>

#include "CommandLine.h"
#include "Text.h"

namespace sysreport::cli {
namespace {

constexpr const char* kRuleText = "----------------------------------------";

std::string decodeEntity(std::string_view entity) {
    if (entity == "lt") {
        return "<";
    }
    if (entity == "gt") {
        return ">";
    }
    if (entity == "amp") {
        return "&";
    }
    if (entity == "quot") {
        return "\"";
    }
    if (entity.size() > 1 && entity[0] == '#') {
        const unsigned long code = std::stoul(std::string(entity.substr(1)));
        std::string utf8;
        if (code > 0x10FFFF) {
            utf8 = "?";
        } else if (code < 0x80) {
            utf8 += static_cast<char>(code);
        } else if (code < 0x800) {
            utf8 += static_cast<char>(0xC0 | (code >> 6));
            utf8 += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            utf8 += static_cast<char>(0xE0 | (code >> 12));
            utf8 += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            utf8 += static_cast<char>(0xF0 | (code >> 18));
            utf8 += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            utf8 += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (code & 0x3F));
        }
        return utf8;
    }
    // Built by appending: GCC 12 misreads "&" + std::string as an overlapping copy.
    std::string kept(1, '&');
    kept.append(entity);
    kept += ';';
    return kept;
}

bool isNumericEntity(std::string_view entity) {
    if (entity.size() < 2 || entity.size() > 8 || entity[0] != '#') {
        return false;
    }
    for (char c : entity.substr(1)) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

// One line of the report without its tags, entities resolved.
std::string withoutMarkup(std::string_view line) {
    std::string text;
    bool startedWithTag = !line.empty() && line[0] == '<';
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '<') {
            const auto close = line.find('>', i);
            if (close != std::string_view::npos) {
                i = close;
                continue;
            }
        }
        if (line[i] == '&') {
            const auto semicolon = line.find(';', i);
            if (semicolon != std::string_view::npos && semicolon - i <= 9) {
                const std::string_view entity = line.substr(i + 1, semicolon - i - 1);
                if (entity == "lt" || entity == "gt" || entity == "amp" || entity == "quot" ||
                    isNumericEntity(entity)) {
                    text += decodeEntity(entity);
                    i = semicolon;
                    continue;
                }
            }
        }
        text += line[i];
    }
    // A heading's text may start after the blank that followed its image.
    if (startedWithTag && !text.empty() && text[0] == ' ' && text.find_first_not_of(' ') < 2) {
        text.erase(0, 1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.pop_back();
    }
    return text;
}

}  // namespace

std::string reportAsPlainText(const std::string& html) {
    std::string out;
    bool inHead = false;
    int emptyRun = 0;
    std::size_t start = 0;
    while (start < html.size()) {
        auto end = html.find('\n', start);
        if (end == std::string::npos) {
            end = html.size();
        }
        std::string_view line(html.data() + start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line == "<head>") {
            inHead = true;
        }
        if (inHead) {
            inHead = line != "</head>";
            continue;
        }
        const std::string text = line.rfind("<hr", 0) == 0 ? kRuleText : withoutMarkup(line);
        if (text.empty()) {
            // Runs of empty lines shrink to one.
            if (++emptyRun > 1 || out.empty()) {
                continue;
            }
        } else {
            emptyRun = 0;
        }
        out += text;
        out += '\n';
    }
    while (out.size() >= 2 && out.compare(out.size() - 2, 2, "\n\n") == 0) {
        out.pop_back();
    }
    return out;
}

}  // namespace sysreport::cli
