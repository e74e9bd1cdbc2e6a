// A fuzz target with faults on purpose, kept out of the fuzzing runs: the input "ubsan"
// overflows a signed integer, "asan" reads past a heap block. It shows that every
// sanitizer report stops a fuzzer built with the fuzz flags and fails the CI script.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace {

// Opaque to the optimiser, so that the faults happen at run time.
volatile int gFactor = 16;
volatile std::size_t gIndex = 8;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    if (input == "ubsan") {
        int value = 385875968;
        value *= gFactor;
        return value == 0 ? 1 : 0;
    }
    if (input == "asan") {
        const auto block = std::make_unique<char[]>(8);
        return block[gIndex];
    }
    return 0;
}
