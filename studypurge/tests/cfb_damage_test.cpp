// Damaged files must fail to open without a single byte changing; harmless oddities
// must open and edit soundly; one-byte header changes must do one or the other.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "CompoundFile.h"
#include "cfb_test_support.h"

using namespace cfbtest;

namespace {

Node generated(std::u16string name, std::uint64_t size, std::uint8_t seed) {
    Node n = stream(std::move(name), std::vector<std::uint8_t>{});
    n.generatedSize = size;
    n.seed = seed;
    return n;
}

Node damageModel() {
    Node root = storage(u"Root Entry");
    root.children = {
        generated(u"Big1", 5000, 1), generated(u"Big2", 6000, 2),
        stream(u"Small1", payload("Small1", 100)), stream(u"Small2", payload("Small2", 200)),
        storage(u"St",
                {stream(u"Inner", payload("St/Inner", 300)), generated(u"InnerBig", 4500, 3)})};
    return root;
}

struct Made {
    TempDir dir;
    std::string path;
    Layout layout;
    Node model;
};

std::unique_ptr<Made> make(const WriteOptions& options = {}, Node model = damageModel()) {
    auto made = std::make_unique<Made>();
    made->path = made->dir.file("doc.pldprt");
    made->model = std::move(model);
    std::string error;
    EXPECT_TRUE(writeCompoundFile(made->path, made->model, options, made->layout, error)) << error;
    return made;
}

std::uint32_t id(const Made& m, const std::string& path) {
    return m.layout.ids.at(path);
}
std::uint32_t start(const Made& m, const std::string& path) {
    return m.layout.starts.at(id(m, path));
}
std::uint64_t entryField(const Made& m, const std::string& path, std::uint64_t field) {
    return m.layout.entryOffset(id(m, path)) + field;
}
constexpr std::uint64_t kLeft = 68, kRight = 72, kChild = 76, kStart = 116, kSize = 120;

struct Damage {
    const char* label;
    WriteOptions options;
    std::function<void(const Made&)> apply;
    const char* errorPart;  // a part of the expected message
};

class DamagedFile : public ::testing::TestWithParam<Damage> {};

TEST_P(DamagedFile, FailsToOpenAndStaysUnchanged) {
    const Damage& damage = GetParam();
    auto made = make(damage.options);
    damage.apply(*made);
    const auto before = readBytes(made->path);
    std::string error;
    EXPECT_FALSE(cfb::CompoundFile::open(made->path, error));
    EXPECT_NE(error.find(damage.errorPart), std::string::npos) << error;
    EXPECT_EQ(readBytes(made->path), before);
}

const Damage kDamages[] = {
    {"truncated_header",
     {},
     [](const Made& m) { std::filesystem::resize_file(m.path, 300); },
     "header: expected at least 512 bytes, found a file of 300"},
    {"truncated_half",
     {},
     [](const Made& m) { std::filesystem::resize_file(m.path, m.layout.fileSize / 2); },
     "expected a sector number below"},
    {"fat_cycle",
     {},
     [](const Made& m) {
         const std::uint32_t s = start(m, "Big1");
         patch32(m.path, m.layout.fatEntryOffset(s + 9), s);
     },
     "revisits sector"},
    {"fat_chain_into_free_marker",
     {},
     [](const Made& m) { patch32(m.path, m.layout.fatEntryOffset(start(m, "Big1")), 0xFFFFFFFF); },
     "found 4294967295"},
    {"fat_shared_sector",
     {},
     [](const Made& m) { patch32(m.path, entryField(m, "Big2", kStart), start(m, "Big1") + 4); },
     "which belongs to stream"},
    {"fat_chain_into_directory",
     {},
     [](const Made& m) {
         patch32(m.path, m.layout.fatEntryOffset(start(m, "Big1")), m.layout.directoryStart);
     },
     "which belongs to the directory"},
    {"sector_beyond_file",
     {},
     [](const Made& m) { patch32(m.path, entryField(m, "Big1", kStart), 99999); },
     "expected a sector number below"},
    {"mini_fat_cycle",
     {},
     [](const Made& m) {
         const std::uint32_t s = start(m, "Small2");
         patch32(m.path, m.layout.miniFatEntryOffset(s + 3), s + 1);
     },
     "mini FAT chain of stream"},
    {"mini_fat_shared",
     {},
     [](const Made& m) { patch32(m.path, entryField(m, "Small2", kStart), start(m, "Small1")); },
     "which belongs to stream"},
    {"difat_cycle",
     {3, 300, false},
     [](const Made& m) {
         const std::uint32_t d = m.layout.difatSectors[0];
         patch32(m.path, m.layout.sectorOffset(d) + 508, d);
     },
     "DIFAT chain revisits sector"},
    {"difat_beyond_file",
     {3, 300, false},
     [](const Made& m) { patch32(m.path, 68, 77777); },
     "DIFAT: expected a sector number below"},
    {"fat_sector_beyond_file",
     {},
     [](const Made& m) { patch32(m.path, 76, 88888); },
     "FAT: expected FAT sector 0 below"},
    {"fat_sector_listed_twice",
     {3, 3, false},
     [](const Made& m) { patch32(m.path, 80, 0); },
     "FAT: sector 0 is listed twice for the FAT"},
    {"absurd_fat_count",
     {},
     [](const Made& m) { patch32(m.path, 44, 0xFFFFFFF0); },
     "FAT sectors, found 4294967280"},
    {"directory_cycle",
     {},
     [](const Made& m) { patch32(m.path, entryField(m, "St/Inner", kRight), id(m, "St/Inner")); },
     "which is reached twice"},
    {"directory_child_to_root",
     {},
     [](const Made& m) { patch32(m.path, entryField(m, "St", kChild), 0); },
     "which is reached twice"},
    {"directory_link_out_of_range",
     {},
     [](const Made& m) { patch32(m.path, entryField(m, "Big1", kLeft), 5000); },
     "links to entry 5000, expected an entry below"},
    {"directory_start_beyond_file",
     {},
     [](const Made& m) { patch32(m.path, 48, 123456); },
     "directory: expected a sector number below"},
    {"stream_with_children",
     {},
     [](const Made& m) { patch32(m.path, entryField(m, "Big1", kChild), id(m, "Small1")); },
     "expected no children"},
    {"root_not_a_root",
     {},
     [](const Made& m) { patch32(m.path, m.layout.entryOffset(0) + 66, 1); },
     "expected the root entry (type 5)"},
    {"name_too_long",
     {},
     [](const Made& m) { patch16(m.path, entryField(m, "Small1", 64), 66); },
     "expected a name length of 2 to 64 bytes"},
    {"absurd_big_size",
     {},
     [](const Made& m) { patch32(m.path, entryField(m, "Big1", kSize), 0xFFFFFFFF); },
     "found a size of 4294967295"},
    {"absurd_v4_size",
     {4, 0, false},
     [](const Made& m) { patch64(m.path, entryField(m, "Big1", kSize), 1ull << 60); },
     "found a size of 1152921504606846976"},
    {"small_size_beyond_mini_chain",
     {},
     [](const Made& m) { patch32(m.path, entryField(m, "Small1", kSize), 4000); },
     "expected at most 128 bytes in its chain"},
    {"mini_stream_beyond_its_chain",
     {},
     [](const Made& m) { patch32(m.path, m.layout.entryOffset(0) + kSize, 999999); },
     "mini stream: expected at least 999999 bytes"},
};

INSTANTIATE_TEST_SUITE_P(Cases, DamagedFile, ::testing::ValuesIn(kDamages),
                         [](const auto& info) { return std::string(info.param.label); });

// Oddities that real files carry: the file opens, a destroy works and independent
// readers agree with the result.
struct Oddity {
    const char* label;
    WriteOptions options;
    std::function<void(const Made&)> apply;
};

class OddFile : public ::testing::TestWithParam<Oddity> {};

TEST_P(OddFile, OpensAndEditsSoundly) {
    const Oddity& oddity = GetParam();
    Node model = damageModel();
    model.children.push_back(stream(u"a1", payload("a1", 90)));
    model.children.push_back(stream(u"B1", payload("B1", 90)));
    auto made = make(oddity.options, model);
    oddity.apply(*made);
    std::string error;
    ASSERT_EQ(ownListing(made->path, error), expectedListing(made->model)) << error;
    const bool oleFileReadsIt = !oleFileListing(made->path).empty();
    {
        auto cf = cfb::CompoundFile::open(made->path, error);
        ASSERT_TRUE(cf) << error;
        for (const char16_t* name : {u"a1", u"Big2", u"St", u"SMALL1"}) {
            EXPECT_TRUE(cf->destroy(cfb::CompoundFile::kRootId, name, error)) << error;
        }
    }
    const std::string expected =
        expectedListing(without(made->model, {"a1", "Big2", "St", "Small1"}));
    EXPECT_EQ(ownListing(made->path, error), expected) << error;
    if (oleFileReadsIt) {
        EXPECT_EQ(oleFileListing(made->path), expected);
    }
}

const Oddity kOddities[] = {
    {"plain", {}, [](const Made&) {}},
    {"case_sensitive_order", {3, 0, false, true}, [](const Made&) {}},
    {"fat_covers_more_than_the_file", {3, 5, false}, [](const Made&) {}},
    {"class_id_on_stream",
     {},
     [](const Made& m) { patch32(m.path, entryField(m, "Big1", 80), 0x12345678); }},
    {"start_sector_on_storage",
     {},
     [](const Made& m) { patch32(m.path, entryField(m, "St", kStart), m.layout.directoryStart); }},
    {"unusual_root_name",
     {},
     [](const Made& m) {
         patch32(m.path, m.layout.entryOffset(0), 0x00000052);  // "R"
         patch16(m.path, m.layout.entryOffset(0) + 64, 4);
     }},
    {"high_size_bits_in_version_3",
     {},
     [](const Made& m) { patch32(m.path, entryField(m, "Small2", kSize + 4), 0xDEADBEEF); }},
    {"black_nodes",
     {},
     [](const Made& m) {
         for (std::uint32_t i = 1; i < m.layout.ids.size(); ++i) {
             auto bytes = readBytes(m.path);
             bytes[m.layout.entryOffset(i) + 67] = 1;
             writeBytes(m.path, bytes);
         }
     }},
    {"partial_last_sector",
     {},
     [](const Made& m) { std::filesystem::resize_file(m.path, m.layout.fileSize + 100); }},
};

INSTANTIATE_TEST_SUITE_P(Cases, OddFile, ::testing::ValuesIn(kOddities),
                         [](const auto& info) { return std::string(info.param.label); });

// One byte of each header field changed: the open fails leaving the file as it was,
// or the file reads as before and edits soundly.
struct HeaderField {
    const char* name;
    std::uint32_t offset;
    std::uint32_t size;
};

const HeaderField kHeaderFields[] = {
    {"signature", 0, 8},      {"class_id", 8, 16},        {"minor_version", 24, 2},
    {"major_version", 26, 2}, {"byte_order", 28, 2},      {"sector_shift", 30, 2},
    {"mini_shift", 32, 2},    {"reserved", 34, 6},        {"directory_sectors", 40, 4},
    {"fat_sectors", 44, 4},   {"first_directory", 48, 4}, {"transaction", 52, 4},
    {"mini_cutoff", 56, 4},   {"first_mini_fat", 60, 4},  {"mini_fat_sectors", 64, 4},
    {"first_difat", 68, 4},   {"difat_sectors", 72, 4},   {"difat_0", 76, 4},
    {"difat_1", 80, 4},       {"difat_108", 508, 4},
};

TEST(HeaderChange, EachOneByteChangeFailsCleanlyOrEditsSoundly) {
    TempDir dir;
    const std::string original = dir.file("original.pldprt");
    Node model = damageModel();
    ASSERT_TRUE(makeWithGsf(model, dir.file("src"), original));
    const auto originalBytes = readBytes(original);
    const std::string expectedBefore = expectedListing(model);
    const std::string expectedAfter = expectedListing(without(model, {"Big1", "Small2"}));
    const std::string path = dir.file("changed.pldprt");
    for (const HeaderField& field : kHeaderFields) {
        for (std::uint32_t at : {field.offset, field.offset + field.size - 1}) {
            for (std::uint8_t flip : {0x01, 0x80}) {
                SCOPED_TRACE(std::string(field.name) + " byte " + std::to_string(at) + " ^ " +
                             std::to_string(flip));
                auto bytes = originalBytes;
                bytes[at] ^= flip;
                writeBytes(path, bytes);
                std::string error;
                auto cf = cfb::CompoundFile::open(path, error);
                if (!cf) {
                    EXPECT_FALSE(error.empty());
                    EXPECT_EQ(readBytes(path), bytes);
                    continue;
                }
                cf.reset();
                ASSERT_EQ(ownListing(path, error), expectedBefore) << error;
                const bool oleFileReadsIt = oleFileListing(path) == expectedBefore;
                cf = cfb::CompoundFile::open(path, error);
                ASSERT_TRUE(cf) << error;
                EXPECT_TRUE(cf->destroy(0, u"Big1", error)) << error;
                EXPECT_TRUE(cf->destroy(0, u"Small2", error)) << error;
                cf.reset();
                EXPECT_EQ(ownListing(path, error), expectedAfter) << error;
                if (oleFileReadsIt) {
                    EXPECT_EQ(oleFileListing(path), expectedAfter);
                }
            }
        }
    }
}

TEST(HeaderChange, MessagesSayWhatWasExpectedAndFound) {
    TempDir dir;
    const std::string path = dir.file("doc.pldprt");
    Layout layout;
    std::string error;
    ASSERT_TRUE(writeCompoundFile(path, damageModel(), {}, layout, error)) << error;
    const auto original = readBytes(path);
    const struct {
        std::uint32_t offset;
        std::uint8_t value;
        const char* message;
    } cases[] = {
        {0, 0xD1, "header: expected signature D0CF11E0A1B11AE1, found D1CF11E0A1B11AE1"},
        {26, 2, "header: expected major version 3 or 4, found 2"},
        {30, 8, "header: expected sector shift 9 for version 3, found 8"},
        {28, 0xFF, "header: expected byte order FFFE, found FFFF"},
        {56, 1, "header: expected mini stream cutoff 4096, found 4097"},
    };
    for (const auto& c : cases) {
        auto bytes = original;
        bytes[c.offset] = c.value;
        writeBytes(path, bytes);
        EXPECT_FALSE(cfb::CompoundFile::open(path, error));
        EXPECT_EQ(error, c.message);
    }
}

}  // namespace

namespace {

Node siblingRichModel() {
    Node model = damageModel();
    for (int i = 1; i <= 9; ++i) {
        const std::string name = "C" + std::to_string(i);
        model.children.push_back(stream(widen(name), payload(name, 40 * i)));
    }
    return model;
}

std::vector<std::string> lines(const std::string& listing) {
    std::vector<std::string> out;
    std::size_t from = 0;
    for (std::size_t at; (at = listing.find('\n', from)) != std::string::npos; from = at + 1) {
        out.push_back(listing.substr(from, at - from));
    }
    return out;
}

// A destroy stopped after any number of writes (a crash, a full disk) leaves a file
// that we and olefile read, in which every stream still listed has its original
// content: no entry ever points at freed or zeroed sectors.
TEST(InterruptedDestroy, EveryPrefixOfTheWritesLeavesASoundFile) {
    const Node model = siblingRichModel();
    const auto original = lines(expectedListing(model));
    // The writer's trees are no red-black trees, so the first destroy rebuilds the tree;
    // after one completed destroy the next one is a red-black deletion.
    for (const bool redBlack : {false, true}) {
        for (const char16_t* victim : {u"St", u"Small2", u"Big1"}) {
            for (std::uint64_t allowed = 0;; ++allowed) {
                SCOPED_TRACE(narrow(victim) + " stopped after " + std::to_string(allowed) +
                             (redBlack ? " (red-black)" : " (rebuild)"));
                auto made = make({}, model);
                std::string error;
                auto cf = cfb::CompoundFile::open(made->path, error);
                ASSERT_TRUE(cf) << error;
                if (redBlack) {
                    ASSERT_TRUE(cf->destroy(0, u"C5", error)) << error;
                }
                cf->limitWrites(allowed);
                if (cf->destroy(0, victim, error)) {
                    EXPECT_GT(allowed, 2u);
                    break;
                }
                EXPECT_NE(error.find("no space left"), std::string::npos) << error;
                EXPECT_FALSE(cf->destroy(0, u"Big2", error));  // no edits after a failed write
                cf.reset();
                const std::string listing = ownListing(made->path, error);
                ASSERT_FALSE(listing.empty()) << error;
                for (const auto& line : lines(listing)) {
                    EXPECT_NE(std::find(original.begin(), original.end(), line), original.end())
                        << line;
                }
                if (narrow(victim) ==
                    "St") {  // olefile is slow; one victim covers every kind of write
                    EXPECT_EQ(oleFileListing(made->path), listing);
                }
                ASSERT_LT(allowed, 100u);
            }
        }
    }
}

// Only the directory, the freed sectors' FAT and mini FAT entries and the freed
// data change; the freed entries and data end up free and zero.
TEST(DestroyWrites, NothingButTheFreedSectorsTheirTablesAndTheDirectoryChange) {
    auto made = make({}, siblingRichModel());
    const Layout& layout = made->layout;
    const auto before = readBytes(made->path);
    {
        std::string error;
        auto cf = cfb::CompoundFile::open(made->path, error);
        ASSERT_TRUE(cf) << error;
        ASSERT_TRUE(cf->destroy(0, u"St", error)) << error;
        ASSERT_TRUE(cf->destroy(0, u"Small2", error)) << error;
    }
    const auto after = readBytes(made->path);
    ASSERT_EQ(after.size(), before.size());

    std::vector<std::uint32_t> bigFreed;
    for (std::uint32_t i = 0; i < 9; ++i) {  // St/InnerBig: 4500 bytes
        bigFreed.push_back(start(*made, "St/InnerBig") + i);
    }
    std::vector<std::uint32_t> miniFreed;
    for (std::uint32_t i = 0; i < 5; ++i) {  // St/Inner: 300 bytes
        miniFreed.push_back(start(*made, "St/Inner") + i);
    }
    for (std::uint32_t i = 0; i < 4; ++i) {  // Small2: 200 bytes
        miniFreed.push_back(start(*made, "Small2") + i);
    }
    std::vector<bool> allowed(after.size(), false);
    auto allow = [&](std::uint64_t offset, std::uint64_t length) {
        for (std::uint64_t i = 0; i < length; ++i) {
            allowed[offset + i] = true;
        }
    };
    allow(layout.sectorOffset(layout.directoryStart),
          layout.sectorOffset(layout.miniFatStart) - layout.sectorOffset(layout.directoryStart));
    const std::vector<std::uint8_t> freeMark = {0xFF, 0xFF, 0xFF, 0xFF};
    for (std::uint32_t s : bigFreed) {
        allow(layout.fatEntryOffset(s), 4);
        allow(layout.sectorOffset(s), layout.sectorSize);
        EXPECT_TRUE(
            std::equal(freeMark.begin(), freeMark.end(), after.begin() + layout.fatEntryOffset(s)));
        EXPECT_TRUE(std::all_of(after.begin() + layout.sectorOffset(s),
                                after.begin() + layout.sectorOffset(s) + layout.sectorSize,
                                [](std::uint8_t b) { return b == 0; }));
    }
    for (std::uint32_t m : miniFreed) {
        const std::uint64_t data = layout.sectorOffset(layout.miniStreamStart) + 64ull * m;
        allow(layout.miniFatEntryOffset(m), 4);
        allow(data, 64);
        EXPECT_TRUE(std::equal(freeMark.begin(), freeMark.end(),
                               after.begin() + layout.miniFatEntryOffset(m)));
        EXPECT_TRUE(std::all_of(after.begin() + data, after.begin() + data + 64,
                                [](std::uint8_t b) { return b == 0; }));
    }
    for (std::size_t i = 0; i < after.size(); ++i) {
        if (after[i] != before[i]) {
            ASSERT_TRUE(allowed[i]) << "byte " << i << " changed";
        }
    }
    // The removed entries are unused: all zero but for the three links.
    for (const char* path : {"St", "St/Inner", "St/InnerBig", "Small2"}) {
        std::vector<std::uint8_t> unused(128, 0);
        std::fill(unused.begin() + 68, unused.begin() + 80, 0xFF);
        const auto at = after.begin() + layout.entryOffset(id(*made, path));
        EXPECT_TRUE(std::equal(unused.begin(), unused.end(), at)) << path;
    }
}

}  // namespace
