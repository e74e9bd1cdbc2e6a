// The remembered unit-list position, run against every settings back end of the platform:
// the settings file everywhere and, on Windows, the registry below a private test key.

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <random>
#include <vector>

#include "registry_backends.h"
#include "units/registry/ConfigFileStore.h"
#include "units/registry/clsRegistry.h"

namespace material {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using testing::Backend;
using testing::BackendFactory;
using testing::nativeBackends;
using testing::uniqueTempFolder;

struct Stored {
    std::uint32_t type;
    Bytes data;
    bool operator==(const Stored&) const = default;
};

void PrintTo(const Stored& value, std::ostream* out) {
    *out << "type " << value.type << " bytes";
    for (auto byte : value.data) {
        *out << ' ' << int(byte);
    }
}

// Text values as text up to their first NUL: the registry's ANSI calls convert text and
// may add or drop the terminator.
Bytes textPart(Bytes data) {
    data.erase(std::find(data.begin(), data.end(), std::uint8_t{0}), data.end());
    return data;
}

Bytes bytesOf(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

class FileBackend : public Backend {
  public:
    FileBackend() : folder_(uniqueTempFolder("kt-settings")) {}
    ~FileBackend() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    std::unique_ptr<SettingsStore> open() override {
        return std::make_unique<ConfigFileStore>(folder_ / "korvex-material");
    }
    const fs::path& folder() const { return folder_; }

  private:
    fs::path folder_;
};

class PositionSetting : public ::testing::TestWithParam<BackendFactory> {
  protected:
    void SetUp() override { backend_ = GetParam()(); }

    clsRegistry settings() { return clsRegistry(backend_->open()); }

    void store(const Stored& value) {
        auto key = backend_->open()->createKey("Unit");
        ASSERT_TRUE(key);
        ASSERT_TRUE(key->writeValue("BinaryValue", value.type, value.data));
    }

    // What "Unit"\"BinaryValue" holds now, read without the class under test.
    std::optional<Stored> stored() {
        auto key = backend_->open()->openKey("Unit");
        std::uint32_t type = 0;
        std::uint32_t size = 0;
        if (!key || !key->queryValueInfo("BinaryValue", type, size)) {
            return std::nullopt;
        }
        Bytes data(size);
        std::uint32_t read = 0;
        if (!key->readValue("BinaryValue", data, read)) {
            return std::nullopt;
        }
        data.resize(read);
        return Stored{type, type == kTextValue ? textPart(data) : data};
    }

    std::unique_ptr<Backend> backend_;
};

const Stored kZero{kBinaryValue, {0, 0, 0, 0}};

struct ReadCase {
    const char* what;
    std::optional<Stored> before;  // nothing: no key at all
    std::int16_t position;
    std::optional<Stored> after;
};

TEST_P(PositionSetting, ReadsUsableValuesAndRewritesOthersToZero) {
    const std::vector<ReadCase> cases = {
        {"no key yet", std::nullopt, 0, kZero},
        {"position 2", Stored{kBinaryValue, {2, 0, 0, 0}}, 2, Stored{kBinaryValue, {2, 0, 0, 0}}},
        {"position 3 is beyond the list", Stored{kBinaryValue, {3, 0, 0, 0}}, 0, kZero},
        {"old offset 5120 + 1", Stored{kBinaryValue, {1, 0x14, 0, 0}}, 1,
         Stored{kBinaryValue, {1, 0x14, 0, 0}}},
        {"negative low word", Stored{kBinaryValue, {0xff, 0xff, 0, 0}}, 0, kZero},
        {"short binary fills the low bytes", Stored{kBinaryValue, {1}}, 1,
         Stored{kBinaryValue, {1}}},
        {"binary longer than 4 bytes", Stored{kBinaryValue, {1, 0, 0, 0, 0}}, 0, kZero},
        {"text 2", Stored{kTextValue, bytesOf(std::string("2\0", 2))}, 2,
         Stored{kTextValue, bytesOf("2")}},
        {"text cut at its first NUL",
         Stored{kTextValue, bytesOf(std::string("1\0"
                                                "9",
                                                3))},
         1, Stored{kTextValue, bytesOf("1")}},
        {"text that is no number", Stored{kTextValue, bytesOf(std::string("x1\0", 3))}, 0, kZero},
        {"text with a fraction", Stored{kTextValue, bytesOf(std::string("1.5\0", 4))}, 0, kZero},
        {"other type (4-byte number)", Stored{4, {1, 0, 0, 0}}, 0, kZero},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        if (c.before) {
            store(*c.before);
        }
        EXPECT_EQ(settings().GetValue(), c.position);
        EXPECT_EQ(stored(), c.after);
    }
}

TEST_P(PositionSetting, SetValueStoresPositionsUpToTheEntryCount) {
    struct Case {
        std::int16_t position;
        bool written;
        std::int16_t readBack;
    };
    // A position equal to the entry count is stored but does not survive the next read.
    const std::vector<Case> cases = {
        {0, true, 0}, {2, true, 2}, {3, true, 0}, {4, false, 1}, {-1, false, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.position);
        SetUp();
        store(Stored{kBinaryValue, {1, 0, 0, 0}});
        EXPECT_EQ(settings().SetValue(c.position), c.written);
        if (c.written) {
            EXPECT_EQ(stored(),
                      (Stored{kBinaryValue, {static_cast<std::uint8_t>(c.position), 0, 0, 0}}));
        }
        EXPECT_EQ(settings().GetValue(), c.readBack);
    }
}

TEST_P(PositionSetting, DeleteValueRemovesTheValueAndKeepsTheKey) {
    EXPECT_FALSE(settings().DeleteValue()) << "nothing to delete";
    EXPECT_TRUE(backend_->open()->openKey("Unit")) << "the key was created";
    settings().SetValue(2);
    EXPECT_TRUE(settings().DeleteValue());
    EXPECT_EQ(stored(), std::nullopt);
    EXPECT_EQ(settings().GetValue(), 0);
}

std::vector<BackendFactory> backends() {
    std::vector<BackendFactory> list = {[] { return std::make_unique<FileBackend>(); }};
    for (BackendFactory& native : nativeBackends()) {
        list.push_back(std::move(native));
    }
    return list;
}

INSTANTIATE_TEST_SUITE_P(Backends, PositionSetting, ::testing::ValuesIn(backends()),
                         [](const auto& info) {
                             return info.index == 0 ? std::string("File") : std::string("Registry");
                         });

// The settings file itself: damaged content, names it refuses, no leftovers.
class SettingsFile : public ::testing::Test {
  protected:
    fs::path keyFile() const { return backend_.folder() / "korvex-material" / "Unit"; }
    void writeFile(const std::string& text) {
        fs::create_directories(keyFile().parent_path());
        std::ofstream(keyFile(), std::ios::binary) << text;
    }
    std::string readFile() const {
        std::ifstream in(keyFile(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    FileBackend backend_;
};

TEST_F(SettingsFile, HoldsTheDocumentedFormat) {
    clsRegistry(backend_.open()).SetValue(2);
    EXPECT_EQ(readFile(), "KTSETTINGS 1\n3 02000000 BinaryValue\n");
    const auto files =
        std::distance(fs::directory_iterator(keyFile().parent_path()), fs::directory_iterator());
    EXPECT_EQ(files, 1) << "no temporary file is left behind";
}

TEST_F(SettingsFile, DamagedFilesReadAsNoValue) {
    const std::vector<std::string> damaged = {
        "",
        "KTSETTINGS 2\n3 01000000 BinaryValue\n",
        "KTSETTINGS 1\n3 0100000 BinaryValue\n",
        "KTSETTINGS 1\n3 01zz0000 BinaryValue\n",
        "KTSETTINGS 1\nx 01000000 BinaryValue\n",
        "KTSETTINGS 1\n3 01000000\n",
        "KTSETTINGS 1\n99999999999 01000000 BinaryValue\n",
        std::string("\0\xff\xfe", 3),
    };
    for (const auto& text : damaged) {
        SCOPED_TRACE(text);
        writeFile(text);
        EXPECT_EQ(clsRegistry(backend_.open()).GetValue(), 0);
        EXPECT_EQ(readFile(), "KTSETTINGS 1\n3 00000000 BinaryValue\n");
    }
}

TEST_F(SettingsFile, RefusesKeyAndValueNamesThatLeaveTheFolderOrBreakLines) {
    auto store = backend_.open();
    for (const char* name : {"", ".", "..", "../Unit", "a/b", "a\\b"}) {
        EXPECT_FALSE(store->createKey(name)) << name;
    }
    auto key = store->createKey("Unit");
    EXPECT_FALSE(key->writeValue("two\nlines", kTextValue, bytesOf("x")));
    EXPECT_TRUE(key->writeValue("", kTextValue, bytesOf("default")));
    EXPECT_TRUE(key->writeValue("with blanks ", kBinaryValue, {}));
    std::uint32_t type = 0;
    std::uint32_t size = 9;
    EXPECT_TRUE(key->queryValueInfo("with blanks ", type, size));
    EXPECT_EQ(type, kBinaryValue);
    EXPECT_EQ(size, 0u);
    EXPECT_TRUE(key->queryValueInfo("", type, size));
    EXPECT_EQ(size, 7u);
}

}  // namespace
}  // namespace material
