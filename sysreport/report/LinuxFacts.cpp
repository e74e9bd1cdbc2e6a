#include "LinuxFacts.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <vector>

#include "Text.h"

namespace sysreport {
namespace {

// "6.1.0-18-amd64" -> {"6", "1", "0"}; missing parts are "".
std::vector<std::string> kernelNumbers(const std::string& release) {
    std::vector<std::string> numbers;
    std::string current;
    for (char c : release) {
        if (c >= '0' && c <= '9') {
            current += c;
            continue;
        }
        numbers.push_back(current);
        current.clear();
        if (c != '.' || numbers.size() == 3) {
            break;
        }
    }
    if (!current.empty()) {
        numbers.push_back(current);
    }
    numbers.resize(3);
    return numbers;
}

// The value of "key : value" lines (cpuinfo) or "KEY=value" lines (uevent).
std::string fieldValue(std::string_view text, std::string_view key, char separator) {
    std::istringstream lines{std::string(text)};
    std::string line;
    while (std::getline(lines, line)) {
        const auto at = line.find(separator);
        if (at != std::string::npos && trimBlanks(line.substr(0, at)) == key) {
            std::string value = line.substr(at + 1);
            value.erase(0, value.find_first_not_of(" \t"));
            while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) {
                value.pop_back();
            }
            return value;
        }
    }
    return {};
}

std::string fileText(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return {};
    }
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// "card0", "card1": the adapters themselves, not their connectors ("card0-HDMI-A-1").
bool isAdapterEntry(const std::string& name) {
    return name.rfind("card", 0) == 0 && name.size() > 4 &&
           std::all_of(name.begin() + 4, name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

std::string cpuModelName(std::string_view cpuinfo) {
    // x86 says "model name"; ARM and others name the model or the board otherwise.
    for (const char* key : {"model name", "Model", "cpu model", "Hardware", "cpu"}) {
        std::string value = fieldValue(cpuinfo, key, ':');
        if (!value.empty()) {
            return value;
        }
    }
    return {};
}

std::string osReleasePrettyName(std::string_view osRelease) {
    std::string value = fieldValue(osRelease, "PRETTY_NAME", '=');
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return value;
}

OsVersion linuxOsVersion(const LinuxSystem& system) {
    const std::vector<std::string> numbers = kernelNumbers(system.release);
    OsVersion os;
    os.platform = "Linux ";
    os.version = system.release;
    os.servicePack = system.distribution;
    os.build = numbers[2].empty() ? "0" : numbers[2];
    os.classification = system.kernelBuild.empty() ? system.distribution : system.kernelBuild;
    os.processor =
        system.cpuModel.empty() ? system.machine : system.machine + " (" + system.cpuModel + ")";
    os.processorCount = system.processorCount;
    return os;
}

std::string pciDeviceName(std::string_view pciIds, std::string_view vendor,
                          std::string_view device) {
    const std::string vendorId = asciiLower(vendor);
    const std::string deviceId = asciiLower(device);
    std::string vendorName;
    std::istringstream lines{std::string(pciIds)};
    std::string line;
    while (std::getline(lines, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        const bool deviceLine = line[0] == '\t' && (line.size() < 2 || line[1] != '\t');
        if (!deviceLine && line[0] != '\t') {
            if (!vendorName.empty()) {
                break;  // the vendor's devices are over
            }
            if (asciiLower(line.substr(0, 4)) == vendorId && line.size() > 6) {
                vendorName = line.substr(6);
            }
            continue;
        }
        if (deviceLine && !vendorName.empty() && asciiLower(line.substr(1, 4)) == deviceId &&
            line.size() > 7) {
            return vendorName + " " + line.substr(7);
        }
    }
    return {};
}

GraphicsAdapter drmGraphicsAdapter(const std::filesystem::path& sysFolder,
                                   std::string_view pciIds) {
    std::error_code error;
    std::vector<std::string> cards;
    for (const auto& entry :
         std::filesystem::directory_iterator(sysFolder / "class" / "drm", error)) {
        const std::string name = entry.path().filename().string();
        if (isAdapterEntry(name)) {
            cards.push_back(name);
        }
    }
    std::sort(cards.begin(), cards.end());
    for (const std::string& card : cards) {
        const std::string uevent =
            fileText(sysFolder / "class" / "drm" / card / "device" / "uevent");
        GraphicsAdapter adapter;
        adapter.driver = fieldValue(uevent, "DRIVER", '=');
        const std::string pciId = fieldValue(uevent, "PCI_ID", '=');  // "1AF4:1050"
        if (pciId.size() == 9 && pciId[4] == ':') {
            adapter.name = pciDeviceName(pciIds, pciId.substr(0, 4), pciId.substr(5));
            if (adapter.name.empty()) {
                adapter.name = "PCI " + asciiLower(pciId);
            }
        }
        if (!adapter.name.empty() || !adapter.driver.empty()) {
            return adapter;
        }
    }
    return {};
}

}  // namespace sysreport
