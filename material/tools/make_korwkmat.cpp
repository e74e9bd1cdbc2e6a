// Writes the sample material library with the browser's own library writer.
// Usage: make_korwkmat <output path>   (the repository keeps it as examples/korwkmat.lib)
#include <cstdio>

#include "SampleLibrary.h"
#include "data/LibraryFile.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output .lib>\n", argv[0]);
        return 2;
    }
    std::vector<material::clsMaterial> materials = material::BuildSampleLibrary();
    const material::WriteOutcome outcome = material::WriteLibrary(
        argv[1], materials, material::NumberCategories(materials), material::PlatformFileSystem());
    if (!outcome.written) {
        std::fprintf(stderr, "%s: %s\n", argv[1], outcome.error.Message().c_str());
        return 1;
    }
    std::printf("%zu materials written to %s\n", materials.size(), argv[1]);
    return 0;
}
