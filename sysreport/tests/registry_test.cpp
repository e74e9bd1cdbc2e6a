// The registry reader's status and type rules. The rule table runs against the
// same fixture on both legs: Wine's files on Linux, the real registry on Windows.
#include <gtest/gtest.h>

#include <filesystem>

#include "CaseRegistry.h"
#include "Fakes.h"
#include "FilePaths.h"
#include "ReportWriter.h"
#include "TestData.h"
#include "WineRegistry.h"

namespace sysreport::testing {
namespace {

constexpr const char* kTypes = "Software\\KtTest\\Types";

class RegistryRules : public ::testing::Test {
  protected:
    RegistryRules()
        : registry_(testDataPath("registry-rules"),
                    {"Software\\KtTest", "Software\\Classes\\KtTest.Document"}),
          ini_(makeIniFileReader()),
          reader_(registry_.backend(), *ini_) {}

    CaseRegistry registry_;
    std::unique_ptr<IniFileReader> ini_;
    RegistryReader reader_;
};

struct QueryCase {
    const char* root;
    const char* key;
    const char* name;
    const char* type;
    std::int32_t status;
    RegValue value;  // expected; the default is the text "dflt"
};

TEST_F(RegistryRules, StatusAndValueFollowTheTypeLetter) {
    const std::string dflt = "dflt";
    const QueryCase cases[] = {
        // Text reads: the data less its last character.
        {"HKLM", kTypes, "Text", "S", 0, std::string("plain text")},
        {"hklm", kTypes, "text", "s", 0, std::string("plain text")},
        {"HKLM", kTypes, "Empty", "S", 0, std::string()},
        {"HKLM", kTypes, "", "S", 0, std::string("the default")},
        {"HKLM", kTypes, "Escaped", "S", 0,
         std::string("quote \" backslash \\ tab\tend caf\xC3\xA9")},
        {"HKLM", kTypes, "Expand", "S", 0, std::string("%TEMP%\\x")},
        {"HKLM", kTypes, "ExpandHex", "S", 0, std::string("%A%")},
        {"HKLM", kTypes, "Multi", "S", 0, std::string("one\0two\0", 8)},
        // A plain string ends at its first NUL, as Windows reads it.
        {"HKLM", kTypes, "StrayNul", "S", 0, std::string("before")},
        // Other types read as text give their raw bytes less the last one.
        {"HKLM", kTypes, "Digits", "S", 0, std::string("234")},
        {"HKLM", kTypes, "Binary", "S", 0, std::string("ABCDEFGHIJKLMNOPQRSTUVWXY")},
        {"HKLM", kTypes, "Nothing", "S", 0, dflt},
        // Fixed-size reads fail with "more data" when the value is larger.
        {"HKLM", kTypes, "Number", "D", 0, std::int32_t{42}},
        {"HKLM", kTypes, "Negative", "d", 0, std::int32_t{-1}},
        {"HKLM", kTypes, "Text", "D", 234, dflt},
        {"HKLM", kTypes, "Long", "D", 234, dflt},
        {"HKLM", kTypes, "Short", "B", 0, true},
        {"HKLM", kTypes, "Zeroes", "B", 0, false},
        {"HKLM", kTypes, "Number", "B", 234, dflt},
        // Other letters only open the key.
        {"HKLM", kTypes, "Text", "X", 0, dflt},
        {"HKLM", kTypes, "Missing", "", 0, dflt},
        // Missing keys and values, unknown roots.
        {"HKLM", kTypes, "Missing", "S", 2, dflt},
        {"HKLM", "Software\\KtTest\\Absent", "Text", "S", 2, dflt},
        {"HKCU", kTypes, "Text", "S", 2, dflt},
        {"HKXX", kTypes, "Text", "S", 99, dflt},
        {"", kTypes, "Text", "S", 99, dflt},
        // Keys without regard to case, trailing backslash, classes root.
        {"HKLM", "SOFTWARE\\kttest\\TYPES\\", "TEXT", "S", 0, std::string("plain text")},
        {"HKCR", "KtTest.Document", "", "S", 0, std::string("KtTest document")},
    };
    for (const QueryCase& c : cases) {
        RegValue value;
        const std::int32_t status = reader_.query(c.root, c.key, c.name, c.type, dflt, value);
        EXPECT_EQ(status, c.status) << c.root << " " << c.key << " : " << c.name << " " << c.type;
        EXPECT_EQ(value, c.value) << c.root << " " << c.key << " : " << c.name << " " << c.type;
    }
}

TEST_F(RegistryRules, KeysExistWhenListedOrWhenAKeyBelowIsListed) {
    EXPECT_EQ(reader_.existenceTest("HKLM", "Software\\KtTest\\Deep\\Below\\Leaf"), 0);
    EXPECT_EQ(reader_.existenceTest("HKLM", "Software\\KtTest\\Deep\\"), 0);
    EXPECT_EQ(reader_.existenceTest("HKLM", "Software\\KtTest\\Dee"), 2);
    EXPECT_EQ(reader_.existenceTest("HKLM", "Software\\KtTest\\Deep\\Below\\Leaf\\More"), 2);
}

TEST_F(RegistryRules, InitialisationFileModeReturnsLengthOrNumber) {
    const std::string ini = testDataPath("registry-rules/settings.ini");
    RegValue value;
    EXPECT_EQ(reader_.query(ini, "Report", "Title", "S", std::string("none"), value), 12);
    EXPECT_EQ(value, RegValue(std::string("Support Info")));
    EXPECT_EQ(reader_.query(ini, "report", "MISSING", "S", std::string("none"), value), 4);
    EXPECT_EQ(value, RegValue(std::string("none")));
    EXPECT_EQ(reader_.query(ini, "Report", "Count", "D", std::string("none"), value), 17);
    EXPECT_EQ(value, RegValue(std::string("none")));
    EXPECT_EQ(reader_.query(ini, "Other", "Count", "D", std::string("none"), value), 0);
    EXPECT_EQ(reader_.query(ini, "Report", "Long", "S", std::string(), value), 254);
}

TEST(WineRegistryFile, MissingPrefixHasNoKeysButRootsOpen) {
    WineRegistryBackend backend(testDataPath("no-such-prefix"));
    EXPECT_EQ(backend.openKey(RegistryRoot::LocalMachine, "Software"), 2);
    EXPECT_EQ(backend.openKey(RegistryRoot::LocalMachine, ""), 0);
    EXPECT_EQ(backend.readValue(RegistryRoot::CurrentUser, "Software", "x").status, 2);
    EXPECT_EQ(backend.openKey(RegistryRoot::Users, "Software"), 2);
}

// A prefix folder whose files the test writes while a reader holds it.
class ChangingPrefix : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("kt-prefix-" +
                   std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }
    std::string folder() const { return pathToUtf8(folder_); }

    std::filesystem::path folder_;
};

TEST_F(ChangingPrefix, EveryReportReadsTheRegistryAsItIsNow) {
    WineRegistryBackend backend(folder());
    auto ini = makeIniFileReader();
    RegistryReader reader(backend, *ini);
    FakeSystemFacts facts;
    FakeClock clock;
    FakeCadHost host;
    RecordingPrompts prompts;
    ReportWriter writer({facts, clock, reader, host, prompts}, "C:\\", ScreenFacts{});
    const std::string heading = "> Plandry Simulation</h3>";

    const std::string before = writer.build();
    EXPECT_EQ(before.find(heading), std::string::npos);
    EXPECT_NE(before.find("REGISTRY:                no Wine prefix found in " + folder()),
              std::string::npos);

    // The prefix is made and a product installed while the program runs.
    writeBytes(folder() + "/user.reg", readBytes(testDataPath("current-user-only/user.reg")));
    const std::string after = writer.build();
    EXPECT_NE(after.find(heading), std::string::npos);
    EXPECT_NE(after.find("REGISTRY:                Wine prefix " + folder() + "\r\n"),
              std::string::npos);
}

TEST(WineRegistryFile, ParsesOctalAndEscapedKeyNames) {
    const auto file = WineRegistryFile::parse(
        "WINE REGISTRY Version 2\n"
        "[Software\\\\A\\]B\\\\C] 1\n"
        "\"Octal\"=\"x\\101\\0y\"\r\n"
        "\"Wide\"=\"\\x263a\"\n");
    EXPECT_TRUE(file.hasKey("software\\a]b\\c"));
    const RawRegistryValue octal = file.value("Software\\A]B\\C", "octal");
    EXPECT_EQ(octal.data, (std::vector<std::uint8_t>{'x', 0, 'A', 0, 0, 0, 'y', 0, 0, 0}));
    EXPECT_EQ(file.value("Software\\A]B\\C", "Wide").data,
              (std::vector<std::uint8_t>{0x3a, 0x26, 0, 0}));
}

struct HexCase {
    const char* data;  // after "name="
    std::uint32_t type;
    std::vector<std::uint8_t> bytes;
};

// A byte list item is one byte, leading zeros allowed. A longer number (once an int
// overflow on long runs) leaves the value as the Wine server loads it: there, but with
// no type and no data. The lines after it still read.
TEST(WineRegistryFile, HexItemsLargerThanAByteLeaveAnEmptyUntypedValue) {
    const HexCase cases[] = {
        {"hex:0123456789abcdef0123456789abcdef", kRegNone, {}},
        {"hex:01,0123456789abcdef,02", kRegNone, {}},
        {"hex(3):1ff", kRegNone, {}},
        {"hex:0a,\\\n  100", kRegNone, {}},
        {"hex:001,0ff,ab", kRegBinary, {0x01, 0xFF, 0xAB}},
        {"hex(4):0A,\\\n  Ff", 4, {0x0A, 0xFF}},
    };
    for (const HexCase& c : cases) {
        const std::string text =
            std::string("[Software\\\\Hex]\n\"Bytes\"=") + c.data + "\n\"After\"=dword:7\n";
        const auto file = WineRegistryFile::parse(text);
        const RawRegistryValue value = file.value("Software\\Hex", "Bytes");
        EXPECT_EQ(value.status, kStatusSuccess) << c.data;
        EXPECT_EQ(value.type, c.type) << c.data;
        EXPECT_EQ(value.data, c.bytes) << c.data;
        EXPECT_EQ(file.value("Software\\Hex", "After").data,
                  (std::vector<std::uint8_t>{7, 0, 0, 0}))
            << c.data;
    }
}

}  // namespace
}  // namespace sysreport::testing
