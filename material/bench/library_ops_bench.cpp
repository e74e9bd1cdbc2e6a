// Library operations on a full library (1001 materials): open and fill the tree,
// delete a material, move a material to another category.

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "BenchLibrary.h"
#include "data/library/LibraryController.h"

namespace material {
namespace {

using bench::HeapBytesInUse;

using Bench = bench::QuietLibrary;

std::string KeyOf(const LibraryController& library, int position) {
    const MaterialEntry& e = library.Content().entries[static_cast<std::size_t>(position)];
    return MaterialKey(e.categoryKey, e.nameText, position);
}

void BM_OpenLibrary(benchmark::State& state) {
    Bench bench;
    for (auto _ : state) {
        bench.library.OpenLibrary();
        benchmark::DoNotOptimize(bench.library.Tree().NodeCount());
    }
    if (bench.library.LastPosition() != kLibraryCapacity - 1 ||
        bench.library.Tree().NodeCount() != kLibraryCapacity + 10) {
        state.SkipWithError("the library was not opened whole");
    }
}
BENCHMARK(BM_OpenLibrary)->Unit(benchmark::kMillisecond);

void BM_DeleteMaterial(benchmark::State& state) {
    Bench bench;
    for (auto _ : state) {
        state.PauseTiming();
        bench.library.OpenLibrary();
        bench.library.Tree().Select(KeyOf(bench.library, 500));
        state.ResumeTiming();
        bench.library.DeleteMaterial();
    }
    if (bench.library.LastPosition() != kLibraryCapacity - 2) {
        state.SkipWithError("nothing was deleted");
    }
}
BENCHMARK(BM_DeleteMaterial)->Unit(benchmark::kMillisecond);

void BM_MoveMaterial(benchmark::State& state) {
    Bench bench;
    bench.library.OpenLibrary();
    for (auto _ : state) {
        // The first material goes to the category of the second (always another one).
        bench.library.SetDragSourceKey(KeyOf(bench.library, 0));
        bench.library.MoveMaterial(bench.library.Content().entries[1].categoryKey);
    }
    if (bench.library.Tree().Selected() == nullptr) {
        state.SkipWithError("the moved material is not selected");
    }
}
BENCHMARK(BM_MoveMaterial)->Unit(benchmark::kMillisecond);

void BM_UndoDelete(benchmark::State& state) {
    Bench bench;
    bench.library.OpenLibrary();
    for (auto _ : state) {
        state.PauseTiming();
        bench.library.Tree().Select(KeyOf(bench.library, 500));
        bench.library.DeleteMaterial();
        state.ResumeTiming();
        bench.library.Undo();
    }
    if (bench.library.LastPosition() != kLibraryCapacity - 1 ||
        bench.library.SelectedMaterialPosition() != 500) {
        state.SkipWithError("the deleted material did not come back");
    }
}
BENCHMARK(BM_UndoDelete)->Unit(benchmark::kMillisecond);

// The memory an undo history of 1,000 grid entries holds, as counters: measured on the
// heap, and as the history counts its own steps.
void BM_UndoHistoryOf1000GridEdits(benchmark::State& state) {
    Bench bench;
    bench.library.OpenLibrary();
    long long heap = 0;
    std::size_t counted = 0;
    for (auto _ : state) {
        state.PauseTiming();
        bench.library.OpenLibrary();  // a fresh history
        bench.library.Tree().Select(KeyOf(bench.library, 0));
        const long long before = HeapBytesInUse();
        state.ResumeTiming();
        for (int edit = 0; edit < 1000; ++edit) {
            bench.library.EnterGridValue(1 + edit % 10, std::to_string(edit + 1));
        }
        state.PauseTiming();
        heap = HeapBytesInUse() - before;
        counted = bench.library.History().MemoryBytes();
        state.ResumeTiming();
    }
    if (bench.library.History().StepCount() != 1000) {
        state.SkipWithError("not every entry became a step");
    }
    state.counters["heap_bytes"] = static_cast<double>(heap);
    state.counters["history_bytes"] = static_cast<double>(counted);
}
BENCHMARK(BM_UndoHistoryOf1000GridEdits)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace material
