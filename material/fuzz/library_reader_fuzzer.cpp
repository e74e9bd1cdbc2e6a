// Reads arbitrary bytes as a library file with both decimal separators; whatever is
// accepted must write out and read back as a library of the same size.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "data/LibraryFile.h"

namespace {

void RoundTrip(std::string_view text, const material::NumberParser& numbers) {
    material::ReadOutcome first = material::ReadLibraryText(text, numbers);
    if (!first.accepted) {
        return;
    }
    auto& materials = first.content.materials;
    const std::string written =
        material::FormatLibrary(materials, material::NumberCategories(materials));
    const material::ReadOutcome second = material::ReadLibraryText(written, numbers);
    if (!second.accepted || second.content.materials.size() != materials.size()) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    RoundTrip(text, material::NumberParser("."));
    RoundTrip(text, material::NumberParser(","));
    return 0;
}
