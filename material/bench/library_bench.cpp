// Reading and writing a full library: 1001 materials, every addressable slot set.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "BenchLibrary.h"
#include "data/LibraryFile.h"

using material::bench::HeapBytesInUse;

namespace material {
namespace {

std::vector<clsMaterial> FullLibrary() {
    std::vector<clsMaterial> list;
    list.reserve(kLibraryCapacity);
    for (int i = 0; i < kLibraryCapacity; ++i) {
        clsMaterial& m = list.emplace_back();
        m.setMaterialType(i % 2 == 0 ? "Steels    " : "Polymers    ");
        m.setMaterialName("Material number " + std::to_string(i) + "  ");
        m.setMaterialDescription("A material with every property the browser knows");
        for (PropertySlot s = 0; s <= kLastValueSlot; ++s) {
            if (!clsMaterial::GetNthProperty(s).empty()) {
                m.CopyProperty(clsMaterial::GetNthProperty(s), 1.234567e3 * (s + 1) + i);
            }
        }
    }
    return list;
}

const std::string& FullLibraryText() {
    static const std::string text = [] {
        std::vector<clsMaterial> list = FullLibrary();
        return FormatLibrary(list, NumberCategories(list));
    }();
    return text;
}

void BM_ReadLibrary(benchmark::State& state) {
    const std::string& text = FullLibraryText();
    const NumberParser numbers(".");
    long long bytes = 0;
    for (auto _ : state) {
        const long long before = HeapBytesInUse();
        ReadOutcome outcome = ReadLibraryText(text, numbers);
        bytes = HeapBytesInUse() - before;
        benchmark::DoNotOptimize(outcome.content.materials.data());
    }
    state.counters["library_MB"] = static_cast<double>(bytes) / (1024.0 * 1024.0);
    state.counters["file_MB"] = static_cast<double>(text.size()) / (1024.0 * 1024.0);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_ReadLibrary)->Unit(benchmark::kMillisecond);

void BM_WriteLibrary(benchmark::State& state) {
    std::vector<clsMaterial> list = FullLibrary();
    const std::string path = "bench_write.lib";
    for (auto _ : state) {
        const WriteOutcome out =
            WriteLibrary(path, list, NumberCategories(list), PlatformFileSystem());
        if (!out.written) {
            state.SkipWithError(out.error.Message().c_str());
            break;
        }
    }
    PlatformFileSystem().Remove(path);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(FullLibraryText().size()));
}
BENCHMARK(BM_WriteLibrary)->Unit(benchmark::kMillisecond);

// The text alone, without the file: the part of writing that is ours.
void BM_FormatLibrary(benchmark::State& state) {
    std::vector<clsMaterial> list = FullLibrary();
    for (auto _ : state) {
        std::string text = FormatLibrary(list, NumberCategories(list));
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_FormatLibrary)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace material
