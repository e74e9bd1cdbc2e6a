// The compound-file layer against files made by gsf and by our own writer, checked
// with independent readers (olefile, gsf).

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <functional>

#include "CompoundFile.h"
#include "cfb_test_support.h"

using namespace cfbtest;

namespace {

Node file(const std::string& path, std::size_t size) {
    const auto slash = path.rfind('/');
    return stream(widen(path.substr(slash == std::string::npos ? 0 : slash + 1)),
                  payload(path, size));
}

// Every product item in both sub-storages, decoys beside them, streams on both sides
// of the 4096-byte cutoff.
Node productFixture() {
    const std::string s = "ThirdPtyStore/";
    const std::string t = "ThirdPty/";
    const std::string flowA = "0994155B-AA3F-4edb-AC0E-F92608";
    const std::string flowB = "32952DE6-9CEC-411d-83A6-BAAF76";
    Node root = storage(u"Root Entry");
    root.children = {
        file("BigStream", 20000),
        file("SmallStream", 100),
        storage(
            u"ThirdPtyStore",
            {storage(u"Korworks", {storage(u"Study1", {file(s + "Korworks/Study1/Results", 9000),
                                                       file(s + "Korworks/Study1/Mesh", 300)}),
                                   file(s + "Korworks/Config", 50)}),
             file(s + "KorworksCommon", 5000), file(s + "KorvexQuiklet", 6000),
             storage(widen(flowA), {file(s + flowA + "/Data", 4096)}), file(s + flowB, 4095),
             file(s + "MDI_DDMPL", 200), file(s + "MDI_DDMPL3", 10000),
             file(s + "MSC_MOTION_LOAD_1", 64), file(s + "KMMotionLoadMapU", 65),
             file(s + "Animator__ZLB", 1), file(s + "KM_MOTION_LOAD_1", 5000),
             file(s + "KM_MOTION_LOAD_2", 10), file(s + "xKM_MOTION_LOAD_7", 123),
             storage(u"KM_MOTION_LOAD_9", {file(s + "KM_MOTION_LOAD_9/Inner", 77)}),
             file(s + "SUSTAINABILITY2010FULL", 3000), file(s + "KeepMe", 700)}),
        storage(u"ThirdPty",
                {file(t + "SUSTAINABILITY2010FULL", 8000), file(t + "KM_MOTION_LOAD_1", 30),
                 storage(u"Korworks", {file(t + "Korworks/x", 40)}), file(t + "KorvexQuiklet", 500),
                 file(t + flowA, 5000), storage(widen(flowB), {file(t + flowB + "/Inner", 60)}),
                 file(t + "MDI_DDMPL", 4100), file(t + "MDI_DDMPL3", 20),
                 file(t + "MSC_MOTION_LOAD_1", 10), file(t + "KMMotionLoadMapU", 6000),
                 file(t + "Animator__ZLB", 300), file(t + "Animator", 90), file(t + "Other", 100)}),
    };
    return root;
}

const std::vector<std::string> kNamedItems = {"KorvexQuiklet",
                                              "Korworks",
                                              "0994155B-AA3F-4edb-AC0E-F92608",
                                              "32952DE6-9CEC-411d-83A6-BAAF76",
                                              "MDI_DDMPL",
                                              "MDI_DDMPL3",
                                              "MSC_MOTION_LOAD_1",
                                              "KMMotionLoadMapU",
                                              "Animator__ZLB",
                                              "SUSTAINABILITY2010FULL"};

// What the purge does with every product ticked, through this layer's API.
std::vector<std::string> destroyProductItems(cfb::CompoundFile& cf) {
    std::vector<std::string> removed;
    std::string error;
    for (const std::string sub : {"ThirdPtyStore", "ThirdPty"}) {
        const auto storageEntry = cf.find(cfb::CompoundFile::kRootId, widen(sub));
        if (!storageEntry) {
            continue;
        }
        std::vector<std::string> victims = kNamedItems;
        for (const auto& child : cf.children(storageEntry->id)) {
            if (child.type == cfb::EntryType::Stream &&
                narrow(child.name).find("KM_MOTION_LOAD_") != std::string::npos) {
                victims.push_back(narrow(child.name));
            }
        }
        for (const auto& name : victims) {
            if (cf.find(storageEntry->id, widen(name))) {
                EXPECT_TRUE(cf.destroy(storageEntry->id, widen(name), error)) << error;
                removed.push_back(sub + "/" + name);
            }
        }
    }
    return removed;
}

// Every stream payload below the removed paths, long enough to be told apart.
std::vector<std::vector<std::uint8_t>> payloadsBelow(const Node& node, const std::string& prefix,
                                                     bool removed,
                                                     const std::vector<std::string>& paths) {
    std::vector<std::vector<std::uint8_t>> out;
    for (const Node& child : node.children) {
        const std::string path = prefix + narrow(child.name);
        const bool gone = removed || std::find(paths.begin(), paths.end(), path) != paths.end();
        if (child.storage) {
            auto more = payloadsBelow(child, path + "/", gone, paths);
            out.insert(out.end(), more.begin(), more.end());
        } else if (gone && child.data.size() >= 32) {
            out.emplace_back(child.data.begin(), child.data.begin() + 32);
        }
    }
    return out;
}

class GsfFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        model = productFixture();
        path = dir.file("part.pldprt");
        ASSERT_TRUE(makeWithGsf(model, dir.file("src"), path));
    }
    TempDir dir;
    Node model;
    std::string path;
};

TEST_F(GsfFixture, ReadsTheTreeAndEveryStreamAsOlefileDoes) {
    std::string error;
    const std::string expected = expectedListing(model);
    EXPECT_EQ(ownListing(path, error), expected) << error;
    EXPECT_EQ(oleFileListing(path), expected);
}

TEST_F(GsfFixture, FindComparesNamesIgnoringCase) {
    std::string error;
    auto cf = cfb::CompoundFile::open(path, error);
    ASSERT_TRUE(cf) << error;
    const auto store = cf->find(cfb::CompoundFile::kRootId, u"thirdptystore");
    ASSERT_TRUE(store);
    EXPECT_EQ(narrow(store->name), "ThirdPtyStore");
    const auto item = cf->find(store->id, u"KORVEXquiklet");
    ASSERT_TRUE(item);
    EXPECT_EQ(item->size, 6000u);
    EXPECT_FALSE(cf->find(store->id, u"KorvexQuikle"));
    EXPECT_FALSE(cf->find(item->id, u"anything"));  // a stream has no children
}

TEST_F(GsfFixture, DestroyingProductItemsLeavesExactlyTheRestReadable) {
    const auto sizeBefore = readBytes(path).size();
    std::vector<std::string> removed;
    {
        std::string error;
        auto cf = cfb::CompoundFile::open(path, error);
        ASSERT_TRUE(cf) << error;
        removed = destroyProductItems(*cf);
    }
    const std::vector<std::string> expectedRemoved = {
        "ThirdPtyStore/KorvexQuiklet",
        "ThirdPtyStore/Korworks",
        "ThirdPtyStore/0994155B-AA3F-4edb-AC0E-F92608",
        "ThirdPtyStore/32952DE6-9CEC-411d-83A6-BAAF76",
        "ThirdPtyStore/MDI_DDMPL",
        "ThirdPtyStore/MDI_DDMPL3",
        "ThirdPtyStore/MSC_MOTION_LOAD_1",
        "ThirdPtyStore/KMMotionLoadMapU",
        "ThirdPtyStore/Animator__ZLB",
        "ThirdPtyStore/KM_MOTION_LOAD_1",
        "ThirdPtyStore/KM_MOTION_LOAD_2",
        "ThirdPtyStore/xKM_MOTION_LOAD_7",
        "ThirdPtyStore/SUSTAINABILITY2010FULL",
        "ThirdPty/KorvexQuiklet",
        "ThirdPty/0994155B-AA3F-4edb-AC0E-F92608",
        "ThirdPty/32952DE6-9CEC-411d-83A6-BAAF76",
        "ThirdPty/MDI_DDMPL",
        "ThirdPty/MDI_DDMPL3",
        "ThirdPty/MSC_MOTION_LOAD_1",
        "ThirdPty/KMMotionLoadMapU",
        "ThirdPty/Animator__ZLB",
        "ThirdPty/Korworks",
        "ThirdPty/SUSTAINABILITY2010FULL",
        "ThirdPty/KM_MOTION_LOAD_1"};
    std::vector<std::string> sortedRemoved = removed;
    std::vector<std::string> sortedExpected = expectedRemoved;
    std::sort(sortedRemoved.begin(), sortedRemoved.end());
    std::sort(sortedExpected.begin(), sortedExpected.end());
    EXPECT_EQ(sortedRemoved, sortedExpected);

    const std::string expected = expectedListing(without(model, removed));
    std::string error;
    EXPECT_EQ(ownListing(path, error), expected) << error;
    EXPECT_EQ(oleFileListing(path), expected);
    EXPECT_EQ(gsfListing(path), withoutChecksums(expected));

    const auto bytes = readBytes(path);
    EXPECT_EQ(bytes.size(), sizeBefore);
    for (const auto& marker : payloadsBelow(model, "", false, removed)) {
        EXPECT_FALSE(contains(bytes, marker)) << std::string(marker.begin(), marker.end());
    }
    // The survivors' payloads are still there (the check above can see payloads).
    EXPECT_TRUE(contains(bytes, payload("ThirdPtyStore/KM_MOTION_LOAD_9/Inner", 32)));
}

TEST_F(GsfFixture, DestroyOfAMissingNameWritesNothing) {
    const auto before = readBytes(path);
    std::string error;
    auto cf = cfb::CompoundFile::open(path, error);
    ASSERT_TRUE(cf) << error;
    const auto store = cf->find(cfb::CompoundFile::kRootId, u"ThirdPtyStore");
    EXPECT_FALSE(cf->destroy(store->id, u"Nothing", error));
    EXPECT_EQ(error, "no element named \"Nothing\" in storage " + std::to_string(store->id));
    EXPECT_FALSE(cf->destroy(4000, u"Korworks", error));
    EXPECT_EQ(cf->bytesWritten(), 0u);
    cf.reset();
    EXPECT_EQ(readBytes(path), before);
}

TEST_F(GsfFixture, ASecondOpenerFailsWhileTheFirstHoldsTheFile) {
    std::string error;
    auto first = cfb::CompoundFile::open(path, error);
    ASSERT_TRUE(first) << error;
    EXPECT_FALSE(cfb::CompoundFile::open(path, error));
    EXPECT_NE(error.find("in use"), std::string::npos) << error;
    first.reset();
    EXPECT_TRUE(cfb::CompoundFile::open(path, error)) << error;
}

TEST_F(GsfFixture, ReadOnlyUnreadableAndMissingFilesFailToOpen) {
    std::string error;
    for (mode_t mode : {0444, 0000}) {
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
        EXPECT_FALSE(cfb::CompoundFile::open(path, error)) << mode;
    }
    EXPECT_FALSE(cfb::CompoundFile::open(dir.file("missing.pldprt"), error));
    EXPECT_FALSE(cfb::CompoundFile::open(dir.file("src"), error));  // a folder
}

// Version 4 (4096-byte sectors) and a file whose DIFAT needs sectors of its own.
struct WriterCase {
    const char* label;
    WriteOptions options;
};

class WrittenFile : public ::testing::TestWithParam<WriterCase> {};

TEST_P(WrittenFile, DestroysAndStaysReadable) {
    TempDir dir;
    const std::string path = dir.file("doc.pldasm");
    Node model = productFixture();
    Node big = stream(u"Huge", std::vector<std::uint8_t>{});
    big.generatedSize = 300000;
    big.seed = 9;
    model.children.push_back(big);
    Layout layout;
    std::string error;
    ASSERT_TRUE(writeCompoundFile(path, model, GetParam().options, layout, error)) << error;
    const std::string before = expectedListing(model);
    ASSERT_EQ(oleFileListing(path), before);
    ASSERT_EQ(ownListing(path, error), before) << error;

    std::vector<std::string> removed;
    {
        auto cf = cfb::CompoundFile::open(path, error);
        ASSERT_TRUE(cf) << error;
        removed = destroyProductItems(*cf);
        ASSERT_TRUE(cf->destroy(cfb::CompoundFile::kRootId, u"huge", error)) << error;
        removed.push_back("Huge");
    }
    const std::string expected = expectedListing(without(model, removed));
    EXPECT_EQ(ownListing(path, error), expected) << error;
    EXPECT_EQ(oleFileListing(path), expected);
    EXPECT_EQ(readBytes(path).size(), layout.fileSize);
}

INSTANTIATE_TEST_SUITE_P(Layouts, WrittenFile,
                         ::testing::Values(WriterCase{"v3", {3, 0, false}},
                                           WriterCase{"v4", {4, 0, false}},
                                           WriterCase{"v3_difat", {3, 300, false}},
                                           WriterCase{"v4_difat", {4, 112, false}}),
                         [](const auto& info) { return std::string(info.param.label); });

// Black height of the sibling tree below `id` as the file holds it; -1 when it is no
// valid red-black tree (a red entry with a red child, or unequal black heights).
int blackHeight(const std::vector<std::uint8_t>& bytes, const Layout& layout, std::uint32_t id,
                bool parentRed) {
    if (id == 0xFFFFFFFF) {
        return 0;
    }
    const auto at = bytes.begin() + static_cast<std::ptrdiff_t>(layout.entryOffset(id));
    auto u32 = [&](int offset) {
        return std::uint32_t{at[offset]} | std::uint32_t{at[offset + 1]} << 8 |
               std::uint32_t{at[offset + 2]} << 16 | std::uint32_t{at[offset + 3]} << 24;
    };
    const bool red = at[67] == 0;
    const int left = blackHeight(bytes, layout, u32(68), red);
    const int right = blackHeight(bytes, layout, u32(72), red);
    if ((red && parentRed) || left < 0 || left != right) {
        return -1;
    }
    return left + (red ? 0 : 1);
}

// Many siblings, destroyed one at a time in a scattered order: the others keep
// their order, every state reads back, and the tree stays a valid red-black tree.
TEST(CfbSiblings, DestroyKeepsTheInOrderSequence) {
    TempDir dir;
    const std::string path = dir.file("many.pldprt");
    Node model = storage(u"Root Entry");
    std::vector<std::string> names;
    for (int i = 0; i < 40; ++i) {
        names.push_back("S" + std::to_string(100 + i));
        model.children.push_back(stream(widen(names.back()), payload(names.back(), 70 + i * 130)));
    }
    Layout layout;
    std::string error;
    ASSERT_TRUE(writeCompoundFile(path, model, {}, layout, error)) << error;
    auto cf = cfb::CompoundFile::open(path, error);
    ASSERT_TRUE(cf) << error;
    std::vector<std::string> remaining = names;
    std::vector<std::string> removed;
    for (int step = 0; step < 40; ++step) {
        const std::string victim = remaining[(step * 7) % remaining.size()];
        ASSERT_TRUE(cf->destroy(cfb::CompoundFile::kRootId, widen(victim), error)) << error;
        remaining.erase(std::find(remaining.begin(), remaining.end(), victim));
        removed.push_back(victim);
        std::vector<std::string> listed;
        for (const auto& child : cf->children(cfb::CompoundFile::kRootId)) {
            listed.push_back(narrow(child.name));
        }
        ASSERT_EQ(listed, remaining) << "after removing " << victim;
        const auto bytes = readBytes(path);
        const std::uint32_t rootChild = static_cast<std::uint32_t>(
            bytes[layout.entryOffset(0) + 76] | bytes[layout.entryOffset(0) + 77] << 8 |
            bytes[layout.entryOffset(0) + 78] << 16 | bytes[layout.entryOffset(0) + 79] << 24);
        ASSERT_GE(blackHeight(bytes, layout, rootChild, true), 0) << "after removing " << victim;
        if (step % 9 == 0) {
            cf.reset();
            ASSERT_EQ(oleFileListing(path), expectedListing(without(model, removed)));
            cf = cfb::CompoundFile::open(path, error);
            ASSERT_TRUE(cf) << error;
        }
    }
}

}  // namespace
