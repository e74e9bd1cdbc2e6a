// Destroying every product item of a large document in place: the time must not
// grow with the file, and the bytes written must stay close to the data freed.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "CompoundFile.h"
#include "cfb_writer.h"

namespace {

using cfbtest::Node;
using cfbtest::storage;

Node filled(std::u16string name, std::size_t size) {
    return cfbtest::stream(std::move(name), std::vector<std::uint8_t>(size, 0x5A));
}

Node bulk(std::u16string name, std::uint64_t size, std::uint8_t seed) {
    Node n = cfbtest::stream(std::move(name), std::vector<std::uint8_t>{});
    n.generatedSize = size;
    n.seed = seed;
    return n;
}

// A few large streams plus about 200 KB of items of all five products.
Node documentOf(std::uint64_t totalBytes) {
    const std::uint64_t third = (totalBytes - 300 * 1024) / 3;
    Node root = storage(u"Root Entry");
    root.children = {
        bulk(u"Body1", third, 1),
        bulk(u"Body2", third, 2),
        bulk(u"Body3", third, 3),
        filled(u"Summary", 500),
        storage(u"ThirdPtyStore",
                {storage(u"Korworks",
                         {storage(u"Study 1", {filled(u"Results", 40000), filled(u"Mesh", 20000),
                                               filled(u"Setup", 800)}),
                          filled(u"Config", 300)}),
                 filled(u"KorworksCommon", 2000), filled(u"KorvexQuiklet", 20000),
                 storage(u"0994155B-AA3F-4edb-AC0E-F92608",
                         {filled(u"Data", 15000), filled(u"Small", 500)}),
                 filled(u"32952DE6-9CEC-411d-83A6-BAAF76", 15000), filled(u"MDI_DDMPL", 10000),
                 filled(u"MDI_DDMPL3", 10000), filled(u"MSC_MOTION_LOAD_1", 5000),
                 filled(u"KMMotionLoadMapU", 1000), filled(u"Animator__ZLB", 2000),
                 filled(u"KM_MOTION_LOAD_1", 8000), filled(u"KM_MOTION_LOAD_2", 8000),
                 filled(u"KM_MOTION_LOAD_3", 8000), filled(u"KM_MOTION_LOAD_4", 8000),
                 filled(u"KM_MOTION_LOAD_5", 8000), filled(u"Keep", 1000)}),
        storage(u"ThirdPty", {filled(u"SUSTAINABILITY2010FULL", 20000),
                              filled(u"KM_MOTION_LOAD_1", 3000), filled(u"Other", 700)}),
    };
    return root;
}

const std::u16string kNamedItems[] = {u"KorvexQuiklet",
                                      u"Korworks",
                                      u"0994155B-AA3F-4edb-AC0E-F92608",
                                      u"32952DE6-9CEC-411d-83A6-BAAF76",
                                      u"MDI_DDMPL",
                                      u"MDI_DDMPL3",
                                      u"MSC_MOTION_LOAD_1",
                                      u"KMMotionLoadMapU",
                                      u"Animator__ZLB",
                                      u"SUSTAINABILITY2010FULL"};

// Bytes an element holds in whole sectors (mini sectors below the cutoff).
std::uint64_t allocated(cfb::CompoundFile& file, const cfb::EntryInfo& e, std::uint64_t sector) {
    if (e.type == cfb::EntryType::Stream) {
        const std::uint64_t unit = e.size < 4096 ? 64 : sector;
        return (e.size + unit - 1) / unit * unit;
    }
    std::uint64_t sum = 0;
    for (const auto& child : file.children(e.id)) {
        sum += allocated(file, child, sector);
    }
    return sum;
}

// The purge with every product ticked; returns the bytes freed.
std::uint64_t destroyProductItems(cfb::CompoundFile& file, std::uint64_t sector) {
    std::uint64_t freed = 0;
    std::string error;
    for (const char16_t* sub : {u"ThirdPtyStore", u"ThirdPty"}) {
        const auto s = file.find(cfb::CompoundFile::kRootId, sub);
        if (!s) {
            continue;
        }
        std::vector<std::u16string> victims(std::begin(kNamedItems), std::end(kNamedItems));
        for (const auto& child : file.children(s->id)) {
            if (child.type == cfb::EntryType::Stream &&
                child.name.find(u"KM_MOTION_LOAD_") != std::u16string::npos) {
                victims.push_back(child.name);
            }
        }
        for (const auto& name : victims) {
            if (const auto e = file.find(s->id, name)) {
                freed += allocated(file, *e, sector);
                if (!file.destroy(s->id, name, error)) {
                    std::fprintf(stderr, "destroy failed: %s\n", error.c_str());
                    std::abort();
                }
            }
        }
    }
    return freed;
}

std::string benchFolder() {
    const char* folder = std::getenv("KT_BENCH_DIR");
    return folder ? folder : "/tmp";
}

void BM_PurgeInPlace(benchmark::State& state) {
    const std::uint64_t megabytes = static_cast<std::uint64_t>(state.range(0));
    const auto version = static_cast<std::uint16_t>(state.range(1));
    const std::string path = benchFolder() + "/cfb_bench_" + std::to_string(::getpid()) + "_" +
                             std::to_string(megabytes) + "_v" + std::to_string(version) + ".pldprt";
    const Node document = documentOf(megabytes << 20);
    cfbtest::WriteOptions options;
    options.majorVersion = version;
    cfbtest::Layout layout;
    std::string error;
    if (!cfbtest::writeCompoundFile(path, document, options, layout, error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    // Each round restores the structures and items; the bulk data never changes.
    options.skipGeneratedData = true;
    std::uint64_t written = 0;
    std::uint64_t freed = 0;
    double openSeconds = 0;
    double worstSeconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        cfbtest::writeCompoundFile(path, document, options, layout, error);
        const auto openStart = std::chrono::steady_clock::now();
        auto file = cfb::CompoundFile::open(path, error);
        const auto opened = std::chrono::steady_clock::now();
        openSeconds += std::chrono::duration<double>(opened - openStart).count();
        if (!file) {
            state.SkipWithError(error.c_str());
            break;
        }
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        freed += destroyProductItems(*file, layout.sectorSize);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.PauseTiming();
        worstSeconds = std::max(worstSeconds, seconds);
        written += file->bytesWritten();
        file.reset();
        state.ResumeTiming();
    }
    std::remove(path.c_str());
    const double rounds = static_cast<double>(state.iterations());
    state.counters["file_MiB"] = static_cast<double>(layout.fileSize >> 20);
    state.counters["freed_B"] = static_cast<double>(freed) / rounds;
    state.counters["written_B"] = static_cast<double>(written) / rounds;
    state.counters["metadata_B"] =
        (static_cast<double>(written) - static_cast<double>(freed)) / rounds;
    state.counters["worst_ms"] = worstSeconds * 1000;
    state.counters["open_ms"] = openSeconds * 1000 / rounds;
}

std::u16string ascii(const std::string& text) {
    return std::u16string(text.begin(), text.end());
}

std::string benchPath(const std::string& what) {
    return benchFolder() + "/cfb_bench_" + std::to_string(::getpid()) + "_" + what + ".pldprt";
}

// Opening and validating a large document: the whole FAT is read and every chain walked.
void BM_OpenValidate(benchmark::State& state) {
    const std::uint64_t megabytes = static_cast<std::uint64_t>(state.range(0));
    cfbtest::WriteOptions options;
    options.majorVersion = static_cast<std::uint16_t>(state.range(1));
    const std::string path = benchPath("open_" + std::to_string(megabytes) + "_v" +
                                       std::to_string(options.majorVersion));
    cfbtest::Layout layout;
    std::string error;
    if (!cfbtest::writeCompoundFile(path, documentOf(megabytes << 20), options, layout, error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    for (auto _ : state) {
        auto file = cfb::CompoundFile::open(path, error);
        if (!file) {
            state.SkipWithError(error.c_str());
            break;
        }
        benchmark::DoNotOptimize(file.get());
    }
    std::remove(path.c_str());
    state.counters["file_MiB"] = static_cast<double>(layout.fileSize >> 20);
}

// A storage with many siblings of which half are destroyed, one after the other.
Node wideDocument(int siblings) {
    Node wide = storage(u"ThirdPtyStore");
    for (int i = 0; i < siblings; ++i) {
        wide.children.push_back(filled(u"Item" + ascii(std::to_string(i)), 100));
    }
    Node root = storage(u"Root Entry");
    root.children = {filled(u"Summary", 500), wide};
    return root;
}

void BM_PurgeWide(benchmark::State& state) {
    const int siblings = static_cast<int>(state.range(0));
    const std::string path = benchPath("wide_" + std::to_string(siblings));
    const Node document = wideDocument(siblings);
    cfbtest::WriteOptions options;
    cfbtest::Layout layout;
    std::string error;
    std::uint64_t written = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (!cfbtest::writeCompoundFile(path, document, options, layout, error)) {
            state.SkipWithError(error.c_str());
            break;
        }
        auto file = cfb::CompoundFile::open(path, error);
        const auto wide =
            file ? file->find(cfb::CompoundFile::kRootId, u"ThirdPtyStore") : std::nullopt;
        if (!wide) {
            state.SkipWithError(error.c_str());
            break;
        }
        state.ResumeTiming();
        for (int i = 0; i < siblings; i += 2) {
            if (!file->destroy(wide->id, u"Item" + ascii(std::to_string(i)), error)) {
                state.SkipWithError(error.c_str());
                break;
            }
        }
        state.PauseTiming();
        written += file->bytesWritten();
        file.reset();
        state.ResumeTiming();
    }
    std::remove(path.c_str());
    state.counters["written_B"] =
        static_cast<double>(written) /
        static_cast<double>(std::max<std::int64_t>(1, state.iterations()));
}

// Copies a file with the system's copy, for the compaction's baseline.
double copySeconds(const std::string& from, const std::string& to) {
    const auto start = std::chrono::steady_clock::now();
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Rewriting a purged 200 MB document whose studies were a fifth of it.
void BM_Compact(benchmark::State& state) {
    const std::uint64_t megabytes = static_cast<std::uint64_t>(state.range(0));
    const std::string pristine = benchPath("compact_pristine");
    const std::string path = benchPath("compact");
    const std::string target = benchPath("compact_new");
    Node root = storage(u"Root Entry");
    root.children = {
        bulk(u"Body", (megabytes << 20) * 4 / 5, 1), filled(u"Summary", 500),
        storage(u"ThirdPtyStore", {storage(u"Korworks", {bulk(u"Results", (megabytes << 20) / 5, 2),
                                                         filled(u"Setup", 800)}),
                                   filled(u"Keep", 1000)})};
    cfbtest::Layout layout;
    std::string error;
    if (!cfbtest::writeCompoundFile(pristine, root, {}, layout, error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    double copy = 0;
    std::uint64_t after = 0;
    for (auto _ : state) {
        state.PauseTiming();
        copy += copySeconds(pristine, path);
        {
            auto file = cfb::CompoundFile::open(path, error);
            const auto store =
                file ? file->find(cfb::CompoundFile::kRootId, u"ThirdPtyStore") : std::nullopt;
            if (!store || !file->destroy(store->id, u"Korworks", error)) {
                state.SkipWithError(error.c_str());
                break;
            }
        }
        std::FILE* created = std::fopen(target.c_str(), "w");
        if (created) {
            std::fclose(created);
        }
        state.ResumeTiming();
        auto file = cfb::CompoundFile::open(path, error);
        if (!file || !file->writeCompacted(target, error) ||
            std::rename(target.c_str(), path.c_str()) != 0) {
            state.SkipWithError(error.c_str());
            break;
        }
        state.PauseTiming();
        after = std::filesystem::file_size(path);
        state.ResumeTiming();
    }
    for (const auto& p : {pristine, path, target}) {
        std::remove(p.c_str());
    }
    const double rounds = static_cast<double>(std::max<std::int64_t>(1, state.iterations()));
    state.counters["before_MiB"] = static_cast<double>(layout.fileSize >> 20);
    state.counters["after_MiB"] = static_cast<double>(after >> 20);
    state.counters["copy_ms"] = copy * 1000 / rounds;
}

BENCHMARK(BM_Compact)->Arg(200)->Iterations(5)->Unit(benchmark::kMillisecond);

BENCHMARK(BM_OpenValidate)->Args({1024, 3})->Args({1024, 4})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PurgeWide)->Arg(4000)->Unit(benchmark::kMillisecond);

// Arguments: file size in MiB, major version (3: 512-byte sectors, 4: 4096-byte sectors).
BENCHMARK(BM_PurgeInPlace)
    ->Args({200, 3})
    ->Args({200, 4})
    ->Args({1024, 3})
    ->Args({1024, 4})
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);

}  // namespace
