// Feeds arbitrary text to the Wine registry file parser and reads back from it.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "Registry.h"
#include "WineRegistry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto file = sysreport::WineRegistryFile::parse(text);
    for (const auto& [key, values] : file.values()) {
        file.hasKey(key);
        for (const auto& [name, value] : values) {
            file.value(key, name);
        }
    }
    sysreport::WineRegistryBackend backend(file, file);
    auto ini = sysreport::makeIniFileReader();
    sysreport::RegistryReader reader(backend, *ini);
    for (const char* type : {"S", "D", "B"}) {
        for (const auto& [key, values] : file.values()) {
            for (const auto& [name, value] : values) {
                sysreport::RegValue out;
                reader.query("HKLM", key, name, type, std::string(), out);
            }
        }
    }
    return 0;
}
