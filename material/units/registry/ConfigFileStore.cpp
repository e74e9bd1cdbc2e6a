#include "ConfigFileStore.h"

#include <cstdlib>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <system_error>
#include <vector>

namespace material {
namespace {

namespace fs = std::filesystem;

const char kHeader[] = "KTSETTINGS 1";
// A key file larger than this is not ours; it reads as damaged.
constexpr std::uintmax_t kMaxFileBytes = 1024 * 1024;

struct StoredValue {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
};
using ValueMap = std::map<std::string, StoredValue>;

std::optional<std::vector<std::uint8_t>> parseHex(const std::string& text) {
    if (text == "-") {
        return std::vector<std::uint8_t>{};
    }
    if (text.empty() || text.size() % 2 != 0) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        unsigned value = 0;
        for (char c : text.substr(i, 2)) {
            const auto digit = std::string_view("0123456789abcdef").find(c);
            if (digit == std::string_view::npos) {
                return std::nullopt;
            }
            value = value * 16 + static_cast<unsigned>(digit);
        }
        bytes.push_back(static_cast<std::uint8_t>(value));
    }
    return bytes;
}

std::string toHex(const std::vector<std::uint8_t>& bytes) {
    if (bytes.empty()) {
        return "-";
    }
    std::string text;
    for (auto byte : bytes) {
        text += "0123456789abcdef"[byte >> 4];
        text += "0123456789abcdef"[byte & 15];
    }
    return text;
}

// "<type> <data> <name>"; the name may be empty or hold blanks.
bool parseLine(const std::string& line, ValueMap& values) {
    const auto typeEnd = line.find(' ');
    const auto dataEnd = typeEnd == std::string::npos ? typeEnd : line.find(' ', typeEnd + 1);
    if (dataEnd == std::string::npos || typeEnd == 0 || typeEnd > 10) {
        return false;
    }
    const std::string typeText = line.substr(0, typeEnd);
    if (typeText.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    auto data = parseHex(line.substr(typeEnd + 1, dataEnd - typeEnd - 1));
    const auto type = std::stoull(typeText);
    if (!data || type > UINT32_MAX) {
        return false;
    }
    values[line.substr(dataEnd + 1)] = {static_cast<std::uint32_t>(type), std::move(*data)};
    return true;
}

// The values of a key file; empty when the file is missing or damaged.
ValueMap loadValues(const fs::path& file) {
    std::error_code error;
    const auto size = fs::file_size(file, error);
    if (error || size > kMaxFileBytes) {
        return {};
    }
    std::ifstream in(file, std::ios::binary);
    std::string line;
    if (!std::getline(in, line) || line != kHeader) {
        return {};
    }
    ValueMap values;
    while (std::getline(in, line)) {
        if (!line.empty() && !parseLine(line, values)) {
            return {};
        }
    }
    return values;
}

std::string uniqueSuffix() {
    std::random_device random;
    return ".tmp" + std::to_string(random()) + std::to_string(random());
}

bool saveValues(const fs::path& file, const ValueMap& values) {
    std::ostringstream text;
    text << kHeader << '\n';
    for (const auto& [name, value] : values) {
        text << value.type << ' ' << toHex(value.data) << ' ' << name << '\n';
    }
    fs::path temporary = file;
    temporary += uniqueSuffix();
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << text.str();
        out.close();
        if (!out) {
            std::error_code ignored;
            fs::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code error;
    fs::rename(temporary, file, error);
    if (error) {
        fs::remove(temporary, error);
        return false;
    }
    return true;
}

bool validValueName(const std::string& name) {
    return name.find_first_of(std::string("\r\n\0", 3)) == std::string::npos;
}

class ConfigFileKey : public SettingsKey {
  public:
    explicit ConfigFileKey(fs::path file) : file_(std::move(file)) {}

    bool queryValueInfo(const std::string& valueName, std::uint32_t& type,
                        std::uint32_t& size) override {
        const auto values = loadValues(file_);
        const auto found = values.find(valueName);
        if (found == values.end()) {
            return false;
        }
        type = found->second.type;
        size = static_cast<std::uint32_t>(found->second.data.size());
        return true;
    }

    bool readValue(const std::string& valueName, std::span<std::uint8_t> buffer,
                   std::uint32_t& size) override {
        const auto values = loadValues(file_);
        const auto found = values.find(valueName);
        if (found == values.end() || found->second.data.size() > buffer.size()) {
            return false;
        }
        const auto& data = found->second.data;
        std::copy(data.begin(), data.end(), buffer.begin());
        size = static_cast<std::uint32_t>(data.size());
        return true;
    }

    bool writeValue(const std::string& valueName, std::uint32_t type,
                    std::span<const std::uint8_t> data) override {
        if (!validValueName(valueName)) {
            return false;
        }
        auto values = loadValues(file_);
        values[valueName] = {type, {data.begin(), data.end()}};
        return saveValues(file_, values);
    }

    bool deleteValue(const std::string& valueName) override {
        auto values = loadValues(file_);
        if (values.erase(valueName) == 0) {
            return false;
        }
        return saveValues(file_, values);
    }

  private:
    fs::path file_;
};

}  // namespace

ConfigFileStore::ConfigFileStore(fs::path folder) : folder_(std::move(folder)) {}

std::optional<fs::path> ConfigFileStore::keyFile(const std::string& keyName) const {
    const bool plainName = !keyName.empty() && keyName != "." && keyName != ".." &&
                           keyName.find_first_of(std::string("/\\:\0", 4)) == std::string::npos;
    if (!plainName || folder_.empty()) {
        return std::nullopt;
    }
    return folder_ / fs::path(keyName);
}

std::unique_ptr<SettingsKey> ConfigFileStore::openKey(const std::string& keyName) {
    const auto file = keyFile(keyName);
    std::error_code error;
    if (!file || !fs::is_regular_file(*file, error)) {
        return nullptr;
    }
    return std::make_unique<ConfigFileKey>(*file);
}

std::unique_ptr<SettingsKey> ConfigFileStore::createKey(const std::string& keyName) {
    const auto file = keyFile(keyName);
    if (!file) {
        return nullptr;
    }
    std::error_code error;
    fs::create_directories(folder_, error);
    if (!fs::is_regular_file(*file, error) && !saveValues(*file, {})) {
        return nullptr;
    }
    return std::make_unique<ConfigFileKey>(*file);
}

std::optional<fs::path> userSettingsFolder() {
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    if (configHome && fs::path(configHome).is_absolute()) {
        return fs::path(configHome) / "korvex-material";
    }
    const char* home = std::getenv("HOME");
    if (home && *home) {
        return fs::path(home) / ".config" / "korvex-material";
    }
    return std::nullopt;
}

}  // namespace material
