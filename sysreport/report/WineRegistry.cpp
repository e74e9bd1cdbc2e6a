#include "WineRegistry.h"

#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>

#include "AnsiText.h"
#include "FilePaths.h"
#include "Text.h"

namespace sysreport {
namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

char16_t simpleEscape(char c) {
    switch (c) {
        case 'a':
            return u'\a';
        case 'b':
            return u'\b';
        case 'e':
            return 0x1B;
        case 'f':
            return u'\f';
        case 'n':
            return u'\n';
        case 'r':
            return u'\r';
        case 't':
            return u'\t';
        case 'v':
            return u'\v';
        default:
            return static_cast<unsigned char>(c);
    }
}

std::vector<std::uint8_t> utf16Bytes(const std::u16string& units) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(units.size() * 2);
    for (char16_t unit : units) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return bytes;
}

// "01,ab,\n  ff" style byte lists (continuations already joined). An item may carry
// leading zeros ("001") but never exceed one byte: a longer run such as
// "0123456789abcdef" makes the whole list malformed.
std::optional<std::vector<std::uint8_t>> parseHexBytes(std::string_view text) {
    std::vector<std::uint8_t> bytes;
    int pending = -1;
    for (char c : text) {
        const int digit = hexDigit(c);
        if (digit >= 0) {
            pending = pending < 0 ? digit : pending * 16 + digit;
            if (pending > 0xFF) {
                return std::nullopt;
            }
            continue;
        }
        if (c == ',' && pending >= 0) {
            bytes.push_back(static_cast<std::uint8_t>(pending));
            pending = -1;
        }
    }
    if (pending >= 0) {
        bytes.push_back(static_cast<std::uint8_t>(pending));
    }
    return bytes;
}

// A malformed byte list leaves the value as the Wine server loads it: present, with no
// type and no data, so that a prefix reads here as it does for programs inside it.
void setHexData(std::uint32_t type, std::string_view text, RawRegistryValue& value) {
    std::optional<std::vector<std::uint8_t>> bytes = parseHexBytes(text);
    value.type = bytes ? type : kRegNone;
    value.data = bytes ? std::move(*bytes) : std::vector<std::uint8_t>{};
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// The data after "=": a quoted string, str(N):, dword:, hex: or hex(N):.
bool parseData(std::string_view data, RawRegistryValue& value) {
    value.status = kStatusSuccess;
    std::size_t end = 0;
    if (startsWith(data, "\"")) {
        value.type = kRegSz;
        value.data = utf16Bytes(unescapeWineString(data, 1, '"', end) + u'\0');
        return true;
    }
    if (startsWith(data, "str(")) {
        const auto colon = data.find("):\"");
        if (colon == std::string_view::npos) {
            return false;
        }
        value.type = static_cast<std::uint32_t>(
            std::strtoul(std::string(data.substr(4, colon - 4)).c_str(), nullptr, 16));
        value.data = utf16Bytes(unescapeWineString(data, colon + 3, '"', end) + u'\0');
        return true;
    }
    if (startsWith(data, "dword:")) {
        const auto number = static_cast<std::uint32_t>(
            std::strtoul(std::string(data.substr(6)).c_str(), nullptr, 16));
        value.type = kRegDword;
        value.data = {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
                      static_cast<std::uint8_t>(number >> 16),
                      static_cast<std::uint8_t>(number >> 24)};
        return true;
    }
    if (startsWith(data, "hex:")) {
        setHexData(kRegBinary, data.substr(4), value);
        return true;
    }
    if (startsWith(data, "hex(")) {
        const auto close = data.find("):");
        if (close == std::string_view::npos) {
            return false;
        }
        const auto type = static_cast<std::uint32_t>(
            std::strtoul(std::string(data.substr(4, close - 4)).c_str(), nullptr, 16));
        setHexData(type, data.substr(close + 2), value);
        return true;
    }
    return false;
}

}  // namespace

std::u16string unescapeWineString(std::string_view text, std::size_t start, char closing,
                                  std::size_t& end) {
    std::string utf8;  // plain characters, gathered as UTF-8
    std::u16string units;
    auto flush = [&] {
        units += utf8ToUtf16(utf8);
        utf8.clear();
    };
    std::size_t i = start;
    while (i < text.size() && text[i] != closing) {
        if (text[i] != '\\' || i + 1 >= text.size()) {
            utf8 += text[i++];
            continue;
        }
        flush();
        const char c = text[++i];
        if (c == 'x') {
            unsigned value = 0;
            int digits = 0;
            ++i;
            while (digits < 4 && i < text.size() && hexDigit(text[i]) >= 0) {
                value = value * 16 + static_cast<unsigned>(hexDigit(text[i++]));
                ++digits;
            }
            units += static_cast<char16_t>(digits > 0 ? value : 'x');
        } else if (c >= '0' && c <= '7') {
            unsigned value = 0;
            int digits = 0;
            while (digits < 3 && i < text.size() && text[i] >= '0' && text[i] <= '7') {
                value = value * 8 + static_cast<unsigned>(text[i++] - '0');
                ++digits;
            }
            units += static_cast<char16_t>(value);
        } else {
            units += simpleEscape(c);
            ++i;
        }
    }
    flush();
    end = i < text.size() ? i + 1 : i;
    return units;
}

std::string normalisedKeyPath(std::string_view key) {
    std::string out;
    std::size_t start = 0;
    while (start <= key.size()) {
        auto stop = key.find('\\', start);
        if (stop == std::string_view::npos) {
            stop = key.size();
        }
        if (stop > start) {
            if (!out.empty()) {
                out += '\\';
            }
            out += asciiLower(key.substr(start, stop - start));
        }
        start = stop + 1;
    }
    return out;
}

WineRegistryFile WineRegistryFile::parse(std::string_view text) {
    WineRegistryFile file;
    std::string currentKey;
    bool inKey = false;
    std::istringstream lines{std::string(text)};
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty() || line[0] == ';' || line[0] == '#') {
            continue;
        }
        if (line[0] == '[') {
            std::size_t end = 0;
            currentKey = normalisedKeyPath(utf16ToUtf8(unescapeWineString(line, 1, ']', end)));
            inKey = true;
            // Every parent of a listed key exists too.
            for (auto pos = currentKey.find('\\'); pos != std::string::npos;
                 pos = currentKey.find('\\', pos + 1)) {
                file.keys_.insert(currentKey.substr(0, pos));
            }
            file.keys_.insert(currentKey);
            file.values_[currentKey];
            continue;
        }
        if (!inKey || (line[0] != '"' && line[0] != '@')) {
            continue;
        }
        std::string name;
        std::size_t afterName = 1;
        if (line[0] == '"') {
            name = asciiLower(utf16ToUtf8(unescapeWineString(line, 1, '"', afterName)));
        }
        if (afterName >= line.size() || line[afterName] != '=') {
            continue;
        }
        std::string data = line.substr(afterName + 1);
        if (startsWith(data, "hex")) {
            // Long byte lists go on over several lines, each ending with a backslash.
            while (!data.empty() && data.back() == '\\' && std::getline(lines, line)) {
                data.pop_back();
                data += line;
            }
        }
        RawRegistryValue value;
        if (parseData(data, value)) {
            file.values_[currentKey][name] = std::move(value);
        }
    }
    return file;
}

WineRegistryFile WineRegistryFile::load(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(pathFromUtf8(path), error)) {
        return {};
    }
    std::ifstream stream(pathFromUtf8(path), std::ios::binary);
    if (!stream) {
        return {};
    }
    std::ostringstream text;
    text << stream.rdbuf();
    return parse(text.str());
}

bool WineRegistryFile::hasKey(std::string_view key) const {
    const std::string path = normalisedKeyPath(key);
    return path.empty() ? !keys_.empty() : keys_.count(path) != 0;
}

RawRegistryValue WineRegistryFile::value(std::string_view key, std::string_view valueName) const {
    const auto values = values_.find(normalisedKeyPath(key));
    if (values == values_.end()) {
        return {};
    }
    const auto found = values->second.find(asciiLower(valueName));
    return found == values->second.end() ? RawRegistryValue{} : found->second;
}

WineRegistryBackend::WineRegistryBackend(std::string prefixFolder)
    : prefixFolder_(std::move(prefixFolder)) {
    refresh();
}

void WineRegistryBackend::refresh() {
    if (prefixFolder_.empty()) {
        return;
    }
    const std::string machinePath = prefixFolder_ + "/system.reg";
    const std::string userPath = prefixFolder_ + "/user.reg";
    std::error_code error;
    prefixFound_ = std::filesystem::is_regular_file(pathFromUtf8(machinePath), error) ||
                   std::filesystem::is_regular_file(pathFromUtf8(userPath), error);
    machine_ = WineRegistryFile::load(machinePath);
    user_ = WineRegistryFile::load(userPath);
}

std::string WineRegistryBackend::sourceDescription() const {
    if (prefixFound_) {
        return "Wine prefix " + prefixFolder_;
    }
    if (prefixFolder_.empty()) {
        return "no Wine prefix found";
    }
    return "no Wine prefix found in " + prefixFolder_;
}

WineRegistryBackend::WineRegistryBackend(WineRegistryFile machine, WineRegistryFile user)
    : machine_(std::move(machine)), user_(std::move(user)) {}

const WineRegistryFile* WineRegistryBackend::fileFor(RegistryRoot root, std::string& key) const {
    switch (root) {
        case RegistryRoot::LocalMachine:
            return &machine_;
        case RegistryRoot::CurrentUser:
            return &user_;
        case RegistryRoot::ClassesRoot:
            key = "Software\\Classes\\" + key;
            return &machine_;
        default:
            return nullptr;  // the prefix keeps no other root in these two files
    }
}

std::int32_t WineRegistryBackend::openKey(RegistryRoot root, std::string_view key) {
    std::string path(key);
    const WineRegistryFile* file = fileFor(root, path);
    if (file == nullptr) {
        return kStatusNotFound;
    }
    // The root itself always opens, even in an empty prefix.
    if (normalisedKeyPath(path).empty()) {
        return kStatusSuccess;
    }
    return file->hasKey(path) ? kStatusSuccess : kStatusNotFound;
}

RawRegistryValue WineRegistryBackend::readValue(RegistryRoot root, std::string_view key,
                                                std::string_view valueName) {
    std::string path(key);
    const WineRegistryFile* file = fileFor(root, path);
    return file == nullptr ? RawRegistryValue{} : file->value(path, valueName);
}

std::string defaultWinePrefix() {
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix != nullptr && *prefix != '\0') {
        return prefix;
    }
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return std::string(home) + "/.wine";
    }
    return {};
}

}  // namespace sysreport
