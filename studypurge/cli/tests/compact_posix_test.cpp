// Compacting on Linux: the rewritten document reads the same in our layer, olefile
// and gsf, keeps every entry's class id, state bits and timestamps, and is smaller
// by the freed sectors.
#include <gtest/gtest.h>

#include <sstream>

#include "CommandLine.h"
#include "PurgeDocument.h"
#include "Storage.h"
#include "cfb_test_support.h"

namespace {

using namespace cfbtest;

// A document whose studies are about a fifth of it, with large and small streams on
// both sides.
Node studyHeavyDocument(std::uint16_t version) {
    Node root = storage(u"Root Entry");
    root.children = {
        stream(u"Body", payload("Body", 300000)),
        stream(u"Summary", payload("Summary", 700)),
        storage(u"ThirdPtyStore",
                {storage(u"Korworks", {stream(u"Results", payload("Results", 70000)),
                                       stream(u"Setup", payload("Setup", 900))}),
                 stream(u"KorvexQuiklet", payload("Quiklet", 3000)),
                 stream(u"Keep", payload("Keep", 5000))}),
        storage(u"ThirdPty", {stream(u"Other", payload("Other", 64))}),
    };
    (void)version;
    return root;
}

// Class id, state bits and both timestamps of an element as olefile reads them.
std::string entryStamps(const std::string& path, const std::string& element) {
    std::string output;
    run("/usr/bin/python3 -c \"import olefile,sys; o=olefile.OleFileIO(sys.argv[1]); "
        "e=o.direntries[o._find(sys.argv[2])]; "
        "print(e.clsid, e.dwUserFlags, e.createTime, e.modifyTime)\" '" +
            path + "' '" + element + "'",
        output);
    return output;
}

class Compacting : public ::testing::TestWithParam<std::uint16_t> {};

TEST_P(Compacting, RewritesTheSameTreeSmallerByWhatWasFreed) {
    TempDir dir;
    const std::string path = dir.file("gear.pldprt");
    const Node model = studyHeavyDocument(GetParam());
    WriteOptions options;
    options.majorVersion = GetParam();
    Layout layout;
    std::string error;
    ASSERT_TRUE(writeCompoundFile(path, model, options, layout, error)) << error;
    // Class ids, state bits and timestamps that the rewrite must carry over.
    const std::uint32_t keep = layout.ids.at("ThirdPtyStore");
    for (std::uint32_t i = 0; i < 9; ++i) {
        patch32(path, layout.entryOffset(keep) + 80 + 4 * i, 0x01020304u * (i + 1));
    }
    const std::string stamps = entryStamps(path, "ThirdPtyStore");
    ASSERT_NE(stamps.find("01020304-0608"), std::string::npos) << stamps;
    const std::uint64_t before = readBytes(path).size();

    std::ostringstream out, err;
    ASSERT_EQ(
        spcli::runCommandLine({"--products", "simulation,quiklet", "--compact", path}, out, err), 0)
        << out.str() << err.str();
    const std::uint64_t after = readBytes(path).size();
    EXPECT_NE(out.str().find("compacted from " + std::to_string(before) + " to " +
                             std::to_string(after) + " bytes"),
              std::string::npos)
        << out.str();

    const Node expected = without(model, {"ThirdPtyStore/Korworks", "ThirdPtyStore/KorvexQuiklet"});
    const std::string listing = expectedListing(expected);
    EXPECT_EQ(ownListing(path, error), listing) << error;
    EXPECT_EQ(oleFileListing(path), listing);
    EXPECT_EQ(gsfListing(path), withoutChecksums(listing));
    EXPECT_EQ(entryStamps(path, "ThirdPtyStore"), stamps);

    // 74,900 bytes of studies were freed from a document of about 380 KB.
    const double shrink = 1.0 - static_cast<double>(after) / static_cast<double>(before);
    EXPECT_GT(shrink, 0.18) << before << " -> " << after;
    EXPECT_LT(after, 380000u);
    EXPECT_GT(after, 306364u);  // the data that stays
}

INSTANTIATE_TEST_SUITE_P(Versions, Compacting, ::testing::Values(3, 4));

// A document that another program holds cannot be compacted: the original stays as
// it was and no temporary file is left behind.
TEST(CompactingFailure, LeavesTheOriginalAndNoTemporaryFile) {
    TempDir dir;
    const std::string path = dir.file("held.pldprt");
    Layout layout;
    std::string error;
    ASSERT_TRUE(writeCompoundFile(path, studyHeavyDocument(3), {}, layout, error)) << error;
    const auto before = readBytes(path);
    auto held = cfb::CompoundFile::open(path, error);
    ASSERT_TRUE(held) << error;
    EXPECT_FALSE(purge::platformStorageSystem().compact(path, error));
    EXPECT_NE(error.find("in use"), std::string::npos) << error;
    EXPECT_EQ(readBytes(path), before);
    std::string output;
    run("ls -a '" + dir.file("") + "'", output);
    EXPECT_EQ(output.find(".studypurge-"), std::string::npos) << output;
}

// A damaged document is refused with what is wrong, and left byte-identical.
TEST(DamagedDocument, IsRefusedWithTheLayersReason) {
    TempDir dir;
    const std::string path = dir.file("cracked.pldprt");
    Layout layout;
    std::string error;
    ASSERT_TRUE(writeCompoundFile(path, studyHeavyDocument(3), {}, layout, error)) << error;
    const std::uint32_t results = layout.starts.at(layout.ids.at("ThirdPtyStore/Korworks/Results"));
    patch32(path, layout.fatEntryOffset(results + 1), results);  // the chain loops back
    const auto before = readBytes(path);
    std::ostringstream out, err;
    EXPECT_EQ(spcli::runCommandLine({"--all", path}, out, err), 1);
    EXPECT_EQ(out.str(), path + ": refused: damaged: FAT chain of stream " +
                             std::to_string(layout.ids.at("ThirdPtyStore/Korworks/Results")) +
                             " revisits sector " + std::to_string(results) +
                             "\ncleaned 0, unchanged 0, refused 1; 0 bytes freed\n");
    EXPECT_EQ(readBytes(path), before);
}

}  // namespace
