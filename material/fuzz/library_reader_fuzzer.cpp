// Reads arbitrary bytes as a library file with both decimal separators; whatever is
// accepted must write out and read back as a library of the same size. The bytes are
// also read behind the opening of a real library, so that most runs get past the
// first-line check into the material and property lines.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
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

const std::string_view kLibraryOpening =
    "MATTYPE:Structural Steel\r\n"
    "MATL:S235JR       : S235JR structural steel       :EN 10025-2\r\n"
    "EX        3046314E1  psi               2141404E0  Kgf/cm^2            21000E7    N/m^2  "
    "         \r\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    RoundTrip(text, material::NumberParser("."));
    RoundTrip(text, material::NumberParser(","));
    std::string behindOpening(kLibraryOpening);
    behindOpening.append(text);
    RoundTrip(behindOpening, material::NumberParser("."));
    return 0;
}
