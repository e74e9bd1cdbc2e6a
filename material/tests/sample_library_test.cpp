// The shipped sample library: it is what the generator writes, and it reads back with
// the expected materials and values.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "SampleLibrary.h"
#include "data/LibraryFile.h"
#include "data/Text.h"

namespace material {
namespace {

std::string ShippedText() {
    std::string bytes;
    FileError error;
    EXPECT_TRUE(PlatformFileSystem().ReadAll(KT_SAMPLE_LIBRARY, bytes, error)) << error.Message();
    return bytes;
}

const clsMaterial* Find(const LibraryContent& content, std::string_view name) {
    for (const clsMaterial& m : content.materials) {
        if (text::Trim(m.MaterialName()) == name) {
            return &m;
        }
    }
    return nullptr;
}

TEST(SampleLibraryTest, ShippedFileIsWhatTheGeneratorWrites) {
    std::vector<clsMaterial> materials = BuildSampleLibrary();
    EXPECT_EQ(FormatLibrary(materials, NumberCategories(materials)), ShippedText())
        << "regenerate with make_korwkmat examples/korwkmat.lib";
}

TEST(SampleLibraryTest, ReadsBackWithinTheFileLimits) {
    const ReadOutcome read = ReadLibraryText(ShippedText(), NumberParser("."));
    ASSERT_TRUE(read.accepted) << read.message;
    EXPECT_EQ(read.content.materials.size(), 32u);

    std::set<std::string> categories;
    std::set<std::string> codes;
    for (std::size_t i = 0; i < read.content.materials.size(); ++i) {
        const clsMaterial& m = read.content.materials[i];
        const MaterialEntry& entry = read.content.entries[i];
        SCOPED_TRACE(m.MaterialName());
        categories.insert(std::string(text::Trim(m.MaterialType())));
        codes.insert(std::string(text::Trim(entry.code)));
        const std::string_view name = text::Trim(m.MaterialName());
        const std::string_view description = text::Trim(entry.description);
        EXPECT_FALSE(name.empty());
        EXPECT_LE(name.size(), 30u);
        EXPECT_FALSE(description.empty());
        EXPECT_LE(entry.description.size(), 50u);
        EXPECT_TRUE(m.HasValue(13)) << "every material has a density";
    }
    EXPECT_EQ(categories.size(), 13u);
    EXPECT_EQ(codes.size(), read.content.materials.size()) << "codes are unique";
}

TEST(SampleLibraryTest, KeyValuesReadBackInSi) {
    const ReadOutcome read = ReadLibraryText(ShippedText(), NumberParser("."));
    ASSERT_TRUE(read.accepted);
    struct Case {
        std::string_view material;
        std::string_view code;
        double si;
    };
    const Case cases[] = {
        {"S235JR structural steel", "EX", 2.1e11},
        {"S235JR structural steel", "SIGYLD", 2.35e8},
        {"Aluminium 6061-T6", "DENS", 2700},
        {"Aluminium 6061-T6", "ALPX", 23.6e-6},
        {"Concrete C30/37", "SIGXC", 3e7},
        {"Natural rubber, Mooney-Rivlin", "MOONEY_A", 2.93e5},
        {"Natural rubber, Mooney-Rivlin", "MOONEY_B", 1.77e5},
        {"Epoxy resin, viscoelastic", "G2", 2.5e8},
        {"Epoxy resin, viscoelastic", "TAUG3", 1000},
        {"Epoxy resin, viscoelastic", "REFTEMP", 393},
        {"Epoxy resin, viscoelastic", "VC2", 51.6},
        {"Douglas-fir (coast), 12% MC", "GYZ", 9.38e7},
        {"Douglas-fir (coast), 12% MC", "NUXZ", 0.449},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.material) + " " + std::string(c.code));
        const clsMaterial* found = Find(read.content, c.material);
        ASSERT_NE(found, nullptr);
        clsMaterial m = *found;
        m.setProperty(c.code);
        ASSERT_TRUE(m.HasValue(m.Index()));
        EXPECT_NEAR(m.value(), c.si, c.si * 1e-6);
    }
}

}  // namespace
}  // namespace material
