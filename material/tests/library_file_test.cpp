#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "data/LibraryFile.h"
#include "units/UnitSystems.h"

namespace material {
namespace {

const NumberParser kDot(".");

std::string Line(std::string_view text) {
    return std::string(text) + "\r\n";
}

clsMaterial Make(const std::string& category, const std::string& name) {
    clsMaterial m;
    m.setMaterialType(category + "    ");
    m.setMaterialName(name + "  ");
    m.setMaterialDescription("about " + name);
    return m;
}

std::string Write(std::vector<clsMaterial>& materials) {
    return FormatLibrary(materials, NumberCategories(materials));
}

TEST(LibraryReadTest, FirstLineDecidesAcceptance) {
    EXPECT_TRUE(ReadLibraryText("mattype:Steel\r\n", kDot).accepted);
    const ReadOutcome refused = ReadLibraryText("MATL:X            : X :\r\n", kDot);
    EXPECT_FALSE(refused.accepted);
    EXPECT_EQ(refused.message, "This file is not a Korvex/M material library file!");
    EXPECT_TRUE(refused.content.materials.empty());
}

TEST(LibraryReadTest, HeadersAndLenientLines) {
    const std::string text =
        Line("MATTYPE:") + Line("EX   0 junk before any material 123") +
        Line("MATL:A1           : Alpha                         :first") +
        Line("DENS                                                                  7850") +
        Line("") + Line("   NUXY 0.3") + Line("BOGUS x") +
        Line("EX        x                                                         bad") +
        Line("NUXY                                                                1E999") +
        Line("C (Cp)                                                                460") +
        Line("ENDMATL") + Line("ENDTYPE") + Line("MATTYPE:Metals   ") +
        Line("matl:B2           : Beta") + "EX" + std::string(66, ' ') +
        "2.07E+11";  // no line end at the very end, LF-less
    const ReadOutcome r = ReadLibraryText(text, kDot);
    ASSERT_TRUE(r.accepted);
    ASSERT_EQ(r.content.materials.size(), 2u);
    const clsMaterial& a = r.content.materials[0];
    EXPECT_EQ(a.MaterialType(), "No Category    ");
    EXPECT_EQ(a.MaterialNameCode(), "A1           ");
    EXPECT_EQ(a.MaterialName(), "Alpha  ");
    EXPECT_EQ(a.MaterialDescription(), "first");
    EXPECT_TRUE(a.HasValue(13));
    EXPECT_TRUE(a.HasValue(14));
    EXPECT_FALSE(a.HasValue(0));  // no column of the EX line can be read: no value
    EXPECT_FALSE(a.HasValue(4));  // 1E999 is unreadable; the blank-led line is skipped
    EXPECT_FALSE(a.HasValue(69));
    // Entry values: property lines with a value in order (DENS, BOGUS, C (Cp), ENDTYPE).
    const std::array<double, 11> values = {7850, 0, 460, 0};
    EXPECT_EQ(r.content.entries[0].values, values);
    EXPECT_EQ(r.content.entries[0].categoryKey, "No Category    ");
    EXPECT_EQ(r.content.entries[0].nameText, "Alpha  ");

    const clsMaterial& b = r.content.materials[1];
    EXPECT_EQ(b.MaterialType(), "Metals    ");
    EXPECT_EQ(b.MaterialName(), "Beta  ");
    clsMaterial copy = b;
    copy.setProperty("EX");
    EXPECT_EQ(copy.value(), 2.07e11);
    clsMaterial twin = r.content.twins[1];
    twin.setProperty("EX");
    EXPECT_EQ(twin.value(), 2.07e11);
    EXPECT_EQ(twin.MaterialName(), "Beta  ");
}

TEST(LibraryReadTest, OnlyTheSiColumnCounts) {
    const std::string text =
        Line("MATTYPE:S") + Line("MATL:X            : X :") +
        Line(
            "EX        99999E9  psi               12345E9    Kgf/cm^2            "
            "  207000E6   N/m^2           ");
    const ReadOutcome r = ReadLibraryText(text, NumberParser(","));
    clsMaterial m = r.content.materials.at(0);
    m.setProperty("EX");
    EXPECT_EQ(m.value(), 2.07e11);
}

TEST(LibraryReadTest, AnUnreadableSiValueIsTakenFromTheIpsOrMksColumn) {
    // EX: 1 psi is 6894.757 N/m^2 and 0.070307 Kgf/cm^2.
    struct Case {
        const char* what;
        std::string line;
        std::optional<double> si;  // empty: the property has no value
        bool noted;
    };
    const clsUnitConversion units;
    const double fromIps = units.ChangeUnits(kIps, kSi, 0, 1.0);
    const double fromMks = units.ChangeUnits(kMks, kSi, 0, 7.0307e-2);
    const std::string ips = "EX        1          psi               ";
    const std::string mks = "7.0307E-2  Kgf/cm^2            ";
    const std::vector<Case> cases = {
        {"clean", ips + mks + "   6894.757   N/m^2", 6894.757, false},
        {"clean, a number filling its field", ips + mks + "-12345E+300N/m^2", -1.2345e304, false},
        {"letters in SI", ips + mks + "   abc        N/m^2", fromIps, true},
        {"comma in SI", ips + mks + "   7,85E3     N/m^2", fromIps, true},
        {"overflow in SI", ips + mks + "   1E999      N/m^2", fromIps, true},
        {"too short for SI", ips + mks, fromIps, true},
        {"only MKS readable", "EX        abc        psi               " + mks, fromMks, true},
        {"nothing readable", "EX        abc", std::nullopt, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ReadOutcome r = ReadLibraryText(Line("MATTYPE:S") + Line("MATL:X            : X :") +
                                                  Line(c.line) + Line("ENDMATL") + Line("ENDTYPE"),
                                              kDot);
        ASSERT_TRUE(r.accepted);
        clsMaterial m = r.content.materials.at(0);
        m.setProperty("EX");
        EXPECT_EQ(m.HasValue(m.Index()), c.si.has_value());
        if (c.si) {
            EXPECT_NEAR(m.value(), *c.si, std::abs(*c.si) * 1e-6);
        }
        EXPECT_EQ(r.RepairMessage().empty(), !c.noted) << r.RepairMessage();
        if (c.noted) {
            EXPECT_NE(r.RepairMessage().find("(line 3)"), std::string::npos);
        }
    }
}

TEST(LibraryReadTest, TheRepairNoteNamesTheFirstFewLines) {
    std::string text = Line("MATTYPE:S") + Line("MATL:X            : X :");
    for (int i = 0; i < 7; ++i) {
        text += Line("EX        bad");
    }
    const ReadOutcome r = ReadLibraryText(text, kDot);
    EXPECT_EQ(r.passedOverLines.size(), 7u);
    EXPECT_EQ(r.RepairMessage(),
              "7 values of this library could not be read in the SI column (lines 3, 4, 5, 6, "
              "7, ...). Each was taken from its IPS or MKS column where that could be read, else "
              "the property was left without a value.");
}

TEST(LibraryReadTest, MoreMaterialsThanTheLibraryHoldsAreRefused) {
    std::string text = Line("MATTYPE:Many");
    for (int i = 0; i < kLibraryCapacity; ++i) {
        text += Line("MATL:M            : M:") + Line("ENDMATL");
    }
    EXPECT_TRUE(ReadLibraryText(text, kDot).accepted);
    text += Line("MATL:Extra        : Extra:");
    const ReadOutcome r = ReadLibraryText(text, kDot);
    EXPECT_FALSE(r.accepted);
    EXPECT_NE(r.message.find("1001"), std::string::npos);
    EXPECT_TRUE(r.content.materials.empty());
    EXPECT_TRUE(r.content.entries.empty());
}

TEST(LibraryWriteTest, CategoriesGroupWithoutRegardToCase) {
    std::vector<clsMaterial> list = {Make("Steel", "A"), Make("Wood", "Oak"), Make("  STEEL", "B")};
    const CategoryNumbering n = NumberCategories(list);
    EXPECT_EQ(n.names, (std::vector<std::string>{"Steel", "Wood"}));
    EXPECT_EQ(n.numbers, (std::vector<int>{1, 2, 1}));
    const std::string text = Write(list);
    EXPECT_EQ(text, Line("MATTYPE:Steel") +
                        Line("MATL:A            : A                             :about A") +
                        Line("ENDMATL") +
                        Line("MATL:B            : B                             :about B") +
                        Line("ENDMATL") + Line("ENDTYPE") + Line("MATTYPE:Wood") +
                        Line("MATL:Oak          : Oak                           :about Oak") +
                        Line("ENDMATL") + Line("ENDTYPE"));
}

TEST(LibraryWriteTest, RoundTripKeepsMaterialsOrderAndEveryValue) {
    // Every addressable slot set, in categories A (two materials) and B (one).
    std::vector<clsMaterial> list = {Make("A", std::string(30, 'x')), Make("A", "second"),
                                     Make("B", "third")};
    for (std::size_t m = 0; m < list.size(); ++m) {
        for (PropertySlot s = 0; s <= kLastValueSlot; ++s) {
            if (!clsMaterial::GetNthProperty(s).empty()) {
                list[m].CopyProperty(clsMaterial::GetNthProperty(s), (s + 1) * 1.25e3 * (m + 1));
            }
        }
    }
    list[1].setMaterialDescription(std::string(50, 'd'));
    const std::string first = Write(list);
    ReadOutcome r = ReadLibraryText(first, kDot);
    ASSERT_TRUE(r.accepted);
    ASSERT_EQ(r.content.materials.size(), 3u);
    EXPECT_EQ(r.content.materials[0].MaterialName(), std::string(30, 'x') + "  ");
    EXPECT_EQ(r.content.materials[1].MaterialDescription(), std::string(50, 'd'));
    EXPECT_EQ(r.content.materials[2].MaterialType(), "B    ");
    // The text of one write is read back exactly, and writes the same text again; the
    // user's decimal separator plays no part in either direction.
    EXPECT_EQ(Write(r.content.materials), first);
    ReadOutcome withComma = ReadLibraryText(first, NumberParser(","));
    EXPECT_EQ(Write(withComma.content.materials), first);
    // Values read back equal the written ones in all three systems, to the precision
    // of the file's seven significant digits.
    for (std::size_t m = 0; m < list.size(); ++m) {
        for (PropertySlot s = 0; s <= kLastValueSlot; ++s) {
            const std::string& code = clsMaterial::GetNthProperty(s);
            ASSERT_EQ(r.content.materials[m].HasValue(s), !code.empty()) << s;
            if (code.empty()) {
                continue;
            }
            clsMaterial written = list[m];
            clsMaterial read = r.content.materials[m];
            written.setProperty(code);
            read.setProperty(code);
            for (std::string_view system : {kIps, kSi, kMks}) {
                written.ChangeUnits("SI", system, false);
                read.ChangeUnits("SI", system, false);
                EXPECT_NEAR(read.value(), written.value(), std::abs(written.value()) * 1e-6)
                    << code << " " << system;
                written.ChangeUnits(system, "SI", false);
                read.ChangeUnits(system, "SI", false);
            }
        }
    }
}

// A file system in memory whose writes can fail after a number of chunks.
class FakeFileSystem : public LibraryFileSystem {
  public:
    std::map<std::string, std::string> files;
    int failWriteAt = -1;  // index of the chunk whose write fails
    bool failReplace = false;
    int writes = 0;

    class File : public OutputFile {
      public:
        File(FakeFileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {}
        bool Write(std::string_view bytes, FileError& error) override {
            if (fs_.writes++ == fs_.failWriteAt) {
                fs_.files[path_] += bytes.substr(0, bytes.size() / 2);
                error = {FileErrorKind::Other, "No space left on device"};
                return false;
            }
            fs_.files[path_] += bytes;
            return true;
        }
        bool Commit(FileError&) override { return true; }

      private:
        FakeFileSystem& fs_;
        std::string path_;
    };

    bool ReadAll(const std::string& path, std::string& bytes, FileError& error) override {
        if (!files.count(path)) {
            error = {FileErrorKind::PathNotFound, "gone"};
            return false;
        }
        bytes = files[path];
        return true;
    }
    std::unique_ptr<OutputFile> CreateTemporaryBeside(const std::string& target,
                                                      std::string& tempPath, FileError&) override {
        tempPath = target + ".tmp";
        files[tempPath];
        return std::make_unique<File>(*this, tempPath);
    }
    bool Replace(const std::string& from, const std::string& to, FileError& error) override {
        if (failReplace) {
            error = {FileErrorKind::PermissionDenied, "denied"};
            return false;
        }
        files[to] = files[from];
        files.erase(from);
        return true;
    }
    void Remove(const std::string& path) override { files.erase(path); }
};

std::vector<clsMaterial> BigLibrary() {
    std::vector<clsMaterial> list;
    for (int i = 0; i < 40; ++i) {
        std::string name = "m";
        name += std::to_string(i);  // (operator+ on a literal trips a GCC 12 false warning)
        list.push_back(Make("Cat", name));
        for (PropertySlot s = 0; s < 60; ++s) {
            list.back().CopyProperty(clsMaterial::GetNthProperty(s), 1.0 + s);
        }
    }
    return list;
}

TEST(LibraryWriteTest, FailurePartWayLeavesOldFileUntouched) {
    FakeFileSystem fs;
    fs.files["lib.lib"] = "old library";
    std::vector<clsMaterial> list = BigLibrary();
    fs.failWriteAt = 1;  // the second chunk fails
    const WriteOutcome out = WriteLibrary("lib.lib", list, NumberCategories(list), fs);
    EXPECT_FALSE(out.written);
    EXPECT_EQ(out.error.Message(), "No space left on device");
    EXPECT_EQ(fs.files, (std::map<std::string, std::string>{{"lib.lib", "old library"}}));
    EXPECT_EQ(list.size(), 40u);  // the library in memory stays

    fs.failWriteAt = -1;
    fs.failReplace = true;
    EXPECT_EQ(WriteLibrary("lib.lib", list, NumberCategories(list), fs).error.Message(),
              "Permssion denied (write-protect).");
    EXPECT_EQ(fs.files.size(), 1u);

    fs.failReplace = false;
    EXPECT_TRUE(WriteLibrary("lib.lib", list, NumberCategories(list), fs).written);
    EXPECT_EQ(fs.files.at("lib.lib"), Write(list));
    EXPECT_FALSE(WriteLibrary("", list, NumberCategories(list), fs).written);
}

class ScriptedPrompt : public SaveErrorPrompt {
  public:
    std::vector<Choice> answers;
    std::vector<std::string> shown;
    Choice AskRetryCancel(const std::string& message) override {
        shown.push_back(message);
        const Choice c = answers.front();
        answers.erase(answers.begin());
        return c;
    }
};

TEST(LibraryWriteTest, RetryRepeatsTheWriteAndCancelAbandonsOnlyThisSave) {
    FakeFileSystem fs;
    fs.files["lib.lib"] = "old";
    std::vector<clsMaterial> list = BigLibrary();
    ScriptedPrompt prompt;

    fs.failReplace = true;
    prompt.answers = {SaveErrorPrompt::Choice::Cancel};
    EXPECT_FALSE(
        WriteLibraryWithRetry("lib.lib", list, NumberCategories(list), fs, prompt).written);
    EXPECT_EQ(prompt.shown, (std::vector<std::string>{"Permssion denied (write-protect)."}));
    EXPECT_EQ(fs.files.at("lib.lib"), "old");

    fs.failReplace = false;
    fs.writes = 0;
    fs.failWriteAt = 0;  // the first attempt fails, the retry succeeds
    prompt.answers = {SaveErrorPrompt::Choice::Retry};
    EXPECT_TRUE(WriteLibraryWithRetry("lib.lib", list, NumberCategories(list), fs, prompt).written);
    EXPECT_EQ(fs.files.at("lib.lib"), Write(list));
}

TEST(FileErrorTest, MessagesByKind) {
    const std::pair<FileErrorKind, const char*> cases[] = {
        {FileErrorKind::FileExists, "File already exists."},
        {FileErrorKind::TooManyFiles, "Too many files at the same time."},
        {FileErrorKind::DeviceUnavailable, "Device unavailable."},
        {FileErrorKind::DiskNotReady, "Disk not ready."},
        {FileErrorKind::PathFileAccess, "Path - File access error."},
        {FileErrorKind::PathNotFound, "Path not found."},
        {FileErrorKind::Other, "own text"},
    };
    for (const auto& [kind, text] : cases) {
        EXPECT_EQ((FileError{kind, "own text"}.Message()), text);
    }
}

class PlatformFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("kt_matlib_" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::filesystem::path dir_;
};

TEST_F(PlatformFilesTest, WriteReplacesAndReadsBackWithCrLf) {
    const std::string path = (dir_ / "korwkmat.lib").string();
    { std::ofstream(path, std::ios::binary) << "old"; }
    std::vector<clsMaterial> list = BigLibrary();
    LibraryFileSystem& fs = PlatformFileSystem();
    ASSERT_TRUE(WriteLibrary(path, list, NumberCategories(list), fs).written);
    std::string bytes;
    FileError error;
    ASSERT_TRUE(fs.ReadAll(path, bytes, error));
    EXPECT_EQ(bytes, Write(list));
    EXPECT_EQ(bytes.substr(0, 14), "MATTYPE:Cat\r\nM");
    // Only the library is left in the folder: the temporary file was renamed.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 1);
    const ReadOutcome r = ReadLibraryFile(path, kDot, fs);
    ASSERT_TRUE(r.accepted);
    EXPECT_EQ(r.content.materials.size(), 40u);
}

TEST_F(PlatformFilesTest, MissingFolderIsReportedAndNothingIsLeft) {
    const std::string path = (dir_ / "no such folder" / "x.lib").string();
    std::vector<clsMaterial> list = BigLibrary();
    const WriteOutcome out = WriteLibrary(path, list, NumberCategories(list), PlatformFileSystem());
    EXPECT_FALSE(out.written);
    EXPECT_EQ(out.error.Message(), "Path not found.");
    const ReadOutcome r = ReadLibraryFile(path, kDot, PlatformFileSystem());
    EXPECT_FALSE(r.accepted);
    EXPECT_EQ(r.message, "Path not found.");
}

TEST_F(PlatformFilesTest, WriteProtectedFileIsRefusedAndKeptAsItWas) {
    const std::string path = (dir_ / "korwkmat.lib").string();
    { std::ofstream(path, std::ios::binary) << "old"; }
    namespace fs = std::filesystem;
    fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    std::vector<clsMaterial> list = BigLibrary();
    const WriteOutcome out = WriteLibrary(path, list, NumberCategories(list), PlatformFileSystem());
    fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);
    EXPECT_FALSE(out.written);
    EXPECT_EQ(out.error.Message(), "Permssion denied (write-protect).");
    std::string bytes;
    FileError error;
    ASSERT_TRUE(PlatformFileSystem().ReadAll(path, bytes, error));
    EXPECT_TRUE(bytes == "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), 1);
}

}  // namespace
}  // namespace material
