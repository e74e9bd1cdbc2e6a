#include "Registry.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "AnsiText.h"
#include "FilePaths.h"
#include "Text.h"

namespace sysreport {
namespace {

bool isTextType(std::uint32_t type) {
    return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz;
}

std::u16string utf16Units(const std::vector<std::uint8_t>& data) {
    std::u16string units;
    for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
        units += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    }
    return units;
}

// The data as the single-byte query would return it: text converted to the code
// page (its NUL included), anything else unchanged.
std::string singleByteData(const RawRegistryValue& raw) {
    if (isTextType(raw.type)) {
        return toAnsi(utf16ToUtf8(utf16Units(raw.data)));
    }
    return std::string(raw.data.begin(), raw.data.end());
}

// The text query: the data less its last character (the terminating NUL of a
// text value; for other types simply the last byte). A plain or expandable
// string ends at its first NUL, as Windows reads it, so that nothing after a
// stray NUL reaches the report. Empty data reads nothing.
bool textOf(const RawRegistryValue& raw, std::string& text) {
    if (isTextType(raw.type)) {
        std::u16string units = utf16Units(raw.data);
        if (units.empty()) {
            return false;
        }
        units.pop_back();
        if (raw.type != kRegMultiSz) {
            units = units.substr(0, units.find(u'\0'));
        }
        text = utf16ToUtf8(units);
        return true;
    }
    if (raw.data.empty()) {
        return false;
    }
    text = fromAnsi(std::string(raw.data.begin(), raw.data.end() - 1));
    return true;
}

// A fixed-size query: fails with "more data" when the value is larger.
std::int32_t fixedSizeQuery(const RawRegistryValue& raw, std::size_t size, std::uint32_t& out) {
    const std::string bytes = singleByteData(raw);
    if (bytes.size() > size) {
        return kStatusMoreData;
    }
    out = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        out |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) << (8 * i);
    }
    return kStatusSuccess;
}

std::string defaultText(const RegValue& value) {
    return regValueText(value);
}

}  // namespace

std::string regValueText(const RegValue& value) {
    if (const auto* text = std::get_if<std::string>(&value)) {
        return *text;
    }
    if (const auto* number = std::get_if<std::int32_t>(&value)) {
        return std::to_string(*number);
    }
    return std::get<bool>(value) ? "True" : "False";
}

bool parseRegistryRoot(std::string_view name, RegistryRoot& root) {
    static const struct {
        const char* name;
        RegistryRoot root;
    } kRoots[] = {{"hkcu", RegistryRoot::CurrentUser}, {"hklm", RegistryRoot::LocalMachine},
                  {"hku", RegistryRoot::Users},        {"hkcc", RegistryRoot::CurrentConfig},
                  {"hkdd", RegistryRoot::DynData},     {"hkcr", RegistryRoot::ClassesRoot}};
    const std::string lower = asciiLower(name);
    for (const auto& entry : kRoots) {
        if (lower == entry.name) {
            root = entry.root;
            return true;
        }
    }
    return false;
}

RegistryReader::RegistryReader(RegistryBackend& backend, IniFileReader& ini)
    : backend_(backend), ini_(ini) {}

std::int32_t RegistryReader::query(std::string_view rootName, std::string_view key,
                                   std::string_view valueName, std::string_view typeLetter,
                                   const RegValue& defaultValue, RegValue& value) {
    value = defaultValue;
    RegistryRoot root;
    if (!parseRegistryRoot(rootName, root)) {
        const std::string path(rootName);
        if (!path.empty() && ini_.fileExists(path)) {
            return queryIniFile(path, key, valueName, typeLetter, defaultValue, value);
        }
        return kStatusUnknownRoot;
    }
    const std::int32_t opened = backend_.openKey(root, key);
    if (opened != kStatusSuccess) {
        return opened;
    }
    const std::string type = asciiLower(typeLetter);
    if (type != "s" && type != "d" && type != "b") {
        return kStatusSuccess;
    }
    const RawRegistryValue raw = backend_.readValue(root, key, valueName);
    if (raw.status != kStatusSuccess) {
        return raw.status;
    }
    if (type == "s") {
        std::string text;
        if (textOf(raw, text)) {
            value = text;
        }
        return kStatusSuccess;
    }
    std::uint32_t number = 0;
    const std::int32_t status = fixedSizeQuery(raw, type == "d" ? 4 : 2, number);
    if (status == kStatusSuccess) {
        if (type == "d") {
            value = static_cast<std::int32_t>(number);
        } else {
            value = static_cast<std::uint16_t>(number) != 0;
        }
    }
    return status;
}

std::int32_t RegistryReader::existenceTest(std::string_view rootName, std::string_view key) {
    RegValue ignored;
    return query(rootName, key, "", "", RegValue(std::string()), ignored);
}

std::string RegistryReader::text(std::string_view rootName, std::string_view key,
                                 std::string_view valueName) {
    RegValue value;
    query(rootName, key, valueName, "S", RegValue(std::string()), value);
    return regValueText(value);
}

std::int32_t RegistryReader::queryIniFile(const std::string& path, std::string_view section,
                                          std::string_view entry, std::string_view typeLetter,
                                          const RegValue& defaultValue, RegValue& value) {
    std::string text;
    const bool found = ini_.readEntry(path, section, entry, text);
    if (equalsNoCase(typeLetter, "S")) {
        // The entry is read into a 255-character buffer: at most 254 characters fit.
        text = found ? text : defaultText(defaultValue);
        if (text.size() > 254) {
            text.resize(254);
        }
        value = text;
        return static_cast<std::int32_t>(text.size());
    }
    if (!found) {
        return 0;
    }
    return static_cast<std::int32_t>(std::strtol(trimBlanks(text).c_str(), nullptr, 10));
}

namespace {

class PlainIniFileReader : public IniFileReader {
  public:
    bool fileExists(const std::string& path) override {
        std::error_code error;
        return std::filesystem::is_regular_file(pathFromUtf8(path), error);
    }

    bool readEntry(const std::string& path, std::string_view section, std::string_view entry,
                   std::string& text) override {
        std::ifstream file(pathFromUtf8(path), std::ios::binary);
        std::string line;
        bool inSection = false;
        while (std::getline(file, line)) {
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            const std::string trimmed = trimBlanks(line);
            if (!trimmed.empty() && trimmed.front() == '[') {
                const auto close = trimmed.find(']');
                inSection = close != std::string::npos &&
                            equalsNoCase(trimBlanks(trimmed.substr(1, close - 1)), section);
                continue;
            }
            const auto equals = trimmed.find('=');
            if (!inSection || equals == std::string::npos ||
                !equalsNoCase(trimBlanks(trimmed.substr(0, equals)), entry)) {
                continue;
            }
            text = trimBlanks(trimmed.substr(equals + 1));
            if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
                text.back() == text.front()) {
                text = text.substr(1, text.size() - 2);
            }
            return true;
        }
        return false;
    }
};

}  // namespace

std::unique_ptr<IniFileReader> makeIniFileReader() {
    return std::make_unique<PlainIniFileReader>();
}

}  // namespace sysreport
