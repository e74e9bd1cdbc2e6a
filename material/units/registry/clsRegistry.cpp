#include "clsRegistry.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <string_view>
#include <vector>

namespace material {
namespace {

const char kUnitKey[] = "Unit";
const char kPositionValue[] = "BinaryValue";

// Older versions stored the position offset by 5120 in the low word.
constexpr int kLegacyOffset = 5120;
// Text values larger than this are treated as unreadable.
constexpr std::uint32_t kMaxTextBytes = 64 * 1024;

// The whole number a text holds (blanks around it allowed); nothing when it holds
// anything else, so that a damaged text value never passes as a position.
std::optional<long> wholeNumber(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

std::string readText(SettingsKey& key, const std::string& valueName, std::uint32_t size) {
    if (size == 0 || size > kMaxTextBytes) {
        return {};
    }
    std::vector<std::uint8_t> buffer(size);
    std::uint32_t read = 0;
    if (!key.readValue(valueName, buffer, read)) {
        return {};
    }
    const auto end = buffer.begin() + std::min(read, size);
    return std::string(buffer.begin(), std::find(buffer.begin(), end, std::uint8_t{0}));
}

// A binary value is read into a 32-bit variable: shorter data fills its low bytes, longer
// data does not fit and counts as a failing read.
std::string readBinaryNumber(SettingsKey& key, const std::string& valueName) {
    std::array<std::uint8_t, 4> raw{};
    std::uint32_t read = 0;
    if (!key.readValue(valueName, raw, read)) {
        return {};
    }
    int value = static_cast<std::int16_t>(raw[0] | (raw[1] << 8));
    if (value >= kLegacyOffset) {
        value -= kLegacyOffset;
    }
    return std::to_string(value);
}

}  // namespace

clsRegistry::clsRegistry(std::unique_ptr<SettingsStore> store, int unitListEntries)
    : store_(std::move(store)), unitListEntries_(unitListEntries) {}

bool clsRegistry::SetValue(std::int16_t position) {
    if (position < 0 || position > unitListEntries_ || !store_) {
        return false;
    }
    return WriteBinarySetting(*store_, kUnitKey, kPositionValue, std::to_string(position));
}

std::int16_t clsRegistry::GetValue() {
    if (!store_) {
        return 0;
    }
    const auto value = wholeNumber(ReadSetting(*store_, kUnitKey, kPositionValue));
    if (!value || *value < 0) {
        return 0;
    }
    return static_cast<std::int16_t>(*value);
}

bool clsRegistry::DeleteValue() {
    if (!store_) {
        return false;
    }
    const auto key = store_->createKey(kUnitKey);
    return key && key->deleteValue(kPositionValue);
}

std::string clsRegistry::RegQueryStringValue(SettingsKey& key, const std::string& valueName) {
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    if (!key.queryValueInfo(valueName, type, size)) {
        return {};
    }
    switch (type) {
        case kTextValue:
            return readText(key, valueName, size);
        case kBinaryValue:
            return readBinaryNumber(key, valueName);
        default:
            return {};
    }
}

std::string clsRegistry::ReadSetting(SettingsStore& root, const std::string& keyName,
                                     const std::string& valueName) {
    std::string text;
    if (const auto key = root.openKey(keyName)) {
        text = RegQueryStringValue(*key, valueName);
    }
    const auto value = wholeNumber(text);
    if (!value || *value < 0 || *value >= unitListEntries_) {
        WriteBinarySetting(root, keyName, valueName, "0");
        return "0";
    }
    return text;
}

bool clsRegistry::WriteBinarySetting(SettingsStore& root, const std::string& keyName,
                                     const std::string& valueName, const std::string& text) {
    const auto value = wholeNumber(text);
    if (!value || *value < 0 || *value > 255) {
        return false;
    }
    const auto key = root.createKey(keyName);
    if (!key) {
        return false;
    }
    const std::array<std::uint8_t, 4> data{static_cast<std::uint8_t>(*value), 0, 0, 0};
    return key->writeValue(valueName, kBinaryValue, data);
}

clsRegistry& programSettings() {
    static clsRegistry settings;
    return settings;
}

}  // namespace material
